// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what a screen reader can reach of the desktop program's window
// when it opens, as JSON (the same description the browser's page mirrors),
// for the browser checks to compare with the page's.
#include "app/mainwindow.h"
#include "platform/accessibletree.h"
#include "platform/printing/printing.h"
#include "platform/sound/soundplayer.h"

#include <QApplication>

#include <cstdio>

namespace {

struct Silent : SoundPlayer, Printing {
    void play(const QString&) override {}
    QString print(QWidget&, QWidget*) override { return {}; }
};

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Silent services;
    MainWindow window(services, services, [](const QString&) {});
    window.show();
    QApplication::processEvents();
    std::fputs(accessibletree::json(accessibletree::nodes()).constData(), stdout);
    return 0;
}
