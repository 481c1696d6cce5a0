// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/sound/soundplayer.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

class QSoundEffect;

// The program's one sound channel: a new sound stops one still playing. The
// file is looked up beside the executable and read afresh each time; a
// missing or unplayable file gives the system's default beep instead. On a
// machine without an audio device nothing is played, and that is said once.
class SwitchSoundPlayer : public QObject, public SoundPlayer {
    Q_OBJECT

public:
    // folder: where the sounds are (normally the executable's folder);
    // beep: the fallback signal.
    SwitchSoundPlayer(QString folder, std::function<void()> beep, QObject* parent = nullptr);

    void play(const QString& name) override;

private:
    void onStatusChanged();

    QString m_folder;
    std::function<void()> m_beep;
    QSoundEffect* m_effect = nullptr;
    bool m_silenceTold = false;
};
