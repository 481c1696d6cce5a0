// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/rig.h"

#include "app/mainwindow.h"
#include "panel/panel.h"
#include "panel/slider.h"

#include <QApplication>
#include <QRadioButton>

Rig::Rig()
    : m_window(std::make_unique<MainWindow>(
          m_silence, m_printing, [this](const QString& message) { m_error = message; })) {
    m_window->adjustSize();
    m_window->show();
    Panel& p = panel();
    p.Опция6->setChecked(true);
    p.Опция1->setChecked(true);
    p.Опция3->setChecked(true);
    settle();
}

Rig::~Rig() = default;

Panel& Rig::panel() const {
    return m_window->panel();
}

void Rig::chooseSignal(int index) {
    panel().signal.at(static_cast<std::size_t>(index))->setChecked(true);
    settle();
}

void Rig::set(const TraceSetting& setting) {
    Panel& p = panel();
    p.sl6->setValue(setting.timePerDivision);
    p.sl4->setValue(setting.frequency);
    p.sl5->setValue(setting.gain);
    p.sl3->setValue(setting.voltage);
    settle();
}

void Rig::settle() {
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}
