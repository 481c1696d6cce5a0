// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/soundplayer.h"

#include <QString>
#include <functional>

// Switch sounds through Windows' own player (winmm), which has one channel:
// a new sound stops one still playing. The file is checked first, since one
// the system cannot play would give its default sound with no word to us;
// such a file gets the beep instead.
class SystemSoundPlayer : public SoundPlayer {
public:
    // folder: where the sounds are (normally the executable's folder);
    // beep: the fallback signal.
    SystemSoundPlayer(QString folder, std::function<void()> beep);

    void play(const QString& name) override;

private:
    QString m_folder;
    std::function<void()> m_beep;
};
