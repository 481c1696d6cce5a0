// SPDX-License-Identifier: GPL-3.0-or-later
#include "modelrig.h"

#include <QtGlobal>

// The player that reads the sound files: the system's own on Windows.
#ifdef Q_OS_WIN
#include "platform/sound/systemsoundplayer.h"
using FilePlayer = SystemSoundPlayer;
#else
#include "platform/sound/switchsoundplayer.h"
using FilePlayer = SwitchSoundPlayer;
#endif

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QList<QWidget*> scopeList(Panel& p) {
    return {p.Опция1, p.Опция2, p.Опция3, p.Опция4, p.Метка1, p.Метка2, p.Метка3,   p.Метка7,
            p.Текст1, p.Текст2, p.sl2,    p.sl1,    p.sl5,    p.sl6,    p.Комманда1};
}

QList<QWidget*> generatorList(Panel& p) {
    return {p.signal[0], p.signal[1], p.signal[2], p.Метка4, p.Метка5,
            p.Метка6,    p.t3,        p.t4,        p.sl3,    p.sl4};
}

enum State { ScopeOff, ScopeOnly, BothOn };

} // namespace

// The power switches: three reachable states, their transitions, and the
// order of the steps inside each sequence.
class TestPower : public QObject {
    Q_OBJECT

    static void checkState(Panel& p, State state) {
        QCOMPARE(p.Опция6->isChecked(), state != ScopeOff);
        QCOMPARE(p.Опция5->isChecked(), state == ScopeOff);
        QCOMPARE(p.Опция1->isChecked(), state == BothOn);
        QCOMPARE(p.Опция4->isChecked(), state != BothOn);
        QCOMPARE(p.Форма4->fillColor(), state == ScopeOff ? 192 : 65280);
        QCOMPARE(p.Форма2->fillColor(), state == BothOn ? 65280 : 192);
        for (QWidget* w : scopeList(p)) {
            QVERIFY2(w->isEnabled() == (state != ScopeOff), qPrintable(w->objectName()));
        }
        for (QWidget* w : generatorList(p)) {
            QVERIFY2(w->isEnabled() == (state == BothOn), qPrintable(w->objectName()));
        }
        QVERIFY(p.Опция5->isEnabled());
        QVERIFY(p.Опция6->isEnabled());
        QCOMPARE(p.ii->isHidden(), state == ScopeOff);
    }

    static void checkTrace(ModelRig& rig, int picture, float left, float top, float width,
                           float height) {
        const ImageControl& ii = *rig.p().ii;
        QCOMPARE(rig.tracePicture(), picture);
        COMPARE_EXACT(ii.Left(), left);
        COMPARE_EXACT(ii.Top(), top);
        COMPARE_EXACT(ii.Width(), width);
        COMPARE_EXACT(ii.Height(), height);
    }

private slots:
    void startsSwitchedOff() {
        ModelRig rig;
        checkState(rig.p(), ScopeOff);
        QVERIFY(!rig.p().ii->picture());
        QVERIFY(rig.sounds.played.isEmpty());
    }

    // Every transition of the table, ending in the expected state, with the
    // sounds of the sequences that ran.
    void transitions_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<int>("state");
        QTest::addColumn<QStringList>("sounds");
        const QString whip = "/whip.wav", on = "/Sldwst2.wav", off = "/Sldwst.wav";
        QTest::newRow("scope on") << QStringList{"Опция6"} << int(ScopeOnly) << QStringList{whip};
        QTest::newRow("scope on, off")
            << QStringList{"Опция6", "Опция5"} << int(ScopeOff) << QStringList{whip, whip};
        QTest::newRow("generator on")
            << QStringList{"Опция6", "Опция1"} << int(BothOn) << QStringList{whip, on};
        QTest::newRow("generator on, off") << QStringList{"Опция6", "Опция1", "Опция4"}
                                           << int(ScopeOnly) << QStringList{whip, on, off};
        QTest::newRow("scope off while generating")
            << QStringList{"Опция6", "Опция1", "Опция5"} << int(ScopeOff)
            << QStringList{whip, on, whip, off, off};
        QTest::newRow("scope on again")
            << QStringList{"Опция6", "Опция1", "Опция5", "Опция6"} << int(ScopeOnly)
            << QStringList{whip, on, whip, off, off, whip};
        QTest::newRow("generator buttons ignored while off")
            << QStringList{"Опция1"} << int(ScopeOff) << QStringList{};
        QTest::newRow("re-click of a selected switch runs nothing")
            << QStringList{"Опция6", "Опция6", "Опция5", "Опция5"} << int(ScopeOff)
            << QStringList{whip, whip};
    }
    void transitions() {
        QFETCH(QStringList, clicks);
        QFETCH(int, state);
        QFETCH(QStringList, sounds);
        ModelRig rig;
        for (const QString& name : clicks) {
            auto* button = rig.p().findChild<QRadioButton*>(name);
            QVERIFY(button);
            QTest::mouseClick(button, Qt::LeftButton);
        }
        checkState(rig.p(), State(state));
        QCOMPARE(rig.sounds.played, sounds);
        QVERIFY(rig.errors.isEmpty());
    }

    // The first scope-on leaves the trace's designed corner where it is.
    void firstScopeOnDoesNotCentre() {
        ModelRig rig;
        rig.scopeOn();
        checkTrace(rig, 4, 2565, 2040, 70, 50);
        QVERIFY(rig.p().i1[4]->picture());
    }

    void generatorOffCentresTheSpot() {
        ModelRig rig;
        rig.scopeOn();
        rig.generatorOn();
        rig.generatorOff();
        checkTrace(rig, 3, 2535, 2025, 70, 50);
    }

    void generatorOffCentresOnTheOffsets() {
        ModelRig rig;
        rig.scopeOn();
        rig.p().sl1->setValue(-1000);
        rig.p().sl2->setValue(400);
        rig.generatorOn();
        rig.generatorOff();
        checkTrace(rig, 3, 2570 - 1000 - 35, 2050 + 400 - 25, 70, 50);
    }

    // Scope off while generating: hidden, holding the centred spot; scope on
    // again shows the stroke in the same place.
    void scopeOffWhileGeneratingThenOnAgain() {
        ModelRig rig;
        rig.scopeOn();
        rig.p().sl1->setValue(500);
        rig.sweepXY();
        rig.generatorOn();
        rig.scopeOff();
        checkState(rig.p(), ScopeOff);
        checkTrace(rig, 3, 2570 + 500 - 35, 2025, 70, 50);
        rig.scopeOn();
        checkState(rig.p(), ScopeOnly);
        checkTrace(rig, 4, 2570 + 500 - 35, 2025, 70, 50);
    }

    void generatorOnInTheSweepAlongYKeepsTheWidth() {
        ModelRig rig;
        rig.scopeOn();
        rig.generatorOn();
        checkTrace(rig, 4, 2565, 1000, 70, 2100);
    }

    void generatorOnInTheXYSweepShowsTheSelectedShape_data() {
        QTest::addColumn<int>("shape");
        QTest::newRow("sawtooth") << 0;
        QTest::newRow("sine") << 1;
        QTest::newRow("rectangle") << 2;
    }
    void generatorOnInTheXYSweepShowsTheSelectedShape() {
        QFETCH(int, shape);
        ModelRig rig;
        rig.p().signal[shape]->setChecked(true);
        rig.scopeOn();
        rig.sweepXY();
        rig.generatorOn();
        checkTrace(rig, shape, -7430, 1000, 20000, 2100);
    }

    // With no shape selected at all the sawtooth is used.
    void generatorOnWithNoShapeSelected() {
        ModelRig rig;
        rig.p().signal[0]->group()->setExclusive(false);
        for (QRadioButton* b : rig.p().signal) {
            b->setChecked(false);
        }
        rig.scopeOn();
        rig.sweepXY();
        rig.generatorOn();
        QCOMPARE(rig.tracePicture(), 0);
    }

    // What the panel looks like at the moment each sound is asked for.
    void stepOrder() {
        ModelRig rig;
        Panel& p = rig.p();
        QStringList seen;
        rig.sounds.onPlay = [&](const QString& name) {
            seen << QStringLiteral("%1 lamp4=%2 lamp2=%3 visible=%4 pic=%5 w=%6 sig0=%7 sl1=%8")
                        .arg(name)
                        .arg(p.Форма4->fillColor())
                        .arg(p.Форма2->fillColor())
                        .arg(!p.ii->isHidden())
                        .arg(rig.tracePicture())
                        .arg(p.ii->Width())
                        .arg(p.signal[0]->isEnabled())
                        .arg(p.sl1->isEnabled());
        };
        rig.scopeOn();
        rig.generatorOn();
        rig.scopeOff();
        const QStringList expected{
            // scope on: lamp first, then the sound, before the trace and enabling
            "/whip.wav lamp4=65280 lamp2=192 visible=0 pic=-1 w=1575 sig0=0 sl1=0",
            // generator on: lamp, sound, then enabling and the trace
            "/Sldwst2.wav lamp4=65280 lamp2=65280 visible=1 pic=4 w=70 sig0=0 sl1=1",
            // scope off: lamp, sound, trace hidden after
            "/whip.wav lamp4=192 lamp2=65280 visible=1 pic=4 w=70 sig0=1 sl1=1",
            // generator off (twice): the trace is already the spot, lamp dark
            "/Sldwst.wav lamp4=192 lamp2=192 visible=0 pic=3 w=70 sig0=1 sl1=1",
            "/Sldwst.wav lamp4=192 lamp2=192 visible=0 pic=3 w=70 sig0=0 sl1=1",
        };
        QCOMPARE(seen, expected);
    }

    // A missing sound file: the default beep, and every other step done.
    void missingSoundFileBeeps() {
        QTemporaryDir empty;
        int beeps = 0;
        FilePlayer player(empty.path(), [&] { ++beeps; });
        Panel panel;
        QStringList errors;
        Model model(panel, player, [&](const QString& e) { errors << e; });
        panel.Опция6->setChecked(true);
        panel.Опция1->setChecked(true);
        QCOMPARE(beeps, 2);
        QVERIFY(panel.sl4->isEnabled());
        QCOMPARE(panel.Форма2->fillColor(), 65280);
        QVERIFY(errors.isEmpty());
    }

    // A file the system cannot play is never handed to it: the beep instead.
    void unplayableSoundFileBeeps_data() {
        QTest::addColumn<qsizetype>("length");
        QTest::addColumn<int>("beeps");
        QTest::newRow("empty") << qsizetype(0) << 1;
        QTest::newRow("cut in its header") << qsizetype(30) << 1;
        QTest::newRow("cut in its samples") << qsizetype(-200) << 1;
#ifdef Q_OS_WIN
        // Elsewhere Qt's sample cache goes on loading a whole file in a
        // thread of its own after the test; test_faults plays them there.
        QTest::newRow("whole") << qsizetype(-1) << 0;
#endif
    }

    void unplayableSoundFileBeeps() {
        QFETCH(qsizetype, length);
        QFETCH(int, beeps);
        QFile source(QStringLiteral(VIRTALAB_ASSETS "/whip.wav"));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray bytes = source.readAll();
        bytes.truncate(length >= 0 ? length : bytes.size() + length + 1);
        QTemporaryDir dir;
        QFile file(dir.filePath("whip.wav"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();
        int heard = 0;
        FilePlayer player(dir.path(), [&] { ++heard; });
        player.play(QStringLiteral("/whip.wav"));
        QCOMPARE(heard, beeps);
    }
};

QTEST_MAIN(TestPower)
#include "test_power.moc"
