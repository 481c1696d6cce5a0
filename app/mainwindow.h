// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <functional>

class QAction;
class Panel;
class Model;
class Printing;
class SoundPlayer;

// The main window Форма1: a fixed-size frame around the instrument panel with
// the menu "Меню" (print, about). Everything else lives in the panel and the
// model.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // printing serves the menu's print command; fatal is called with the
    // message of an error that escapes a handler.
    MainWindow(SoundPlayer& sounds, Printing& printing, std::function<void(const QString&)> fatal,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    Panel& panel() const { return *m_panel; }
    Model& model() const { return *m_model; }

    QAction* print = nullptr;
    QAction* aaaaaa = nullptr;
    QAction* help = nullptr;

    // Visible client area below the menu bar, in twips.
    static constexpr int clientWidthTwips = 8910;
    static constexpr int clientHeightTwips = 6490;

private:
    void load();
    void onPrint();
    void onHelp();

    QWidget* m_client = nullptr;
    Panel* m_panel = nullptr;
    Model* m_model = nullptr;
    Printing& m_printing;
};
