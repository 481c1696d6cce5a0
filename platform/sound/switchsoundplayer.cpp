// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sound/switchsoundplayer.h"

#include "platform/sound/wavefile.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

SwitchSoundPlayer::SwitchSoundPlayer(QString folder, std::function<void()> beep, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)), m_beep(std::move(beep)) {}

void SwitchSoundPlayer::play(const QString& name) {
    // A new sound stops the one still playing, and gets an effect of its
    // own: Qt 6.8's effect, given a new source while word that its last one
    // was read is still on its way, takes that word for the new one's and
    // crashes on a sound not read yet. A switch that plays two or three
    // sounds at once did that now and then.
    delete m_effect;
    m_effect = nullptr;
    const QByteArray sound = readPlayableWave(m_folder + name, WavePlayer::Qt);
    if (sound.isEmpty()) {
        m_beep();
        return;
    }
    // A machine without sound plays nothing, whatever the file: Qt 6.8
    // reports every sound as an error there, which is not the file's fault.
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        if (!m_silenceTold) {
            m_silenceTold = true;
            qWarning("No audio device: the switch sounds are not played");
        }
        return;
    }
    // The audio output is opened on the first switch, not at start-up: it is
    // the slowest part of starting the program.
    m_effect = new QSoundEffect(this);
    connect(m_effect, &QSoundEffect::statusChanged, this, &SwitchSoundPlayer::onStatusChanged);
    // Qt is handed the very bytes that were checked, not the file's name: a
    // file rewritten between the check and Qt's own read could otherwise
    // still reach the wait that never ends.
    m_effect->setSource(
        QUrl(QStringLiteral("data:audio/wav;base64,") + QString::fromLatin1(sound.toBase64())));
    m_effect->play();
}

void SwitchSoundPlayer::onStatusChanged() {
    // Decoding happens after play() has returned; a damaged file shows up here.
    if (m_effect->status() == QSoundEffect::Error && !m_effect->source().isEmpty()) {
        m_effect->setSource(QUrl());
        m_beep();
    }
}
