#include "app/mainwindow.h"
#include "platform/soundplayer.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QTranslator>

#include <cstdlib>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Вирталаб"));
    QApplication::setApplicationVersion(QStringLiteral("2.0.0.1"));

    // Qt's own dialogs and buttons (the printer dialog, message boxes) in Russian.
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslator);
    }

    SwitchSoundPlayer sounds(QApplication::applicationDirPath(), [] { QApplication::beep(); });

    // An error escaping a handler is shown by name, then the program ends.
    const auto fatal = [](const QString& message) {
        QMessageBox::critical(nullptr, QStringLiteral("Вирталаб"), message);
        std::exit(EXIT_FAILURE);
    };

    MainWindow window(sounds, fatal);
    window.adjustSize();
    if (const QScreen* screen = window.screen()) {
        window.move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.frameSize(),
                                        screen->availableGeometry())
                        .topLeft());
    }
    window.show();
    return QApplication::exec();
}
