// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the README's pictures from the real program: the main window with
// both units on and the sine in the sweep along X and Y, and the about box.
// Both are built offscreen and driven through the same handlers as a
// student's clicks, so the pictures show what the program shows.
//
//   virtalab-pictures <folder>   writes panel.png and about.png there

#include "app/aboutbox.h"
#include "app/mainwindow.h"
#include "app/startup.h"
#include "panel/panel.h"
#include "platform/pictures/pictureloader.h"
#include "platform/printing/moduleprinting.h"
#include "platform/sound/soundplayer.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QRadioButton>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

namespace {

class Silence : public SoundPlayer {
public:
    void play(const QString&) override {}
};

bool save(QWidget& widget, const QDir& folder, const QString& name) {
    QApplication::processEvents();
    const QString path = folder.filePath(name);
    if (!widget.grab().save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qUtf8Printable(path));
        return false;
    }
    std::printf("%s\n", qUtf8Printable(path));
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    // The pictures must not depend on the desktop they are made on.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QTranslator qtTranslator;
    prepareApplication(qtTranslator);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }

    Silence sounds;
    ModulePrinting printing{QString()}; // never used: nothing is printed
    MainWindow window(sounds, printing, [](const QString& message) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(message));
        std::exit(1);
    });
    window.show();
    Panel& p = window.panel();
    p.Опция6->click();
    p.Опция1->click();
    p.Опция3->click();
    if (!save(window, folder, QStringLiteral("panel.png"))) {
        return 1;
    }

    AboutBox about(loadPicture(QStringLiteral(":/assets/title.emf")), window.windowIcon(), &window);
    about.show();
    return save(about, folder, QStringLiteral("about.png")) ? 0 : 1;
}
