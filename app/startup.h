// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QTranslator;
class QWidget;

// What the program sets up before its main window exists: its name and
// version, and Russian for Qt's own dialogs and buttons. The translator must
// outlive the application's use of it.
void prepareApplication(QTranslator& qtTranslator);

// Moves a top-level window to the middle of its screen.
void centreOnScreen(QWidget& window);
