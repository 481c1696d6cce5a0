// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fonts.h"

#ifdef Q_OS_WASM
#include <QFontDatabase>
#include <QGuiApplication>
#endif

namespace fonts {

namespace {

// The face Windows names, or its metric stand-in elsewhere.
QFont face(const QString& windows, const QString& standIn, double points) {
#ifdef Q_OS_WIN
    QFont font(windows);
    Q_UNUSED(standIn)
#else
    QFont font(standIn);
    Q_UNUSED(windows)
#endif
    font.setPointSizeF(points);
    return font;
}

} // namespace

void install() {
#ifdef Q_OS_WASM
    // Carried inside the program, in place of Qt's own whole faces.
    for (const char* file : {":/fonts/DejaVuSans.ttf", ":/fonts/LiberationSans-Regular.ttf",
                             ":/fonts/LiberationSerif-Bold.ttf"}) {
        QFontDatabase::addApplicationFont(QString::fromLatin1(file));
    }
    // Debian's default face, as the desktop's menu and message boxes have it.
    QGuiApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
#endif
}

// "MS Sans Serif" is a bitmap face Qt does not draw; Windows' TrueType face
// of the same design and metrics takes its name. The window's default is
// that face at 8 pt, as Windows gives a form of the designed kind; the
// system's newer user-interface fonts (Tahoma, Segoe UI) are wider, and the
// designed captions do not fit them.
QFont window() {
    return sans(8);
}

QFont sans(double points) {
    return face(QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"), points);
}

QFont serifBold(double points) {
    QFont font =
        face(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"), points);
    font.setBold(true);
    return font;
}

} // namespace fonts
