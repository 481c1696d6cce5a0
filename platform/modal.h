// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>

class QDialog;
class QWidget;

// Modal windows. On the desktop the call returns once the window has
// closed. The browser runs no event loop inside another, so there the
// window opens modal over the program and the call returns at once; the
// window goes on by itself.
namespace modal {

// Shows a dialog modally and deletes it once it has closed.
void show(QDialog* dialog);

// A message box with an OK button, modal over parent (or the program).
void message(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text);

// Reports an error after which the program cannot go on, and ends it once
// the message has been read. A page cannot end itself: in the browser the
// program's windows close and the page says that it has stopped.
void stop(const QString& message);

} // namespace modal
