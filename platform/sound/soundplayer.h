// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Plays a switch sound by its designed name ("/whip.wav"). Injected into the
// model so that tests can record what was asked for and when.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString& name) = 0;
};
