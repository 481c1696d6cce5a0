// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/modules/programmodule.h"
#include "platform/sound/soundplayer.h"

#include <functional>
#include <memory>

// The switch-sound player from the sound module, loaded on the first sound.
// Without the module every sound is the default beep, as for a missing file,
// and the sequence goes on.
class ModuleSoundPlayer : public SoundPlayer {
public:
    // folder: where the module and the sounds lie, normally the executable's
    // folder; beep: the fallback signal.
    ModuleSoundPlayer(const QString& folder, std::function<void()> beep);
    ~ModuleSoundPlayer() override;

    void play(const QString& name) override;

    // Why the module could not be loaded; empty while nothing went wrong.
    QString error() const { return m_error; }

private:
    QString m_folder;
    std::function<void()> m_beep;
    ProgramModule m_module;
    std::unique_ptr<SoundPlayer> m_player;
    bool m_loadTried = false;
    QString m_error;
};
