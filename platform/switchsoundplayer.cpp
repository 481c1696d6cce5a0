#include "platform/switchsoundplayer.h"

#include "platform/wavefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSoundEffect>
#include <QUrl>

namespace {

// Far more than any switch sound; a larger file is not read at all.
constexpr qint64 largestSound = 16 << 20;

} // namespace

SwitchSoundPlayer::SwitchSoundPlayer(QString folder, std::function<void()> beep, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)), m_beep(std::move(beep)),
      m_copies(QDir::tempPath() + QStringLiteral("/virtalab-sounds-XXXXXX")) {}

void SwitchSoundPlayer::play(const QString& name) {
    // The audio output is opened on the first switch, not at start-up: it is
    // the slowest part of starting the program.
    if (!m_effect) {
        m_effect = new QSoundEffect(this);
        connect(m_effect, &QSoundEffect::statusChanged, this, &SwitchSoundPlayer::onStatusChanged);
    }
    m_effect->stop();
    m_effect->setSource(QUrl());
    const QString copy = playableCopy(m_folder + name);
    if (copy.isEmpty()) {
        m_beep();
        return;
    }
    m_effect->setSource(QUrl::fromLocalFile(copy));
    // Changing the source waited until Qt had done with the previous copy.
    if (!m_lastCopy.isEmpty()) {
        QFile::remove(m_lastCopy);
    }
    m_lastCopy = copy;
    m_effect->play();
}

// A fresh copy of the file for Qt to play, under a name never used before,
// so that the same sound asked for again is read again; empty when the file
// cannot be played.
QString SwitchSoundPlayer::playableCopy(const QString& path) {
    QFile file(path);
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.read(largestSound + 1);
    if (bytes.size() > largestSound || !isPlayableWave(bytes) || !m_copies.isValid()) {
        return {};
    }
    QSaveFile copy(m_copies.filePath(QStringLiteral("%1.wav").arg(++m_copiesMade)));
    if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size() || !copy.commit()) {
        return {};
    }
    return copy.fileName();
}

void SwitchSoundPlayer::onStatusChanged() {
    // Decoding happens after play() has returned; a damaged file shows up here.
    if (m_effect->status() == QSoundEffect::Error && !m_effect->source().isEmpty()) {
        m_effect->setSource(QUrl());
        m_beep();
    }
}
