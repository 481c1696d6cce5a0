// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include "app/version.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QStyle>
#include <QTranslator>
#include <QWidget>

void prepareApplication(QTranslator& qtTranslator) {
    QApplication::setApplicationName(QStringLiteral("Вирталаб"));
    QApplication::setApplicationVersion(QLatin1String(version::file));
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    fonts::install();
    // The browser's build carries Qt's translations inside it.
    for (const QString& folder :
         {QLibraryInfo::path(QLibraryInfo::TranslationsPath), QStringLiteral(":/translations")}) {
        if (qtTranslator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"),
                              QStringLiteral("_"), folder)) {
            QApplication::installTranslator(&qtTranslator);
            break;
        }
    }
}

void centreOnScreen(QWidget& window) {
    window.adjustSize();
    if (const QScreen* screen = window.screen()) {
        window.move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.frameSize(),
                                        screen->availableGeometry())
                        .topLeft());
    }
}
