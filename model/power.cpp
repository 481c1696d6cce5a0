#include "model/model.h"

#include "panel/imagecontrol.h"
#include "panel/panel.h"
#include "panel/shapecontrol.h"
#include "panel/slider.h"
#include "platform/soundplayer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int lampOn = 65280;
constexpr int lampOff = 192;

} // namespace

// Each sequence runs when its button becomes selected, by the user or by
// code; a click on the button that is already selected runs nothing.
void Model::connectPowerHandlers() {
    const auto on = [this](QRadioButton* button, void (Model::*sequence)()) {
        connect(button, &QRadioButton::toggled, this, [this, sequence](bool selected) {
            if (selected) {
                guarded([this, sequence] { (this->*sequence)(); });
            }
        });
    };
    on(p.Опция6, &Model::scopeOn);
    on(p.Опция5, &Model::scopeOff);
    on(p.Опция1, &Model::generatorOn);
    on(p.Опция4, &Model::generatorOff);
}

void Model::scopeOn() {
    p.Форма4->setFillColor(lampOn);
    m_sounds.play(QStringLiteral("/whip.wav"));
    p.ii->setVisible(true);
    p.ii->setPicture(p.i1[4]->picture());
    p.ii->setHeight(50);
    p.ii->setWidth(70);
    p.Опция1->setEnabled(true);
    p.Опция2->setEnabled(true);
    p.Опция3->setEnabled(true);
    p.Опция4->setEnabled(true);
    p.Метка1->setEnabled(true);
    p.Метка2->setEnabled(true);
    p.Метка3->setEnabled(true);
    p.Метка7->setEnabled(true);
    p.Текст1->setEnabled(true);
    p.Текст2->setEnabled(true);
    p.sl2->setEnabled(true);
    p.sl1->setEnabled(true);
    p.sl5->setEnabled(true);
    p.sl6->setEnabled(true);
    p.Комманда1->setEnabled(true);
}

void Model::scopeOff() {
    p.Форма4->setFillColor(lampOff);
    m_sounds.play(QStringLiteral("/whip.wav"));
    p.ii->setVisible(false);
    if (p.Опция1->isChecked()) {
        generatorOff();
        // Selecting Опция4 runs the generator-off sequence once more.
        p.Опция4->setChecked(true);
    }
    p.Опция1->setEnabled(false);
    p.Опция2->setEnabled(false);
    p.Опция3->setEnabled(false);
    p.Опция4->setEnabled(false);
    p.Метка1->setEnabled(false);
    p.Метка2->setEnabled(false);
    p.Метка3->setEnabled(false);
    p.Метка7->setEnabled(false);
    p.Текст1->setEnabled(false);
    p.Текст2->setEnabled(false);
    p.sl2->setEnabled(false);
    p.sl1->setEnabled(false);
    p.sl5->setEnabled(false);
    p.sl6->setEnabled(false);
    p.Комманда1->setEnabled(false);
}

void Model::generatorOn() {
    p.Форма2->setFillColor(lampOn);
    m_sounds.play(QStringLiteral("/Sldwst2.wav"));
    p.signal[0]->setEnabled(true);
    p.signal[1]->setEnabled(true);
    p.signal[2]->setEnabled(true);
    p.Метка4->setEnabled(true);
    p.Метка5->setEnabled(true);
    p.Метка6->setEnabled(true);
    p.t3->setEnabled(true);
    p.t4->setEnabled(true);
    p.sl3->setEnabled(true);
    p.sl4->setEnabled(true);
    if (p.Опция3->isChecked()) {
        p.ii->setPicture(p.i1[selectedSignal()]->picture());
        m_steps.xystroy();
    } else {
        p.ii->setPicture(p.i1[4]->picture());
        m_steps.ystroy();
    }
}

// Unlike the other sequences, the trace changes before the lamp and sound.
void Model::generatorOff() {
    p.ii->setPicture(p.i1[3]->picture());
    p.ii->setHeight(50);
    p.ii->setWidth(70);
    m_steps.ycentr();
    m_steps.xcentr();
    p.Форма2->setFillColor(lampOff);
    m_sounds.play(QStringLiteral("/Sldwst.wav"));
    p.signal[0]->setEnabled(false);
    p.signal[1]->setEnabled(false);
    p.signal[2]->setEnabled(false);
    p.Метка4->setEnabled(false);
    p.Метка5->setEnabled(false);
    p.Метка6->setEnabled(false);
    p.t3->setEnabled(false);
    p.t4->setEnabled(false);
    p.sl3->setEnabled(false);
    p.sl4->setEnabled(false);
}
