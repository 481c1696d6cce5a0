// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up as a student meets it: the program's own start-up steps, the
// main window built and shown, ended at its first paint. Run under
// /usr/bin/time for wall time and peak memory. It prints the census of the
// panel's controls by standard kind, for the bare probe to build the same
// number: "QGroupBox=7 QLabel=7 ... client=594x432".

#include "bench/firstpaint.h"

#include "app/mainwindow.h"
#include "app/startup.h"
#include "panel/panel.h"
#include "platform/printing/moduleprinting.h"
#include "platform/sound/modulesoundplayer.h"

#include <QApplication>
#include <QMap>
#include <QTextStream>
#include <QTranslator>
#include <cstdlib>
#include <memory>

namespace {

// The standard control each of the panel's controls is, or stands in for.
QString kindOf(const QWidget* control) {
    for (const char* kind :
         {"QPushButton", "QRadioButton", "QLabel", "QLineEdit", "QSlider", "QGroupBox"}) {
        if (control->inherits(kind)) {
            return QString::fromLatin1(kind);
        }
    }
    return QStringLiteral("QFrame");
}

QString census(const MainWindow& window) {
    QMap<QString, int> counts;
    for (const QWidget* control : window.panel().findChildren<QWidget*>()) {
        ++counts[kindOf(control)];
    }
    QString line;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        line += QStringLiteral("%1=%2 ").arg(it.key()).arg(it.value());
    }
    const QSize client = window.centralWidget()->size();
    return line + QStringLiteral("client=%1x%2").arg(client.width()).arg(client.height());
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTranslator qtTranslator;
    prepareApplication(qtTranslator);
    ModuleSoundPlayer sounds(QApplication::applicationDirPath(), [] { QApplication::beep(); });
    ModulePrinting printing(QApplication::applicationDirPath());

    std::unique_ptr<MainWindow> window;
    try {
        window = std::make_unique<MainWindow>(sounds, printing, [](const QString& message) {
            QTextStream(stderr) << message << '\n';
            std::exit(EXIT_FAILURE);
        });
    } catch (const std::exception& error) {
        QTextStream(stderr) << error.what() << '\n';
        return EXIT_FAILURE;
    }
    centreOnScreen(*window);
    new FirstPaint(window.get());
    window->show();
    const int status = QApplication::exec();
    QTextStream(stdout) << census(*window) << '\n';
    return status;
}
