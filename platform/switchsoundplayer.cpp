#include "platform/switchsoundplayer.h"

#include "platform/wavefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace {

// Far more than any switch sound; a larger file is not read at all.
constexpr qint64 largestSound = 16 << 20;

} // namespace

SwitchSoundPlayer::SwitchSoundPlayer(QString folder, std::function<void()> beep, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)), m_beep(std::move(beep)) {}

void SwitchSoundPlayer::play(const QString& name) {
    // The audio output is opened on the first switch, not at start-up: it is
    // the slowest part of starting the program.
    if (!m_effect) {
        m_effect = new QSoundEffect(this);
        connect(m_effect, &QSoundEffect::statusChanged, this, &SwitchSoundPlayer::onStatusChanged);
    }
    m_effect->stop();
    // Clearing the source first makes the effect reopen the file even when
    // the same sound is asked for again.
    m_effect->setSource(QUrl());
    QFile file(m_folder + name);
    if (!QFileInfo(file).isFile() || file.size() > largestSound ||
        !file.open(QIODevice::ReadOnly) || !isPlayableWave(file.readAll())) {
        m_beep();
        return;
    }
    m_effect->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    m_effect->play();
}

void SwitchSoundPlayer::onStatusChanged() {
    // Decoding happens after play() has returned; a damaged file shows up here.
    if (m_effect->status() == QSoundEffect::Error && !m_effect->source().isEmpty()) {
        m_effect->setSource(QUrl());
        m_beep();
    }
}
