// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <array>

class QGroupBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ImageControl;
class LineControl;
class ShapeControl;
class Slider;

// The instrument panel: the main window's client area with every control
// under its designed name, built in the designed all-off state. The panel
// owns its controls (Qt parent ownership); the pointers below only name them.
class Panel : public QWidget {
public:
    explicit Panel(QWidget* parent = nullptr);

    // Window Форма1
    QPushButton* Комманда1 = nullptr;
    QGroupBox* Рамка7 = nullptr;
    QFrame* pole = nullptr;
    QGroupBox* Рамка3 = nullptr;
    QGroupBox* Рамка2 = nullptr;
    QGroupBox* Рамка1 = nullptr;
    QGroupBox* Рамка5 = nullptr;
    std::array<ImageControl*, 5> i1{};
    ImageControl* Изображение5 = nullptr;
    ImageControl* Изображение4 = nullptr;
    ImageControl* Изображение3 = nullptr;
    ImageControl* Изображение2 = nullptr;

    // Рамка1, oscilloscope controls
    QGroupBox* pp = nullptr;
    QRadioButton* Опция2 = nullptr;
    QRadioButton* Опция3 = nullptr;
    QLabel* Метка1 = nullptr;
    QLineEdit* Текст1 = nullptr;
    Slider* sl5 = nullptr;
    QLabel* Метка7 = nullptr;
    QLineEdit* Текст2 = nullptr;
    Slider* sl6 = nullptr;

    // pp, oscilloscope power
    QRadioButton* Опция6 = nullptr;
    QRadioButton* Опция5 = nullptr;
    ShapeControl* Форма4 = nullptr;

    // Рамка7, signal shape
    std::array<QRadioButton*, 3> signal{};
    QLabel* Метка6 = nullptr;

    // pole, the screen, front to back
    LineControl* Строка2 = nullptr;
    LineControl* Строка1 = nullptr;
    QWidget* SpriteControl1 = nullptr;
    ImageControl* ii = nullptr;
    ImageControl* Изображение7 = nullptr;

    // Рамка2, Y offset
    Slider* sl2 = nullptr;
    QLabel* Метка3 = nullptr;

    // Рамка5, X offset
    Slider* sl1 = nullptr;
    QLabel* Метка2 = nullptr;

    // Рамка3, signal-source unit
    QGroupBox* Рамка6 = nullptr;
    QLineEdit* t4 = nullptr;
    QLineEdit* t3 = nullptr;
    Slider* sl3 = nullptr;
    Slider* sl4 = nullptr;
    QLabel* Метка5 = nullptr;
    QLabel* Метка4 = nullptr;

    // Рамка6, signal-source power
    QRadioButton* Опция4 = nullptr;
    QRadioButton* Опция1 = nullptr;
    ShapeControl* Форма2 = nullptr;

    // Index k of the source picture i1(k) that the trace ii shows; -1 for
    // none.
    int tracePicture() const;

protected:
    // The screen's sunken border, around its drawing area.
    void paintEvent(QPaintEvent* event) override;

private:
    // Gives every image control its picture; separate from the layout so the
    // layout reads like the control tables.
    void loadPictures();

    // Names for assistive tools, in the words the student sees.
    void nameControls();

    // Makes each option group one Tab stop, at its selected option.
    void tabStopsAtSelection();
};
