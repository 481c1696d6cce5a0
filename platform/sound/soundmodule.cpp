// SPDX-License-Identifier: GPL-3.0-or-later
// The sound module: Qt Multimedia and everything that uses it.

#include "platform/sound/soundentry.h"
#include "platform/sound/switchsoundplayer.h"

#include <type_traits>

extern "C" Q_DECL_EXPORT SoundPlayer* virtalabCreateSoundPlayer(const QString& folder,
                                                                const std::function<void()>& beep) {
    return new SwitchSoundPlayer(folder, beep);
}

static_assert(std::is_same_v<decltype(&virtalabCreateSoundPlayer), modules::CreateSoundPlayer>);
