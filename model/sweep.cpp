// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/model.h"

#include "panel/designed.h"
#include "panel/imagecontrol.h"
#include "panel/panel.h"

#include <QRadioButton>

void Model::connectSweepHandlers() {
    whenSelected(p.Опция2, [this] { sweepAlongY(); });
    whenSelected(p.Опция3, [this] { sweepAlongXY(); });
    for (int index = 0; index < static_cast<int>(p.signal.size()); ++index) {
        whenSelected(p.signal[index], [this, index] { signalChosen(index); });
    }
}

void Model::sweepAlongY() {
    if (p.Опция1->isChecked()) {
        p.ii->setPicture(p.i1[designed::Stroke]->picture());
        p.ii->setWidth(50);
        m_steps.ystroy();
    }
    m_steps.ycentr();
    m_steps.xcentr();
}

void Model::sweepAlongXY() {
    if (p.Опция1->isChecked()) {
        p.ii->setPicture(p.i1[selectedSignal()]->picture());
        m_steps.xystroy();
    }
}

void Model::signalChosen(int index) {
    if (!p.Опция2->isChecked()) {
        p.ii->setPicture(p.i1[index]->picture());
    }
}

// The last selected shape wins; with none selected the sawtooth is used.
int Model::selectedSignal() const {
    int k = 0;
    for (int index = 0; index < static_cast<int>(p.signal.size()); ++index) {
        if (p.signal[index]->isChecked()) {
            k = index;
        }
    }
    return k;
}
