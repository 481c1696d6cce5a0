// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"

#include "app/aboutbox.h"
#include "app/version.h"

#include "model/model.h"
#include "panel/panel.h"
#include "panel/slider.h"
#include "panel/twips.h"
#include "platform/modal.h"
#include "platform/pictures/pictureloader.h"
#include "platform/printing/printing.h"

#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>

MainWindow::MainWindow(SoundPlayer& sounds, Printing& printing,
                       std::function<void(const QString&)> fatal, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                              Qt::MSWindowsFixedSizeDialogHint),
      m_printing(printing) {
    setObjectName(QStringLiteral("Форма1"));
    setWindowTitle(QStringLiteral("Вирталаб     Ver.") + QLatin1String(version::shown));
    setWindowIcon(QIcon(QStringLiteral(":/assets/virtalab.ico")));

    // The client shows only the panel's top part; the source pictures below
    // it stay out of sight.
    m_client = new QWidget(this);
    m_client->setFixedSize(twips::toPx(clientWidthTwips), twips::toPx(clientHeightTwips));
    m_panel = new Panel(m_client);
    m_panel->move(0, 0);
    setCentralWidget(m_client);

    QMenu* меню = menuBar()->addMenu(QStringLiteral("&Меню"));
    меню->setObjectName(QStringLiteral("меню"));
    print = меню->addAction(QStringLiteral("&Печать"));
    print->setObjectName(QStringLiteral("print"));
    aaaaaa = меню->addSeparator();
    aaaaaa->setObjectName(QStringLiteral("aaaaaa"));
    help = меню->addAction(QStringLiteral("&О программе..."));
    help->setObjectName(QStringLiteral("help"));
    connect(print, &QAction::triggered, this, &MainWindow::onPrint);
    connect(help, &QAction::triggered, this, &MainWindow::onHelp);

    m_model = new Model(*m_panel, sounds, std::move(fatal), this);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    load();
}

MainWindow::~MainWindow() = default;

void MainWindow::load() {
    m_panel->t4->setText(QString::number(m_panel->sl4->value()));
    m_panel->t3->setText(QString::number(m_panel->sl3->value()));
}

void MainWindow::onPrint() {
    const QString error = m_printing.print(*m_client, this);
    if (!error.isEmpty()) {
        modal::message(this, QMessageBox::Warning, QStringLiteral("Печать"), error);
    }
}

// A fresh box each time, so every showing starts in its designed state.
void MainWindow::onHelp() {
    PicturePtr title;
    try {
        title = loadPicture(QStringLiteral(":/assets/title.emf"));
    } catch (const PictureError& error) {
        // The box is still worth showing without its title picture.
        qWarning("%s", error.what());
    }
    modal::show(new AboutBox(title, windowIcon(), this));
}
