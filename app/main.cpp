// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "app/startup.h"
#include "platform/modal.h"
#include "platform/printing/printservice.h"
#include "platform/showwindow.h"
#include "platform/sound/switchsounds.h"

#include <QApplication>
#include <QTranslator>

#include <memory>

int main(int argc, char* argv[]) {
    // No command line is read: Qt gets the program's name alone, so that its
    // own options (-reverse, -style, -platform …) cannot change the panel.
    // The environment still reaches Qt.
    char fallbackName[] = "virtalab";
    char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
    int qtArgc = 1;
    QApplication app(qtArgc, qtArgv);
    // Qt's own dialogs and buttons (the printer dialog, message boxes) in Russian.
    QTranslator qtTranslator;
    prepareApplication(qtTranslator);

    // Printing comes from the program's module on first use; so do the
    // switch sounds where the system has no player of its own.
    const auto sounds =
        makeSwitchSounds(QApplication::applicationDirPath(), [] { QApplication::beep(); });
    const auto printing = makePrinting(QApplication::applicationDirPath());

    // The pictures are built into the program; one that cannot be read means
    // a damaged build, reported plainly rather than as a crash. An error
    // escaping a handler is shown by name, then the program ends.
    std::unique_ptr<MainWindow> window;
    try {
        window = std::make_unique<MainWindow>(*sounds, *printing, modal::stop);
    } catch (const std::exception& error) {
        modal::stop(QStringLiteral("Программа не может запуститься: %1")
                        .arg(QString::fromUtf8(error.what())));
        // The browser keeps showing the message; the desktop has ended.
        return QApplication::exec();
    }
    centreOnScreen(*window);
    showMainWindow(*window);
    return QApplication::exec();
}
