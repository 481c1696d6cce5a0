// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/model.h"

#include "panel/panel.h"
#include "panel/slider.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

void Model::connectTraceHandlers() {
    const auto on = [this](Slider* slider, void (Model::*handler)()) {
        connect(slider, &QSlider::valueChanged, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    on(p.sl1, &Model::sl1Changed);
    on(p.sl2, &Model::sl2Changed);
    on(p.sl3, &Model::sl3Changed);
    on(p.sl4, &Model::sl4Changed);
    on(p.sl5, &Model::sl5Changed);
    on(p.sl6, &Model::sl6Changed);
    connect(p.Комманда1, &QPushButton::clicked, this,
            [this] { guarded([this] { centreClicked(); }); });
}

void Model::sl1Changed() {
    m_steps.xcentr();
}

void Model::sl2Changed() {
    m_steps.ycentr();
}

void Model::sl3Changed() {
    p.t3->setText(QString::number(p.sl3->value()));
    m_steps.ystroy();
}

void Model::sl4Changed() {
    p.t4->setText(QString::number(p.sl4->value()));
    if (!p.Опция2->isChecked()) {
        m_steps.xystroy();
    }
}

void Model::sl5Changed() {
    p.Текст1->setText(QString::number(p.sl5->value()));
    if (p.Опция1->isChecked()) {
        m_steps.ystroy();
    }
}

void Model::sl6Changed() {
    p.Текст2->setText(QString::number(p.sl6->value()));
    if (!p.Опция2->isChecked()) {
        if (p.Опция1->isChecked()) {
            m_steps.xystroy();
        }
    }
}

// Computes nothing itself: the trace follows through the sliders' own
// notifications, Y first.
void Model::centreClicked() {
    p.sl2->setValueNotify(0);
    p.sl1->setValueNotify(0);
}
