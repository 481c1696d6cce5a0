// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/model.h"
#include "panel/imagecontrol.h"
#include "panel/panel.h"
#include "panel/shapecontrol.h"
#include "panel/slider.h"
#include "platform/sound/soundplayer.h"

#include <QRadioButton>
#include <QStringList>
#include <cstring>
#include <functional>

// Records every sound the model asks for; onPlay lets a test look at the
// panel at that very moment.
struct RecordingSounds : SoundPlayer {
    QStringList played;
    std::function<void(const QString&)> onPlay;

    void play(const QString& name) override {
        played << name;
        if (onPlay) {
            onPlay(name);
        }
    }
};

// A panel driven by the real model, with sounds and fatal errors recorded.
struct ModelRig {
    Panel panel;
    RecordingSounds sounds;
    QStringList errors;
    Model model{panel, sounds, [this](const QString& e) { errors << e; }};

    ModelRig() { panel.show(); }

    Panel& p() { return panel; }

    // Index of the i1 picture the trace holds, -1 for none or another.
    int tracePicture() const { return panel.tracePicture(); }

    void scopeOn() { panel.Опция6->setChecked(true); }
    void scopeOff() { panel.Опция5->setChecked(true); }
    void generatorOn() { panel.Опция1->setChecked(true); }
    void generatorOff() { panel.Опция4->setChecked(true); }
    void sweepY() { panel.Опция2->setChecked(true); }
    void sweepXY() { panel.Опция3->setChecked(true); }
};

// Exact comparison of single-precision twips (QCOMPARE on float is fuzzy).
inline bool sameFloat(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

#define COMPARE_EXACT(actual, expected)                                                            \
    QVERIFY2(sameFloat((actual), (expected)), qPrintable(QStringLiteral("%1 = %2, expected %3")    \
                                                             .arg(#actual)                         \
                                                             .arg(double(actual), 0, 'g', 12)      \
                                                             .arg(double(expected), 0, 'g', 12)))
