// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "app/startup.h"
#include "platform/moduleprinting.h"
#include "platform/switchsounds.h"

#include <QApplication>
#include <QMessageBox>
#include <QTranslator>

#include <cstdlib>
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
    ModulePrinting printing(QApplication::applicationDirPath());

    // An error escaping a handler is shown by name, then the program ends.
    const auto fatal = [](const QString& message) {
        QMessageBox::critical(nullptr, QStringLiteral("Вирталаб"), message);
        std::exit(EXIT_FAILURE);
    };

    // The pictures are built into the program; one that cannot be read means
    // a damaged build, reported plainly rather than as a crash.
    std::unique_ptr<MainWindow> window;
    try {
        window = std::make_unique<MainWindow>(*sounds, printing, fatal);
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Вирталаб"),
                              QStringLiteral("Программа не может запуститься: %1")
                                  .arg(QString::fromUtf8(error.what())));
        return EXIT_FAILURE;
    }
    centreOnScreen(*window);
    window->show();
    return QApplication::exec();
}
