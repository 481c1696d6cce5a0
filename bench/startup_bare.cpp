// SPDX-License-Identifier: GPL-3.0-or-later
// The floor for start-up: a bare Qt program showing a main window with a
// menu and the given number of standard controls, ended at its first paint.
// Arguments are a census as startup_probe prints it:
//   startup_bare QGroupBox=7 QLabel=7 ... client=594x432

#include "bench/firstpaint.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTextStream>
#include <cstdlib>

namespace {

QWidget* make(const QString& kind, QWidget* parent) {
    if (kind == QLatin1String("QPushButton")) {
        return new QPushButton(QStringLiteral("Кнопка"), parent);
    }
    if (kind == QLatin1String("QRadioButton")) {
        return new QRadioButton(QStringLiteral("Выбор"), parent);
    }
    if (kind == QLatin1String("QLabel")) {
        return new QLabel(QStringLiteral("Надпись"), parent);
    }
    if (kind == QLatin1String("QLineEdit")) {
        return new QLineEdit(QStringLiteral("10"), parent);
    }
    if (kind == QLatin1String("QSlider")) {
        return new QSlider(Qt::Horizontal, parent);
    }
    if (kind == QLatin1String("QGroupBox")) {
        return new QGroupBox(parent);
    }
    if (kind == QLatin1String("QFrame")) {
        return new QFrame(parent);
    }
    return nullptr;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QMainWindow window;
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("&Меню"));
    menu->addAction(QStringLiteral("&Печать"));
    menu->addSeparator();
    menu->addAction(QStringLiteral("&О программе..."));
    auto* client = new QWidget(&window);
    window.setCentralWidget(client);

    // Controls in rows of cells across the client area.
    constexpr QSize cell(72, 28);
    int placed = 0;
    const QStringList args = QApplication::arguments().mid(1);
    for (const QString& arg : args) {
        const QString name = arg.section(QLatin1Char('='), 0, 0);
        const QString value = arg.section(QLatin1Char('='), 1);
        if (name == QLatin1String("client")) {
            client->setFixedSize(value.section(QLatin1Char('x'), 0, 0).toInt(),
                                 value.section(QLatin1Char('x'), 1).toInt());
            continue;
        }
        bool ok = false;
        const int count = value.toInt(&ok);
        for (int i = 0; ok && i < count; ++i) {
            QWidget* control = make(name, client);
            if (!control) {
                ok = false;
                break;
            }
            const int columns = 8;
            control->setGeometry(QRect(
                QPoint(placed % columns * cell.width(), placed / columns * cell.height()), cell));
            ++placed;
        }
        if (!ok) {
            QTextStream(stderr) << "not a census entry: " << arg << '\n';
            return EXIT_FAILURE;
        }
    }
    window.adjustSize();
    new FirstPaint(&window);
    window.show();
    const int status = QApplication::exec();
    QTextStream(stdout) << "controls=" << placed << '\n';
    return status;
}
