// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fonts.h"

#include <QFontDatabase>
#include <QGuiApplication>

void fonts::install() {
    // Carried inside the program, in place of Qt's own whole faces.
    for (const char* file : {":/fonts/DejaVuSans.ttf", ":/fonts/LiberationSans-Regular.ttf",
                             ":/fonts/LiberationSerif-Bold.ttf"}) {
        QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    }
    // Debian's default face, as the desktop's menu and message boxes have it.
    QGuiApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
}
