// SPDX-License-Identifier: GPL-3.0-or-later
// The sound module: Qt Multimedia and everything that uses it.

#include "platform/sound/soundentry.h"
#include "platform/sound/switchsoundplayer.h"

#include <QLoggingCategory>

#include <type_traits>

namespace {

// Qt 6.8's FFmpeg backend, on its first use, tells of itself and of every
// video accelerator it finds, trying each, and the accelerators' own
// libraries complain of missing drivers. The program plays WAV samples
// only: it asks for none, and hears nothing of it. The user's own settings
// (QT_LOGGING_RULES, the same variables) still win.
void quietenBackend() {
    for (const char* name :
         {"QT_FFMPEG_DECODING_HW_DEVICE_TYPES", "QT_FFMPEG_ENCODING_HW_DEVICE_TYPES"}) {
        if (!qEnvironmentVariableIsSet(name)) {
            qputenv(name, ",");
        }
    }
    QLoggingCategory::setFilterRules(QStringLiteral("qt.multimedia.ffmpeg*.info=false"));
}

} // namespace

extern "C" Q_DECL_EXPORT SoundPlayer* virtalabCreateSoundPlayer(const QString& folder,
                                                                const std::function<void()>& beep) {
    quietenBackend();
    return new SwitchSoundPlayer(folder, beep);
}

static_assert(std::is_same_v<decltype(&virtalabCreateSoundPlayer), modules::CreateSoundPlayer>);
