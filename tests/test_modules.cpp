// SPDX-License-Identifier: GPL-3.0-or-later
// The print and sound modules the program loads on first use: found and
// used when they are beside it; missing, damaged or foreign, they cost the
// user a beep or a message, never the program.

#include "platform/modules/programmodule.h"
#include "platform/printing/moduleprinting.h"
#include "platform/printing/printentry.h"
#include "platform/sound/modulesoundplayer.h"
#include "platform/sound/soundentry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <algorithm>

namespace {

const QString built = QStringLiteral(VIRTALAB_MODULE_DIR);

QString moduleFile(const QString& folder, const char* name) {
    // The modules have no prefix; the suffix is the platform's.
#ifdef Q_OS_WIN
    const QString suffix = QStringLiteral(".dll");
#else
    const QString suffix = QStringLiteral(".so");
#endif
    return QDir(folder).filePath(QString::fromLatin1(name) + suffix);
}

// Windows plays the switch sounds itself: there, the program has only its
// print module.
#ifdef Q_OS_WIN
const QList<const char*> builtModules = {modules::printName};
#else
const QList<const char*> builtModules = {modules::printName, modules::soundName};
#endif

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestModules : public QObject {
    Q_OBJECT

private slots:
    // The modules as built pass the program's check and load through the
    // system's loader.
    void builtModulesLoad() {
        for (const char* name : builtModules) {
            QVERIFY2(QFile::exists(moduleFile(built, name)), qPrintable(built));
            ProgramModule module(built, QString::fromLatin1(name));
            const bool sound = name == modules::soundName;
            QVERIFY2(module.resolve(sound ? modules::soundEntry : modules::printEntry),
                     qPrintable(module.error()));
        }
    }

    // The real module plays; a sound it cannot find comes back as the beep
    // handed to it.
    void soundModuleIsLoadedOnFirstSound() {
        if (!builtModules.contains(modules::soundName)) {
            QSKIP("no sound module on this system");
        }
        int beeps = 0;
        ModuleSoundPlayer player(built, [&beeps] { ++beeps; });
        QVERIFY(player.error().isEmpty());
        player.play(QStringLiteral("/no-such-sound.wav"));
        QVERIFY2(player.error().isEmpty(), qPrintable(player.error()));
        QCOMPARE(beeps, 1);
    }

    // Whatever is wrong with the module, every sound is the beep and the
    // reason is kept.
    void unusableSoundModuleBeeps_data() {
        QTest::addColumn<QString>("content"); // "", "garbage" or "print"
        QTest::newRow("missing") << QString();
        QTest::newRow("damaged") << QStringLiteral("garbage");
        QTest::newRow("another module in its place") << QStringLiteral("print");
    }
    void unusableSoundModuleBeeps() {
        QFETCH(QString, content);
        if (!builtModules.contains(modules::soundName)) {
            QSKIP("no sound module on this system");
        }
        QTemporaryDir dir;
        const QString file = moduleFile(dir.path(), modules::soundName);
        if (content == "garbage") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            // The ELF signature over a header of zeros.
            QByteArray damaged(64, '\0');
            damaged.replace(0, 4,
                            "\x7f"
                            "ELF");
            f.write(damaged);
        } else if (content == "print") {
            QVERIFY(QFile::copy(moduleFile(built, modules::printName), file));
        }
        int beeps = 0;
        ModuleSoundPlayer player(dir.path(), [&beeps] { ++beeps; });
        player.play(QStringLiteral("/whip.wav"));
        player.play(QStringLiteral("/Sldwst.wav"));
        QCOMPARE(beeps, 2);
        QVERIFY(!player.error().isEmpty());
        if (content == "print") {
            QVERIFY2(player.error().contains(QLatin1String("the program was built with")),
                     qPrintable(player.error()));
        }
    }

    // The user is told in Russian alone what is wrong and what to do; the
    // path and the technical detail stay out of the box.
    void unusablePrintModuleIsReported_data() {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QString() << QStringLiteral("Его нет в папке программы.");
        QTest::newRow("damaged") << QStringLiteral("garbage")
                                 << QStringLiteral("Он повреждён или заменён другим файлом.");
        QTest::newRow("a folder in its place")
            << QStringLiteral("folder") << QStringLiteral("Его нет в папке программы.");
        if (builtModules.contains(modules::soundName)) {
            QTest::newRow("another module in its place")
                << QStringLiteral("sound")
                << QStringLiteral("Он повреждён или заменён другим файлом.");
        }
    }
    void unusablePrintModuleIsReported() {
        QFETCH(QString, content);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString file = moduleFile(dir.path(), modules::printName);
        if (content == "garbage") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, '\0'));
        } else if (content == "sound") {
            QVERIFY(QFile::copy(moduleFile(built, modules::soundName), file));
        } else if (content == "folder") {
            QVERIFY(QDir().mkpath(file));
        }
        ModulePrinting printing(dir.path());
        QWidget widget;
        const QString message = printing.print(widget, nullptr);
        QCOMPARE(message, QStringLiteral("Печать недоступна: не удалось загрузить модуль печати "
                                         "программы. ") +
                              reason + QStringLiteral(" Переустановите программу."));
        // Asked again, it says the same rather than half-working.
        QCOMPARE(printing.print(widget, nullptr), message);
    }

    // What an interrupted copy, a full disk or a bad sector leaves of each
    // real module, loaded through the program's loader: refused with the
    // reason, never handed to the system's loader, which would crash on it.
    void damagedModulesRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        for (const char* name : builtModules) {
            const QByteArray good = contents(moduleFile(built, name));
            QVERIFY(good.size() > 4096);
            QList<qsizetype> at = {1, 4, 16, 52, 64, 512, 4096, good.size() - 1};
            for (int i = 1; i < 64; ++i) {
                at << good.size() * i / 64 + i;
            }
            std::sort(at.begin(), at.end());
            at.erase(std::unique(at.begin(), at.end()), at.end());
            for (qsizetype n : at) {
                QTest::addRow("%s cut to %lld bytes", name, qlonglong(n))
                    << name << good.left(n) << QStringLiteral("bytes long");
                QByteArray flipped = good;
                flipped[n] = char(~flipped[n]);
                QTest::addRow("%s, byte %lld flipped", name, qlonglong(n))
                    << name << flipped << QStringLiteral("SHA-256 differs");
            }
        }
    }
    void damagedModulesRefused() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QFile f(moduleFile(dir.path(), qPrintable(name)));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        ProgramModule module(dir.path(), name);
        const bool sound = name == QLatin1String(modules::soundName);
        QVERIFY(!module.resolve(sound ? modules::soundEntry : modules::printEntry));
        QVERIFY2(module.error().contains(f.fileName()) && module.error().contains(reason),
                 qPrintable(module.error()));
    }

    // Only the checked file is loaded: Qt's own loader would first try a
    // file of the same name in a "haswell" folder beside it on such
    // processors; here each holds the other module.
    void onlyTheCheckedFileIsLoaded() {
        if (!builtModules.contains(modules::soundName)) {
            QSKIP("the search for processor-specific folders is the GNU loader's");
        }
        QTemporaryDir dir;
        const QString haswell = dir.filePath(QStringLiteral("haswell"));
        QVERIFY(QDir().mkpath(haswell));
        for (const char* name : {modules::printName, modules::soundName}) {
            const char* other =
                name == modules::printName ? modules::soundName : modules::printName;
            QVERIFY(QFile::copy(moduleFile(built, name), moduleFile(dir.path(), name)));
            QVERIFY(QFile::copy(moduleFile(built, other), moduleFile(haswell, name)));
        }
        ProgramModule print(dir.path(), QString::fromLatin1(modules::printName));
        QVERIFY2(print.resolve(modules::printEntry), qPrintable(print.error()));
        ProgramModule sound(dir.path(), QString::fromLatin1(modules::soundName));
        QVERIFY2(sound.resolve(modules::soundEntry), qPrintable(sound.error()));
    }
};

QTEST_MAIN(TestModules)
#include "test_modules.moc"
