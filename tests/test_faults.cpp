// SPDX-License-Identifier: GPL-3.0-or-later
// Faults from outside the program: damaged or missing switch sounds, print
// targets that cannot be written, no printer, a cancelled printer dialog, a
// damaged picture file. Each is survived: every other step is done, the user
// is told in Russian where a message is possible, and nothing crashes.

#include "app/mainwindow.h"
#include "modelrig.h"
#include "platform/pictures/pictureloader.h"
#include "platform/printing/moduleprinting.h"
#include "platform/printing/printdialog.h"
#include "platform/printing/printerprinting.h"
#include "platform/sound/wavefile.h"

#include <QAbstractPrintDialog>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QVersionNumber>
#include <QtEndian>

#include <cstdio>
#include <functional>
#include <map>

// The Windows build runs the sound faults against Windows' own player, and
// the picture faults; the rest needs Linux or Qt's own printer dialog.
#ifdef Q_OS_WIN
#include "platform/sound/systemsoundplayer.h"

#include <windows.h>
// After windows.h, which it relies on.
#include <mmsystem.h>

using RealSoundPlayer = SystemSoundPlayer;
#else
#include "platform/sound/switchsoundplayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using RealSoundPlayer = SwitchSoundPlayer;
#endif

namespace {

const QString whip = QStringLiteral("whip.wav");
const QString genOn = QStringLiteral("Sldwst2.wav");
const QString genOff = QStringLiteral("Sldwst.wav");

// The state of a switch sound beside the executable.
enum class Sound { Good, Missing, Empty, Garbage, CutInHeader, CutInSamples, Compressed, Folder };

QByteArray asset(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray soundBytes(const QString& name, Sound state) {
    const QByteArray good = asset(QStringLiteral(VIRTALAB_ASSETS "/") + name);
    switch (state) {
    case Sound::Good:
        return good;
    case Sound::Garbage: {
        QByteArray bytes;
        for (int i = 0; i < 4000; ++i) {
            bytes.append(char((i * 7919) >> 3));
        }
        return bytes;
    }
    case Sound::CutInHeader:
        return good.left(16);
    case Sound::CutInSamples:
        return good.left(good.size() / 2);
    case Sound::Compressed: {
        QByteArray bytes = good;
        bytes[20] = 0x55; // MPEG layer 3
        return bytes;
    }
    default:
        return {};
    }
}

// Puts one switch sound into the folder in the given state.
bool placeSound(const QDir& folder, const QString& name, Sound state) {
    if (state == Sound::Missing) {
        return true;
    }
    if (state == Sound::Folder) {
        return folder.mkdir(name);
    }
    const QByteArray bytes = soundBytes(name, state);
    if (state != Sound::Empty && bytes.isEmpty()) {
        return false;
    }
    QFile f(folder.filePath(name));
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray le16(quint16 v) {
    v = qToLittleEndian(v);
    return QByteArray(reinterpret_cast<const char*>(&v), 2);
}

QByteArray le32(quint32 v) {
    v = qToLittleEndian(v);
    return QByteArray(reinterpret_cast<const char*>(&v), 4);
}

QByteArray chunk(const char* id, const QByteArray& body) {
    return id + le32(quint32(body.size())) + body + QByteArray(body.size() % 2, '\0');
}

// A WAV file of any layout: the format chunk, then the samples, with other
// chunks before, between or after them.
struct Wave {
    quint16 tag = 1;
    quint16 channels = 1;
    quint16 bits = 16;
    quint32 rate = 22050;
    int block = -1;             // one sample for each channel unless set
    quint32 bytesPerSecond = 0; // rate × block unless set
    QByteArray samples = QByteArray(400, '\x11');
    QByteArray formatTail{}, beforeFormat{}, beforeSamples{}, afterSamples{};

    QByteArray bytes() const {
        const quint16 align = block >= 0 ? quint16(block) : quint16(channels * bits / 8);
        const quint32 perSecond = bytesPerSecond > 0 ? bytesPerSecond : rate * align;
        const QByteArray format = le16(tag) + le16(channels) + le32(rate) + le32(perSecond) +
                                  le16(align) + le16(bits) + formatTail;
        const QByteArray body = "WAVE" + beforeFormat + chunk("fmt ", format) + beforeSamples +
                                chunk("data", samples) + afterSamples;
        return "RIFF" + le32(quint32(body.size())) + body;
    }
};

// WAVE_FORMAT_EXTENSIBLE's tail: cbSize, valid bits, channel mask and the
// sub-format GUID of the given format tag.
QByteArray extensible(quint16 validBits, quint32 mask, quint16 subFormat) {
    return le16(22) + le16(validBits) + le32(mask) + le32(subFormat) + le16(0) + le16(0x10) +
           QByteArray("\x80\x00\x00\xaa\x00\x38\x9b\x71", 8);
}

// Microsoft ADPCM's tail: cbSize, samples a block, and the coefficient pairs.
QByteArray msAdpcm(quint16 samplesPerBlock, qint16 firstCoefficient = 256) {
    QByteArray tail = le16(32) + le16(samplesPerBlock) + le16(7);
    for (qint16 c : {firstCoefficient, qint16(0), qint16(512), qint16(-256), qint16(0), qint16(0),
                     qint16(192), qint16(64), qint16(240), qint16(0), qint16(460), qint16(-208),
                     qint16(392), qint16(-232)}) {
        tail += le16(quint16(c));
    }
    return tail;
}

#ifndef Q_OS_WIN
// The odd layouts a file beside the program may have, played or not.
QList<std::pair<QString, QByteArray>> oddWaves() {
    QList<std::pair<QString, QByteArray>> waves;
    const QByteArray whipSamples = soundBytes(whip, Sound::Good).mid(44);
    for (quint16 channels : {1, 2, 3, 5, 7, 8, 9, 40}) {
        for (quint16 bits : {8, 16, 24, 32}) {
            for (quint32 rate : {1u, 49u, 50u, 8000u, 384000u, 2147483647u, 4294967295u}) {
                Wave wave{.channels = channels, .bits = bits, .rate = rate};
                const int block = channels * bits / 8;
                wave.samples = whipSamples.left(block * 80);
                const QString name =
                    QStringLiteral("%1 x %2-bit at %3 Hz").arg(channels).arg(bits).arg(rate);
                waves.append({name, wave.bytes()});
                if (block > 1) {
                    wave.samples.chop(1);
                    waves.append({name + ", a byte short of whole frames", wave.bytes()});
                }
            }
        }
    }
    const char* places[] = {"before the format", "before the samples", "after the samples"};
    for (int size : {0, 4, 5, 16376, 16378, 40000}) {
        for (int place = 0; place < 3; ++place) {
            Wave wave;
            const QByteArray list = chunk("LIST", QByteArray(size, 'L'));
            (place == 0   ? wave.beforeFormat
             : place == 1 ? wave.beforeSamples
                          : wave.afterSamples) = list;
            waves.append(
                {QStringLiteral("%1-byte chunk %2").arg(size).arg(places[place]), wave.bytes()});
        }
    }
    for (int extra : {2, 24, 16384, 16386}) {
        waves.append({QStringLiteral("format chunk %1 bytes longer").arg(extra),
                      Wave{.formatTail = QByteArray(extra, '\0')}.bytes()});
    }
    waves.append({"format tag 0", Wave{.tag = 0}.bytes()});
    waves.append(
        {"two sample chunks", Wave{.afterSamples = chunk("data", QByteArray(6, 'x'))}.bytes()});
    waves.append({"samples before the format too",
                  Wave{.beforeFormat = chunk("data", QByteArray(6, 'x'))}.bytes()});
    waves.append(
        {"two format chunks", Wave{.beforeSamples = chunk("fmt ", QByteArray(16, 'f'))}.bytes()});
    // What a half-written copy, a bad sector or a wrong tool leaves of the real sounds.
    for (const QString& name : {whip, genOn, genOff}) {
        const QByteArray good = soundBytes(name, Sound::Good);
        for (int length = 0; length < good.size(); length += length < 64 ? 1 : 97) {
            waves.append(
                {QStringLiteral("%1 cut to %2 bytes").arg(name).arg(length), good.left(length)});
        }
        for (int at = 0; at < 48; ++at) {
            QByteArray flipped = good;
            flipped[at] = char(flipped[at] ^ 0xff);
            waves.append({QStringLiteral("%1, byte %2 flipped").arg(name).arg(at), flipped});
        }
    }
    return waves;
}

// The child's side of TestFaults::everyWavePlayedOrBeeped: plays each file
// named on standard input from folder through the real player, saying on
// standard output when it starts and how it ended. With no audio device
// (device false) a playable file is not played, and not beeped either.
int playEach(const QString& folder, bool device) {
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) {
        return 2;
    }
    const QStringList names = QString::fromUtf8(input.readAll()).split('\n', Qt::SkipEmptyParts);
    int beeps = 0;
    SwitchSoundPlayer player(folder, [&beeps] { ++beeps; });
    for (const QString& name : names) {
        std::printf("start %s\n", qPrintable(name));
        std::fflush(stdout);
        QFile file(QDir(folder).filePath(name));
        const bool playable =
            file.open(QIODevice::ReadOnly) && isPlayableWave(file.readAll(), WavePlayer::Qt);
        beeps = 0;
        player.play('/' + name);
        // The sound effect the player handed the sound to, if it did.
        auto* effect = player.findChild<QSoundEffect*>();
        const auto status = [effect] { return effect ? effect->status() : QSoundEffect::Null; };
        while (status() == QSoundEffect::Loading) {
            QEventLoop loaded;
            QObject::connect(effect, &QSoundEffect::statusChanged, &loaded, &QEventLoop::quit);
            loaded.exec();
        }
        const bool handed = effect && !effect->source().isEmpty();
        // What the check lets through Qt reads to the end and plays for a
        // few periods of its output; the rest is a beep.
        const bool right = playable
                               ? beeps == 0 && (device ? status() == QSoundEffect::Ready : !handed)
                               : !handed && beeps == 1;
        if (playable && device) {
            QTest::qWait(40);
        }
        std::printf("%s %s %s: status %d, %d beeps\n", right ? "done" : "wrong", qPrintable(name),
                    playable ? "read" : "refused", int(status()), beeps);
        std::fflush(stdout);
    }
    return 0;
}

// A PulseAudio server of the test's own that plays into nothing, for the
// whole test and the children it starts: Qt opens its audio output, where a
// sound can crash or block the program, and Qt 6.8 reads a sound only where
// it has a device to play it on; no odd sound reaches a real loudspeaker.
// Without PulseAudio installed there is none, as on a machine without
// sound.
class SoundServer {
public:
    SoundServer() {
        const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (pulseaudio.isEmpty() || !m_home.isValid()) {
            return;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
            env.insert(QString::fromLatin1(name), m_home.path());
        }
        m_daemon.setProcessEnvironment(env);
        m_daemon.setStandardOutputFile(QProcess::nullDevice());
        m_daemon.setStandardErrorFile(QProcess::nullDevice());
        m_daemon.start(pulseaudio,
                       {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "-L",
                        "module-native-protocol-unix", "-L", "module-null-sink"});
        const QString socket = m_home.filePath(QStringLiteral("pulse/native"));
        for (int wait = 0; wait < 500 && !QFile::exists(socket); ++wait) {
            if (m_daemon.waitForFinished(20)) {
                return;
            }
        }
        if (QFile::exists(socket)) {
            m_address = QStringLiteral("unix:") + socket;
        }
    }
    ~SoundServer() {
        if (m_daemon.state() != QProcess::NotRunning) {
            m_daemon.terminate();
            if (!m_daemon.waitForFinished(5000)) {
                m_daemon.kill();
                m_daemon.waitForFinished();
            }
        }
    }
    SoundServer(const SoundServer&) = delete;
    SoundServer& operator=(const SoundServer&) = delete;

    // For PULSE_SERVER; empty without a server.
    QString address() const { return m_address; }

private:
    QTemporaryDir m_home;
    QProcess m_daemon;
    QString m_address;
};

#endif

// Answers every modal box that opens while trigger runs, collecting
// "title|text" of each message box; a printer dialog is cancelled.
struct ModalAnswers {
    QStringList messages;
    QList<QAbstractPrintDialog::PrintDialogOptions> dialogOptions;

    void run(const std::function<void()>& trigger) {
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, &poll, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                messages << box->windowTitle() + '|' + box->text();
                box->close();
            } else if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
                dialogOptions << dialog->options();
                notePageRangeOffered(*dialog);
                dialog->reject();
            }
        });
        poll.start();
        trigger();
    }

    // Each page-range control of the dialog as shown that a user could
    // reach, also after the dialog enables it again (as it does when another
    // printer is chosen); or one that is not there to be checked.
    QStringList pageRangeOffered;

    void notePageRangeOffered(QPrintDialog& dialog) {
        for (const QString& name : OnePagePrintDialog::pageRangeControls()) {
            auto* control = dialog.findChild<QWidget*>(name);
            if (!control) {
                pageRangeOffered << QStringLiteral("no control ") + name;
                continue;
            }
            if (control->isEnabled()) {
                pageRangeOffered << name;
            }
            control->setEnabled(true);
            if (control->isEnabled()) {
                pageRangeOffered << name + QStringLiteral(" enabled again");
            }
        }
    }
};

#ifndef Q_OS_WIN
// Makes a file unwritable even for root, where the file system allows it:
// the permission bits first, the immutable flag when those do not bind.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString& path) : m_path(path) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        if (writable()) {
            setImmutable(true);
            m_immutable = !writable();
        }
    }
    ~ReadOnlyFile() {
        if (m_immutable) {
            setImmutable(false);
        }
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool writable() const {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_APPEND);
        if (fd >= 0) {
            ::close(fd);
        }
        return fd >= 0;
    }

private:
    void setImmutable(bool on) {
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY);
        if (fd < 0) {
            return;
        }
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
    }

    QString m_path;
    bool m_immutable = false;
};
#endif

} // namespace

Q_DECLARE_METATYPE(Sound)

class TestFaults : public QObject {
    Q_OBJECT

    QStringList errors;

public:
    // The test's own PulseAudio server, for PULSE_SERVER; empty without one.
    QString soundServer;

private:
    // The program's own printing, from its print module.
    ModulePrinting printing{QStringLiteral(VIRTALAB_MODULE_DIR)};

    std::unique_ptr<MainWindow> makeWindow(SoundPlayer& sounds) {
        return makeWindow(sounds, printing);
    }

    std::unique_ptr<MainWindow> makeWindow(SoundPlayer& sounds, Printing& printing) {
        auto w = std::make_unique<MainWindow>(sounds, printing,
                                              [this](const QString& e) { errors << e; });
        w->show();
        return w;
    }

    // The window still works after a fault: the scope switches on.
    static void windowGoesOn(MainWindow& w) {
        w.panel().Опция6->setChecked(true);
        QCOMPARE(w.panel().Форма4->fillColor(), 65280);
        QVERIFY(!w.panel().ii->isHidden());
    }

private slots:
    void init() { errors.clear(); }

    void switchSounds_data();
    void switchSounds();
    void wavesChecked_data();
    void wavesChecked();
#ifndef Q_OS_WIN
    void switchedOffWhileGenerating();
    void everyWavePlayedOrBeeped_data();
    void everyWavePlayedOrBeeped();
    void printTargets_data();
    void printTargets();
    void noPrinterAtAll();
    void cancelledDialogEveryTime();
#endif
    void damagedPictures_data();
    void damagedPictures();
};

// The real player, driven through the switch sequences, with the sounds
// beside the "executable" in each state. A sound that cannot be played is
// replaced by the beep; every other step of the sequence is done.
void TestFaults::switchSounds_data() {
    QTest::addColumn<Sound>("whipState");
    QTest::addColumn<Sound>("generatorState");
    QTest::newRow("all good") << Sound::Good << Sound::Good;
    QTest::newRow("all missing") << Sound::Missing << Sound::Missing;
    QTest::newRow("all empty") << Sound::Empty << Sound::Empty;
    QTest::newRow("all garbage") << Sound::Garbage << Sound::Garbage;
    QTest::newRow("all cut inside the header") << Sound::CutInHeader << Sound::CutInHeader;
    QTest::newRow("all cut inside the samples") << Sound::CutInSamples << Sound::CutInSamples;
    QTest::newRow("all compressed") << Sound::Compressed << Sound::Compressed;
    QTest::newRow("folders in their place") << Sound::Folder << Sound::Folder;
    QTest::newRow("only whip missing") << Sound::Missing << Sound::Good;
    QTest::newRow("only whip cut") << Sound::CutInHeader << Sound::Good;
    QTest::newRow("only generator sounds garbage") << Sound::Good << Sound::Garbage;
}

void TestFaults::switchSounds() {
    QFETCH(Sound, whipState);
    QFETCH(Sound, generatorState);
    QTemporaryDir dir;
    const QDir folder(dir.path());
    QVERIFY(placeSound(folder, whip, whipState));
    QVERIFY(placeSound(folder, genOn, generatorState));
    QVERIFY(placeSound(folder, genOff, generatorState));
    const std::map<QString, Sound> state{
        {"/" + whip, whipState}, {"/" + genOn, generatorState}, {"/" + genOff, generatorState}};

    int beeps = 0;
    RealSoundPlayer player(dir.path(), [&beeps] { ++beeps; });
    // What the model asks for, passed on to the real player.
    struct Recorder : SoundPlayer {
        RealSoundPlayer& real;
        QStringList asked;
        explicit Recorder(RealSoundPlayer& r) : real(r) {}
        void play(const QString& name) override {
            asked << name;
            real.play(name);
        }
    } recorder(player);
    auto w = makeWindow(recorder);
    Panel& p = w->panel();

    struct Step {
        const char* what;
        QRadioButton* button;
        bool scope;
        bool generator;
    };
    const Step steps[] = {
        {"scope on", p.Опция6, true, false},
        {"generator on", p.Опция1, true, true},
        {"generator off", p.Опция4, true, false},
        {"generator on again", p.Опция1, true, true},
        {"scope off while generating", p.Опция5, false, false},
    };
    for (const Step& step : steps) {
        const int before = beeps;
        recorder.asked.clear();
        QTest::mouseClick(step.button, Qt::LeftButton);
        // Every other step of the sequence is done.
        QVERIFY2(step.button->isChecked(), step.what);
        QCOMPARE(p.Форма4->fillColor(), step.scope ? 65280 : 192);
        QCOMPARE(p.Форма2->fillColor(), step.generator ? 65280 : 192);
        QCOMPARE(p.sl1->isEnabled(), step.scope);
        QCOMPARE(p.sl4->isEnabled(), step.generator);
        QCOMPARE(p.ii->isHidden(), !step.scope);
        QVERIFY(!recorder.asked.isEmpty());

        // One beep for each sound that cannot be played; decoding may find
        // a fault only after the sequence has ended.
        int faulty = 0;
        for (const QString& name : recorder.asked) {
            faulty += state.at(name) != Sound::Good;
        }
        QTRY_COMPARE_WITH_TIMEOUT(beeps - before, faulty, 2000);
        // A late beep for a sound that was fine would show up here.
        QTest::qWait(100);
        QCOMPARE(beeps - before, faulty);
    }
    QVERIFY(errors.isEmpty());
}

#ifndef Q_OS_WIN
// The switch that plays three sounds at once, the scope switched off while
// the generator is on, again and again into the test's sound server. Qt
// 6.8's sound effect, handed a new sound before it had taken in that its
// last one was read, took that word for the new one's and crashed now and
// then.
void TestFaults::switchedOffWhileGenerating() {
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        QSKIP("no audio device (PulseAudio is not installed)");
    }
    QTemporaryDir dir;
    for (const QString& name : {whip, genOn, genOff}) {
        QVERIFY(placeSound(QDir(dir.path()), name, Sound::Good));
    }
    int beeps = 0;
    SwitchSoundPlayer player(dir.path(), [&beeps] { ++beeps; });
    auto w = makeWindow(player);
    Panel& p = w->panel();
    for (int i = 0; i < 100; ++i) {
        p.Опция6->setChecked(true);
        p.Опция1->setChecked(true);
        p.Опция5->setChecked(true);
        QCoreApplication::processEvents();
    }
    QTest::qWait(100);
    QCOMPARE(beeps, 0);
    QVERIFY(errors.isEmpty());
}
#endif

// The check that keeps unplayable files from the sound service, for each
// player: Qt's (Linux) and Windows' own (sndPlaySound). What it lets
// through, the player really reads: Qt on Linux; on Windows, Windows'
// player under Wine where Wine has a sound output.
void TestFaults::wavesChecked_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("qt");
    // Whether Qt itself may be asked: a file cut short would hang it.
    QTest::addColumn<bool>("askQt");
    QTest::addColumn<bool>("windows");
    const QByteArray good = soundBytes(whip, Sound::Good);
    auto patched = [&good](int at, QByteArray with) {
        QByteArray bytes = good;
        bytes.replace(at, with.size(), with);
        return bytes;
    };
    const QByteArray list = QByteArray("LIST") + le32(4) + "abcd";
    const QByteArray oddList = QByteArray("LIST") + le32(5) + "abcde" + '\0';
    QByteArray longFormat = good;
    longFormat.replace(16, 4, le32(18)).insert(36, QByteArray(2, '\0'));
    QByteArray float32 = patched(20, le16(3));
    float32.replace(32, 4, le16(4) + le16(32));

    QTest::newRow("good") << good << true << true << true;
    QTest::newRow("chunk before the format")
        << QByteArray(good).insert(12, list) << true << true << true;
    QTest::newRow("chunk before the samples")
        << QByteArray(good).insert(36, list) << true << true << true;
    QTest::newRow("longer format chunk") << longFormat << true << true << true;
    QTest::newRow("8-bit") << patched(32, le16(1) + le16(8)) << true << true << true;
    QTest::newRow("24-bit") << patched(32, le16(3) + le16(24)) << true << true << true;
    // Windows' player takes 32-bit integers only as WAVE_FORMAT_EXTENSIBLE.
    QTest::newRow("32-bit") << patched(32, le16(4) + le16(32)) << true << true << false;
    QTest::newRow("12-bit") << patched(32, le16(2) + le16(12)) << false << true << false;
    // Qt 6.8's reader skips the pad byte after an odd-sized chunk it passes
    // over; 6.4's does not and loses its place. Windows' player skips it.
    const QByteArray oddCounted = Wave{.beforeSamples = chunk("LIST", "abcde")}.bytes();
    if (QLibraryInfo::version() < QVersionNumber(6, 8)) {
        QTest::newRow("odd-sized chunk before the format, Qt 6.4")
            << QByteArray(good).insert(12, oddList) << false << true << true;
        QTest::newRow("odd-sized chunk before the samples, Qt 6.4")
            << QByteArray(good).insert(36, oddList) << false << true << true;
        QTest::newRow("odd-sized chunk, sizes counted, Qt 6.4")
            << oddCounted << false << true << true;
    } else {
        QTest::newRow("odd-sized chunk before the format, Qt 6.8")
            << QByteArray(good).insert(12, oddList) << true << true << true;
        QTest::newRow("odd-sized chunk before the samples, Qt 6.8")
            << QByteArray(good).insert(36, oddList) << true << true << true;
        QTest::newRow("odd-sized chunk, sizes counted, Qt 6.8")
            << oddCounted << true << true << true;
    }
    QTest::newRow("32-bit float") << float32 << false << true << true;
    QTest::newRow("empty") << QByteArray() << false << false << false;
    QTest::newRow("RIFF only") << QByteArray("RIFF") << false << false << false;
    QTest::newRow("not WAVE") << patched(8, "AVI ") << false << true << false;
    QTest::newRow("big-endian RIFX") << patched(0, "RIFX") << false << false << false;
    QTest::newRow("format chunk too short") << patched(16, le32(12)) << false << false << false;
    QTest::newRow("format chunk past the end")
        << patched(16, le32(0x7ffffff0)) << false << false << false;
    QTest::newRow("no format chunk") << patched(12, "junk") << false << false << false;
    QTest::newRow("no sample chunk") << patched(36, "junk") << false << false << false;
    QTest::newRow("empty sample chunk") << patched(40, le32(0)) << false << false << false;
    QTest::newRow("samples cut short") << good.left(good.size() - 1) << false << false << false;
    QTest::newRow("no channels") << patched(22, le16(0)) << false << true << false;
    QTest::newRow("rate zero") << patched(24, le32(0)) << false << true << false;

    // Qt waits for ever on these; asked, it would hang. Windows plays the
    // whole samples of a sound RIFF file and skips chunks of any size.
    QByteArray lastByteDropped = good.chopped(1);
    lastByteDropped.replace(4, 4, le32(quint32(good.size()) - 9))
        .replace(40, 4, le32(quint32(good.size()) - 45));
    const QByteArray someSamples = good.mid(44, 6);
    QTest::newRow("one byte of a 16-bit sample")
        << Wave{.samples = "\x01"}.bytes() << false << false << false;
    QTest::newRow("last byte dropped, sizes adjusted") << lastByteDropped << false << false << true;
    QTest::newRow("16-bit stereo, 4,001 bytes")
        << Wave{.channels = 2, .samples = QByteArray(4001, '\x22')}.bytes() << false << false
        << true;
    QTest::newRow("24-bit, a sample and two bytes")
        << Wave{.bits = 24, .samples = someSamples.left(5)}.bytes() << false << false << true;
    QTest::newRow("chunk over 16 KB before the samples")
        << Wave{.beforeSamples = chunk("LIST", QByteArray(16378, 'L'))}.bytes() << false << false
        << true;
    QTest::newRow("partial chunk header at the end")
        << good.left(36) + "LIS" << false << false << false;
    QTest::newRow("chunk size wrapping round")
        << QByteArray(good).insert(12, "junk" + le32(0xfffffff8)) << false << false << false;
    // Qt refuses these itself.
    QTest::newRow("format chunk over 16 KB")
        << Wave{.formatTail = QByteArray(16386, '\0')}.bytes() << false << true << true;
    // Qt reads these, but not as what they say: half a frame, a block size
    // other than the samples', a rate beyond what it keeps.
    QTest::newRow("16-bit stereo, half a frame over")
        << Wave{.channels = 2, .samples = QByteArray(4002, '\x22')}.bytes() << false << false
        << true;
    QTest::newRow("block of two samples in mono")
        << patched(32, le16(4)) << false << false << false;
    QTest::newRow("rate beyond an int") << patched(24, le32(0x80000000)) << false << false << false;
    // Qt reads it, and its PulseAudio output then divides by zero. Windows'
    // audio moves sound in 10 ms periods, and under Wine a sound whose period
    // holds no frame never ends.
    QTest::newRow("49 Hz") << patched(24, le32(49)) << false << false << false;
    // Odd but whole: played.
    QTest::newRow("chunk of 16 KB before the samples")
        << Wave{.beforeSamples = chunk("LIST", QByteArray(16376, 'L'))}.bytes() << true << true
        << true;
    QTest::newRow("format tag 0") << patched(20, le16(0)) << true << true << false;
    QTest::newRow("samples before the format and after it")
        << QByteArray(good).insert(12, chunk("data", someSamples)) << true << true << true;
    QTest::newRow("two sample chunks") << good + chunk("data", someSamples) << true << true << true;
    QTest::newRow("8-bit mono, an odd number of samples")
        << Wave{.bits = 8, .samples = QByteArray(401, '\x80')}.bytes() << true << true << true;
    QTest::newRow("24-bit, 3 channels")
        << Wave{.channels = 3, .bits = 24, .samples = QByteArray(9 * 40, '\x33')}.bytes() << true
        << true << true;
    QTest::newRow("RIFF size past the end")
        << patched(4, le32(0x7ffffff0)) << true << true << false;
    QTest::newRow("50 Hz") << patched(24, le32(50)) << true << true << false;
    QTest::newRow("100 Hz") << Wave{.rate = 100, .samples = QByteArray(20, '\x11')}.bytes() << true
                            << true << true;
    QTest::newRow("384 kHz") << Wave{.rate = 384000}.bytes() << true << true << true;
    // Wine's PulseAudio output aborts the program on these; no Windows
    // audio device takes them either.
    QTest::newRow("768 kHz") << Wave{.rate = 768000}.bytes() << true << true << false;

    // What current editors write, and the codecs that come with Windows.
    QTest::newRow("24-bit stereo, WAVE_FORMAT_EXTENSIBLE")
        << Wave{.tag = 0xfffe,
                .channels = 2,
                .bits = 24,
                .rate = 48000,
                .formatTail = extensible(24, 3, 1)}
               .bytes()
        << false << true << true;
    QTest::newRow("24 bits in 32, WAVE_FORMAT_EXTENSIBLE")
        << Wave{.tag = 0xfffe, .bits = 32, .rate = 48000, .formatTail = extensible(24, 4, 1)}
               .bytes()
        << false << true << true;
    QTest::newRow("32-bit, WAVE_FORMAT_EXTENSIBLE")
        << Wave{.tag = 0xfffe, .bits = 32, .rate = 48000, .formatTail = extensible(32, 4, 1)}
               .bytes()
        << false << true << true;
    QTest::newRow("32-bit float stereo, WAVE_FORMAT_EXTENSIBLE")
        << Wave{.tag = 0xfffe,
                .channels = 2,
                .bits = 32,
                .rate = 48000,
                .samples = QByteArray(800, '\0'),
                .formatTail = extensible(32, 3, 3)}
               .bytes()
        << false << true << true;
    QTest::newRow("MP3 as WAVE_FORMAT_EXTENSIBLE")
        << Wave{.tag = 0xfffe, .formatTail = extensible(16, 4, 0x55)}.bytes() << false << true
        << false;
    QTest::newRow("WAVE_FORMAT_EXTENSIBLE without its GUID")
        << Wave{.tag = 0xfffe, .formatTail = extensible(16, 4, 1).left(10)}.bytes() << false << true
        << false;
    QTest::newRow("64-bit float")
        << Wave{.tag = 3, .bits = 64, .samples = QByteArray(800, '\0')}.bytes() << false << true
        << false;
    QTest::newRow("IMA ADPCM") << Wave{.tag = 0x11,
                                       .bits = 4,
                                       .block = 512,
                                       .bytesPerSecond = 11100,
                                       .samples = QByteArray(1024, '\0'),
                                       .formatTail = le16(2) + le16(1017)}
                                      .bytes()
                               << false << true << true;
    QTest::newRow("IMA ADPCM, samples a block miscounted")
        << Wave{.tag = 0x11,
                .bits = 4,
                .block = 512,
                .bytesPerSecond = 11100,
                .samples = QByteArray(1024, '\0'),
                .formatTail = le16(2) + le16(1018)}
               .bytes()
        << false << true << false;
    QTest::newRow("Microsoft ADPCM") << Wave{.tag = 2,
                                             .bits = 4,
                                             .rate = 11025,
                                             .block = 256,
                                             .bytesPerSecond = 5644,
                                             .samples = QByteArray(512, '\0'),
                                             .formatTail = msAdpcm(500)}
                                            .bytes()
                                     << false << true << true;
    QTest::newRow("Microsoft ADPCM, other coefficients") << Wave{.tag = 2,
                                                                 .bits = 4,
                                                                 .rate = 11025,
                                                                 .block = 256,
                                                                 .bytesPerSecond = 5644,
                                                                 .samples = QByteArray(512, '\0'),
                                                                 .formatTail = msAdpcm(500, 300)}
                                                                .bytes()
                                                         << false << true << false;
    QTest::newRow("A-law")
        << Wave{.tag = 6, .bits = 8, .rate = 8000, .samples = QByteArray(400, '\xd5')}.bytes()
        << false << true << true;
    QTest::newRow("µ-law")
        << Wave{.tag = 7, .bits = 8, .rate = 8000, .samples = QByteArray(400, '\xff')}.bytes()
        << false << true << true;
    QTest::newRow("µ-law, 16 bits a sample")
        << Wave{.tag = 7, .bits = 16, .rate = 8000}.bytes() << false << true << false;
}

void TestFaults::wavesChecked() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, qt);
    QFETCH(bool, askQt);
    QFETCH(bool, windows);
    QCOMPARE(isPlayableWave(bytes, WavePlayer::Qt), qt);
    QCOMPARE(isPlayableWave(bytes, WavePlayer::Windows), windows);
    QTemporaryDir dir;
    QFile file(dir.filePath("sound.wav"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
#ifdef Q_OS_WIN
    // Windows' player itself, played to its end, where Wine has a sound
    // output to play into (the test's own PulseAudio server).
    Q_UNUSED(askQt)
    if (windows && qEnvironmentVariableIsSet("PULSE_SERVER")) {
        const std::wstring path = QDir::toNativeSeparators(file.fileName()).toStdWString();
        QVERIFY(sndPlaySoundW(path.c_str(), SND_SYNC | SND_NODEFAULT));
    }
#else
    if (askQt) {
        // Qt 6.8 reads a sound only where there is a device to play it on.
        if (QMediaDevices::defaultAudioOutput().isNull()) {
            QSKIP("no audio device (PulseAudio is not installed): Qt's reader not asked");
        }
        QSoundEffect effect;
        effect.setSource(QUrl::fromLocalFile(file.fileName()));
        QTRY_VERIFY(effect.status() == QSoundEffect::Ready ||
                    effect.status() == QSoundEffect::Error);
        QCOMPARE(effect.status() == QSoundEffect::Ready, qt);
    }
#endif
}

#ifndef Q_OS_WIN
void TestFaults::everyWavePlayedOrBeeped_data() {
    QTest::addColumn<bool>("device");
    QTest::newRow("sound server") << true;
    QTest::newRow("no audio device") << false;
}

// Every odd layout, and every input the fuzzer of the check has kept, goes to
// the real player in a child process: what the check accepts must be read to
// the end, the rest must beep. A child that makes no progress for a few
// seconds is stopped, and the sound it was playing is kept for a look.
// Without an audio device nothing is played and only the rest beeps; the
// player says once that there is no sound.
void TestFaults::everyWavePlayedOrBeeped() {
    QFETCH(bool, device);
    if (device && soundServer.isEmpty()) {
        QSKIP("no sound server (PulseAudio is not installed)");
    }
    QTemporaryDir dir;
    QMap<QString, QString> what; // file name: where the input came from
    auto add = [&](const QString& from, const QByteArray& bytes) {
        const QString name = QStringLiteral("%1.wav").arg(what.size(), 5, 10, QChar('0'));
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) {
            what[name] = from;
        }
    };
    for (const auto& [name, bytes] : oddWaves()) {
        add(name, bytes);
    }
    const QDir corpus(QStringLiteral(VIRTALAB_WAVE_CORPUS));
    const QStringList corpusFiles = corpus.entryList(QDir::Files);
    for (const QString& file : corpusFiles) {
        add(corpus.filePath(file), asset(corpus.filePath(file)));
    }
    QCOMPARE(what.size(), oddWaves().size() + corpusFiles.size());

    QStringList pending = what.keys();
    QStringList faults;
    QDir kept(QCoreApplication::applicationDirPath() + QStringLiteral("/kept-sounds/") +
              QString::fromUtf8(QTest::currentDataTag()));
    kept.removeRecursively();
    auto keep = [&](const QString& name, const QString& fault) {
        kept.mkpath(QStringLiteral("."));
        QFile::copy(dir.filePath(name), kept.filePath(name));
        faults << QStringLiteral("%1 (%2): %3").arg(kept.filePath(name), what[name], fault);
    };
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!device) {
        env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:/nonexistent"));
    }
    int played = 0;
    int read = 0;
    int hung = 0;
    int children = 0;
    int silenceTold = 0;
    // A few hangs tell enough; each costs the watchdog's wait.
    while (!pending.isEmpty() && hung < 3) {
        QProcess child;
        const QString errors = dir.filePath(QStringLiteral("errors-%1.txt").arg(++children));
        child.setStandardErrorFile(errors);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--play-each"), dir.path(),
                     device ? QStringLiteral("device") : QStringLiteral("none")});
        QVERIFY(child.waitForStarted());
        child.write(pending.join('\n').toUtf8());
        child.closeWriteChannel();
        QString current;
        bool stuck = false;
        forever {
            while (child.canReadLine()) {
                const QStringList line = QString::fromUtf8(child.readLine()).trimmed().split(' ');
                if (line.value(0) == QLatin1String("start")) {
                    current = line.value(1);
                    continue;
                }
                if (line.value(0) == QLatin1String("wrong")) {
                    keep(current, line.mid(2).join(' '));
                }
                ++played;
                read += line.value(2) == QLatin1String("read:");
                pending.removeOne(current);
                current.clear();
            }
            if (child.state() == QProcess::NotRunning && !child.canReadLine()) {
                break;
            }
            if (!child.waitForReadyRead(5000) && child.state() != QProcess::NotRunning) {
                child.kill();
                child.waitForFinished();
                stuck = true;
                ++hung;
                break;
            }
        }
        const QString ended =
            child.exitStatus() == QProcess::CrashExit
                ? QStringLiteral("the player crashed")
                : QStringLiteral("the player ended with status %1").arg(child.exitCode());
        if (!current.isEmpty()) {
            keep(current, stuck ? QStringLiteral("the player hung") : ended);
            pending.removeOne(current);
        } else if (child.exitStatus() == QProcess::CrashExit || child.exitCode() != 0) {
            QFAIL(qPrintable(ended + QStringLiteral(" between sounds")));
        }
        silenceTold +=
            int(asset(errors).count("No audio device: the switch sounds are not played"));
    }
    qInfo("%d sounds through the player, %lld of them from the fuzzer's corpus: %d %s, %d "
          "refused with a beep",
          played, qlonglong(corpusFiles.size()), read,
          device ? "read to the end, played into a PulseAudio server of the test's own"
                 : "passed the check and were not played, there being no audio device",
          played - read);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    QCOMPARE(silenceTold, device ? 0 : children);
}

void TestFaults::printTargets_data() {
    QTest::addColumn<QString>("target"); // relative to a fresh folder
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("read-only file") << "panel.pdf" << true;
    QTest::newRow("a folder in the file's place") << "folder" << false;
    QTest::newRow("file system full") << "/dev/full" << false;
    QTest::newRow("read-only device") << "/proc/version" << false;
}

// Print targets that cannot be written: a Russian message naming the file,
// and the window goes on.
void TestFaults::printTargets() {
    QFETCH(QString, target);
    QFETCH(bool, readOnly);
    QTemporaryDir dir;
    const QString path = target.startsWith('/') ? target : dir.filePath(target);
    std::unique_ptr<ReadOnlyFile> guard;
    if (target == "folder") {
        QVERIFY(QDir(dir.path()).mkdir(target));
    }
    if (readOnly) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
        f.close();
        guard = std::make_unique<ReadOnlyFile>(path);
        if (guard->writable()) {
            QSKIP("this file system lets this user write a read-only file");
        }
    }

    RecordingSounds sounds;
    PrinterPrinting toFile([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    });
    auto w = makeWindow(sounds, toFile);
    ModalAnswers answers;
    answers.run([&] { w->print->trigger(); });
    QCOMPARE(answers.messages.size(), 1);
    const QString message = answers.messages[0];
    QVERIFY2(message.startsWith(QStringLiteral("Печать|Не удалось записать файл «") + path + "»"),
             qPrintable(message));
    windowGoesOn(*w);
    QVERIFY(errors.isEmpty());
    if (readOnly) {
        QCOMPARE(asset(path), QByteArray("old"));
    }
}

// No printer installed and nothing chosen: the user is told so.
void TestFaults::noPrinterAtAll() {
    RecordingSounds sounds;
    PrinterPrinting nowhere([](QPrinter& printer, QWidget*) {
        printer.setPrinterName(QStringLiteral("Несуществующий принтер"));
    });
    auto w = makeWindow(sounds, nowhere);
    ModalAnswers answers;
    answers.run([&] { w->print->trigger(); });
    QCOMPARE(answers.messages,
             QStringList{QStringLiteral(
                 "Печать|Принтер недоступен: в системе не установлен ни один принтер.")});
    windowGoesOn(*w);
    QVERIFY(errors.isEmpty());
}

// The real dialog, cancelled again and again, in every power state: it
// offers no page range, printing is tried each time, and the panel keeps
// working in between.
void TestFaults::cancelledDialogEveryTime() {
    QPrinter probe;
    if (probe.isValid() && probe.outputFormat() == QPrinter::NativeFormat) {
        QSKIP("a real printer is installed; cancelling would print pages");
    }
    RecordingSounds sounds;
    auto w = makeWindow(sounds);
    Panel& p = w->panel();
    QRadioButton* const states[] = {p.Опция5, p.Опция6, p.Опция1, p.Опция5};
    ModalAnswers answers;
    for (QRadioButton* state : states) {
        QTest::mouseClick(state, Qt::LeftButton);
        answers.run([&] { w->print->trigger(); });
        QVERIFY(state->isChecked());
    }
    QCOMPARE(answers.dialogOptions.size(), 4);
    for (const auto& options : answers.dialogOptions) {
        QVERIFY(!(options & QAbstractPrintDialog::PrintPageRange));
    }
    QVERIFY2(answers.pageRangeOffered.isEmpty(), qPrintable(answers.pageRangeOffered.join(", ")));
    QCOMPARE(answers.messages.size(), 4);
    for (const QString& message : answers.messages) {
        QCOMPARE(
            message,
            QStringLiteral("Печать|Принтер недоступен: в системе не установлен ни один принтер."));
    }
    windowGoesOn(*w);
    QVERIFY(errors.isEmpty());
}

#endif

void TestFaults::damagedPictures_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("start"); // how the message begins
    const QString unreadable = QStringLiteral("Не удаётся прочитать рисунок «");
    const QString damaged = QStringLiteral("Рисунок «");
    const QByteArray bitmap = asset(":/assets/screen.bmp");
    const QByteArray gif = asset(":/assets/rainbow-h.gif");
    const QByteArray icon = asset(":/assets/virtalab.ico");
    QByteArray hugeBitmap = bitmap.left(54);
    // 100,000 by 100,000 pixels: far past what may be allocated for one picture.
    const char huge[4] = {'\xa0', '\x86', '\x01', '\x00'};
    hugeBitmap.replace(18, 4, huge, 4).replace(22, 4, huge, 4);
    QByteArray hugeEmptyBitmap = hugeBitmap;
    hugeEmptyBitmap.replace(28, 2, "\0\0", 2); // no bits per pixel: nothing to read
    QByteArray headerOnlyEmf = asset(":/assets/spot.emf");
    headerOnlyEmf.truncate(int(qFromLittleEndian<quint32>(headerOnlyEmf.constData() + 4)));

    QTest::newRow("empty bitmap") << "screen.bmp" << QByteArray() << unreadable;
    QTest::newRow("bitmap cut in its headers") << "screen.bmp" << bitmap.left(30) << unreadable;
    QTest::newRow("bitmap cut in its pixels") << "screen.bmp" << bitmap.left(723) << damaged;
    QTest::newRow("bitmap one byte short") << "screen.bmp" << bitmap.chopped(1) << damaged;
    QTest::newRow("huge bitmap") << "screen.bmp" << hugeBitmap << damaged;
    QTest::newRow("huge bitmap of no bits") << "screen.bmp" << hugeEmptyBitmap << unreadable;
    QTest::newRow("GIF cut in its first frame") << "rainbow-h.gif" << gif.left(400) << damaged;
    QTest::newRow("GIF cut in a later frame") << "rainbow-h.gif" << gif.left(2000) << damaged;
    QTest::newRow("GIF without its trailer") << "rainbow-h.gif" << gif.chopped(1) << damaged;
    QTest::newRow("icon cut in its directory") << "virtalab.ico" << icon.left(12) << damaged;
    QTest::newRow("icon cut in its second image") << "virtalab.ico" << icon.chopped(10) << damaged;
    QTest::newRow("metafile with only its header") << "spot.emf" << headerOnlyEmf << damaged;
    QTest::newRow("metafile under a bitmap's name") << "screen.bmp" << headerOnlyEmf << damaged;
    QTest::newRow("folder") << "folder.emf" << QByteArray("<folder>")
                            << QStringLiteral("Не удаётся открыть рисунок «");
}

// A damaged picture file: a clear error naming it, never a crash.
void TestFaults::damagedPictures() {
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, start);
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    if (content == "<folder>") {
        QVERIFY(QDir(dir.path()).mkdir(file));
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    try {
        loadPicture(path);
        QFAIL("a damaged picture was loaded");
    } catch (const PictureError& e) {
        const QString message = QString::fromUtf8(e.what());
        QVERIFY2(message.startsWith(start + path + "»"), qPrintable(message));
    }
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
#ifndef Q_OS_WIN
    if (argc == 4 && qstrcmp(argv[1], "--play-each") == 0) {
        return playEach(QString::fromLocal8Bit(argv[2]), qstrcmp(argv[3], "device") == 0);
    }
#endif
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestFaults test;
#ifndef Q_OS_WIN
    // Set before Qt Multimedia first looks for a sound server.
    const SoundServer server;
    test.soundServer = server.address();
    qputenv("PULSE_SERVER",
            (server.address().isEmpty() ? QStringLiteral("unix:/nonexistent") : server.address())
                .toLocal8Bit());
#endif
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_faults.moc"
