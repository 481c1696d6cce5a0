#include "model/model.h"

#include "panel/imagecontrol.h"
#include "panel/panel.h"

#include <QRadioButton>

// Handlers run when their option becomes selected; choosing the option that
// is already selected runs nothing.
void Model::connectSweepHandlers() {
    connect(p.Опция2, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected) {
            guarded([this] { sweepAlongY(); });
        }
    });
    connect(p.Опция3, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected) {
            guarded([this] { sweepAlongXY(); });
        }
    });
    for (int index = 0; index < static_cast<int>(p.signal.size()); ++index) {
        connect(p.signal[index], &QRadioButton::toggled, this, [this, index](bool selected) {
            if (selected) {
                guarded([this, index] { signalChosen(index); });
            }
        });
    }
}

void Model::sweepAlongY() {
    if (p.Опция1->isChecked()) {
        p.ii->setPicture(p.i1[4]->picture());
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
