// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/model.h"

#include "panel/designed.h"
#include "panel/imagecontrol.h"
#include "panel/panel.h"
#include "panel/shapecontrol.h"
#include "panel/slider.h"
#include "platform/sound/soundplayer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>

namespace {

// The controls each unit switches on and off with itself, in the order its
// sequences switch them.
std::array<QWidget*, 15> scopeControls(const Panel& p) {
    return {p.Опция1, p.Опция2, p.Опция3, p.Опция4, p.Метка1, p.Метка2, p.Метка3,   p.Метка7,
            p.Текст1, p.Текст2, p.sl2,    p.sl1,    p.sl5,    p.sl6,    p.Комманда1};
}

std::array<QWidget*, 10> generatorControls(const Panel& p) {
    return {p.signal[0], p.signal[1], p.signal[2], p.Метка4, p.Метка5,
            p.Метка6,    p.t3,        p.t4,        p.sl3,    p.sl4};
}

template <std::size_t N> void setEnabled(const std::array<QWidget*, N>& controls, bool enabled) {
    for (QWidget* control : controls) {
        control->setEnabled(enabled);
    }
}

} // namespace

void Model::connectPowerHandlers() {
    whenSelected(p.Опция6, [this] { scopeOn(); });
    whenSelected(p.Опция5, [this] { scopeOff(); });
    whenSelected(p.Опция1, [this] { generatorOn(); });
    whenSelected(p.Опция4, [this] { generatorOff(); });
}

void Model::scopeOn() {
    p.Форма4->setFillColor(designed::lampOn);
    m_sounds.play(QStringLiteral("/whip.wav"));
    p.ii->setVisible(true);
    p.ii->setPicture(p.i1[designed::Stroke]->picture());
    p.ii->setHeight(50);
    p.ii->setWidth(70);
    setEnabled(scopeControls(p), true);
}

void Model::scopeOff() {
    p.Форма4->setFillColor(designed::lampOff);
    m_sounds.play(QStringLiteral("/whip.wav"));
    p.ii->setVisible(false);
    if (p.Опция1->isChecked()) {
        generatorOff();
        // Selecting Опция4 runs the generator-off sequence once more.
        p.Опция4->setChecked(true);
    }
    setEnabled(scopeControls(p), false);
}

void Model::generatorOn() {
    p.Форма2->setFillColor(designed::lampOn);
    m_sounds.play(QStringLiteral("/Sldwst2.wav"));
    setEnabled(generatorControls(p), true);
    if (p.Опция3->isChecked()) {
        p.ii->setPicture(p.i1[selectedSignal()]->picture());
        m_steps.xystroy();
    } else {
        p.ii->setPicture(p.i1[designed::Stroke]->picture());
        m_steps.ystroy();
    }
}

// Unlike the other sequences, the trace changes before the lamp and sound.
void Model::generatorOff() {
    p.ii->setPicture(p.i1[designed::Spot]->picture());
    p.ii->setHeight(50);
    p.ii->setWidth(70);
    m_steps.ycentr();
    m_steps.xcentr();
    p.Форма2->setFillColor(designed::lampOff);
    m_sounds.play(QStringLiteral("/Sldwst.wav"));
    setEnabled(generatorControls(p), false);
}
