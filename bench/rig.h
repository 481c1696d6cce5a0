// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panel/designed.h"
#include "platform/printing/moduleprinting.h"
#include "platform/sound/soundplayer.h"

#include <QString>
#include <memory>

class MainWindow;
class Panel;

// A trace setting as a student makes it on the four sliders.
struct TraceSetting {
    int timePerDivision;
    int frequency;
    int gain;
    int voltage;
};

// The sliders as the program starts.
inline constexpr TraceSetting initialSetting{designed::sl6.start, designed::sl4.start,
                                             designed::sl5.start, designed::sl3.start};

// The program's real main window with both units switched on and the sweep
// along X and Y chosen, driven only through its own controls, so that the
// benchmarks time the code a student's clicks run.
class Rig {
public:
    Rig();
    ~Rig();
    Rig(const Rig&) = delete;
    Rig& operator=(const Rig&) = delete;

    MainWindow& window() const { return *m_window; }
    Panel& panel() const;

    // 0 sawtooth, 1 sine, 2 rectangle.
    void chooseSignal(int index);
    void set(const TraceSetting& setting);

    // Empty while nothing has gone wrong; otherwise the handler's error.
    const QString& error() const { return m_error; }

    // Delivers the pending repaints, so that none lands inside a timed loop.
    static void settle();

private:
    class Silence : public SoundPlayer {
    public:
        void play(const QString&) override {}
    };

    Silence m_silence;
    // Never used: the benchmarks do not print.
    ModulePrinting m_printing{QString()};
    QString m_error;
    std::unique_ptr<MainWindow> m_window;
};
