// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/switchsounds.h"

#include <QtGlobal>

#if defined(Q_OS_WIN)
#include "platform/systemsoundplayer.h"
#elif defined(Q_OS_WASM)
#include "platform/websoundplayer.h"
#else
#include "platform/modulesoundplayer.h"
#endif

std::unique_ptr<SoundPlayer> makeSwitchSounds(const QString& folder, std::function<void()> beep) {
#if defined(Q_OS_WIN)
    // winmm is part of the system: nothing to load, no Qt Multimedia.
    return std::make_unique<SystemSoundPlayer>(folder, std::move(beep));
#elif defined(Q_OS_WASM)
    // The browser has no system beep; the player sounds its own.
    Q_UNUSED(beep)
    return std::make_unique<WebSoundPlayer>(folder);
#else
    return std::make_unique<ModuleSoundPlayer>(folder, std::move(beep));
#endif
}
