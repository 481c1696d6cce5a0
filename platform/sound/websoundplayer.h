// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/soundplayer.h"

#include <QString>

// The switch sounds in the browser: the file from the program's folder
// (packed into the site, unpacked into the program's file system) is
// checked, and its bytes go to the browser's audio. One channel: a new sound
// stops the one still playing. A file that fails the check, or that the
// browser cannot decode, gives a short beep instead.
class WebSoundPlayer : public SoundPlayer {
public:
    explicit WebSoundPlayer(QString folder);

    void play(const QString& name) override;

private:
    QString m_folder;
};
