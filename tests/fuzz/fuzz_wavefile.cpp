// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer entry for the WAV check: whatever it lets through for Qt, Qt's
// own WAV reader, driven the way Qt's sample cache drives it, reads to the
// end as whole frames without waiting for more, in a format Qt's output can
// play. The check for Windows' player reads the same inputs, under the
// sanitizers.

#include "platform/sound/wavefile.h"

#include <QAudioFormat>
#include <QByteArray>
#include <QIODevice>
#include <QWaveDecoder>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void broken(const char* promise) {
    std::fprintf(stderr, "WAV check promise broken: %s\n", promise);
    std::abort();
}

// What the sample cache reads the checked bytes through (the reply to a data
// URL, like that to a local file): a sequential device with the whole sound
// available at once, which says so once with readyRead.
class Reply : public QIODevice {
public:
    explicit Reply(const QByteArray& bytes) : m_bytes(bytes) { open(QIODevice::ReadOnly); }

    bool isSequential() const override { return true; }
    qint64 size() const override { return m_bytes.size(); }
    qint64 bytesAvailable() const override {
        return QIODevice::bytesAvailable() + m_bytes.size() - m_at;
    }

protected:
    qint64 readData(char* data, qint64 most) override {
        const qint64 count = qMin(most, m_bytes.size() - m_at);
        std::memcpy(data, m_bytes.constData() + m_at, std::size_t(count));
        m_at += count;
        return count == 0 && bytesAvailable() == 0 ? -1 : count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_at = 0;
};

// The sample cache's part: once the format is known, one read of the whole
// sound; then one more read for each readyRead, of which such a reply gives one.
void readLikeTheSampleCache(const QByteArray& bytes) {
    Reply reply(bytes);
    QWaveDecoder decoder(&reply);
    QByteArray sound;
    qint64 length = 0;
    bool known = false;
    bool failed = false;
    auto readSome = [&](qint64 most) {
        const qint64 got = decoder.read(sound.data() + length, most);
        length += qMax(got, qint64(0));
    };
    QObject::connect(&decoder, &QWaveDecoder::formatKnown, &decoder, [&] {
        known = true;
        sound.resize(decoder.size());
        readSome(decoder.size());
    });
    QObject::connect(&decoder, &QIODevice::readyRead, &decoder, [&] {
        if (known && length < decoder.size()) {
            readSome(qMin(decoder.bytesAvailable(), decoder.size() - length));
        }
    });
    QObject::connect(&decoder, &QWaveDecoder::parsingError, &decoder, [&] { failed = true; });
    decoder.open(QIODevice::ReadOnly);
    emit reply.readyRead();

    if (failed || !known) {
        broken("Qt reads the format");
    }
    if (length != decoder.size()) {
        broken("Qt reads every sample without waiting for more");
    }
    const QAudioFormat format = decoder.audioFormat();
    if (!format.isValid() || sound.isEmpty() || sound.size() % format.bytesPerFrame() != 0) {
        broken("a valid format and whole frames");
    }
    // Qt's PulseAudio output divides by the bytes of its 20 ms period.
    if (format.bytesForDuration(20000) == 0) {
        broken("a frame in each period of Qt's audio output");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (isPlayableWave(bytes, WavePlayer::Qt)) {
        readLikeTheSampleCache(bytes);
    }
    isPlayableWave(bytes, WavePlayer::Windows);
    return 0;
}
