// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/aboutbox.h"
#include "app/mainwindow.h"
#include "modelrig.h"
#include "platform/printing/moduleprinting.h"
#include "platform/printing/printerprinting.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Answers the next modal box with its text, closing it.
QString answerNextModal(const std::function<void()>& trigger) {
    QString text;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            text = box->windowTitle() + '|' + box->text();
            box->close();
        } else if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
            dialog->reject();
        }
    });
    poll.start();
    trigger();
    return text;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    RecordingSounds sounds;
    QStringList errors;

    // The program's own printing, from its print module.
    ModulePrinting printing{QStringLiteral(VIRTALAB_MODULE_DIR)};

    std::unique_ptr<MainWindow> makeWindow(Printing& printing) {
        auto w = std::make_unique<MainWindow>(sounds, printing,
                                              [this](const QString& e) { errors << e; });
        w->show();
        return w;
    }

private slots:
    void titleAndFixedSize() {
        auto w = makeWindow(printing);
        QCOMPARE(w->windowTitle(), QStringLiteral("Вирталаб     Ver.2.0.2"));
        QCOMPARE(w->objectName(), QStringLiteral("Форма1"));
        QCOMPARE(w->minimumSize(), w->maximumSize());
        const Qt::WindowFlags flags = w->windowFlags();
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QCOMPARE(w->centralWidget()->width(), 594);
        QCOMPARE(w->centralWidget()->height(), 433);
        QCOMPARE(w->height(), w->menuBar()->height() + 433);
    }

    // The README's pictures come from the real window and about box, and
    // the same machine makes the same files again.
    void readmePictures() {
#ifndef VIRTALAB_PICTURES
        QSKIP("the pictures are made on the build machine only");
#else
        QTemporaryDir first;
        QTemporaryDir second;
        for (const QTemporaryDir* dir : {&first, &second}) {
            QProcess tool;
            tool.start(QStringLiteral(VIRTALAB_PICTURES), {dir->path()});
            QVERIFY(tool.waitForFinished(60000));
            QVERIFY2(tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0,
                     tool.readAllStandardError().constData());
        }
        auto w = makeWindow(printing);
        AboutBox about(nullptr, QIcon());
        const std::pair<const char*, QSize> pictures[] = {{"panel.png", w->size()},
                                                          {"about.png", about.size()}};
        for (const auto& [name, size] : pictures) {
            QFile made(QDir(first.path()).filePath(name));
            QFile again(QDir(second.path()).filePath(name));
            QVERIFY(made.open(QIODevice::ReadOnly) && again.open(QIODevice::ReadOnly));
            const QByteArray bytes = made.readAll();
            QCOMPARE(QImage::fromData(bytes, "PNG").size(), size);
            QVERIFY2(bytes == again.readAll(), name);
        }
#endif
    }

    // The visible client ends above the strip of source pictures.
    void sourcePicturesOutOfSight() {
        auto w = makeWindow(printing);
        const QWidget* client = w->centralWidget();
        for (const ImageControl* picture : w->panel().i1) {
            const QRect inClient(picture->mapTo(client, QPoint()), picture->size());
            QVERIFY2(!client->rect().intersects(inClient), qPrintable(picture->objectName()));
        }
        QVERIFY(w->panel().Рамка3->geometry().bottom() < client->height());
    }

    void loadStepFillsTheReadouts() {
        auto w = makeWindow(printing);
        QCOMPARE(w->panel().t4->text(), QStringLiteral("10"));
        QCOMPARE(w->panel().t3->text(), QStringLiteral("25"));
    }

    void menu() {
        auto w = makeWindow(printing);
        const QList<QAction*> top = w->menuBar()->actions();
        QCOMPARE(top.size(), 1);
        QCOMPARE(top[0]->text(), QStringLiteral("&Меню"));
        const QList<QAction*> items = top[0]->menu()->actions();
        QCOMPARE(items.size(), 3);
        QCOMPARE(items[0]->text(), QStringLiteral("&Печать"));
        QVERIFY(items[1]->isSeparator());
        QCOMPARE(items[2]->text(), QStringLiteral("&О программе..."));
        QCOMPARE(QKeySequence::mnemonic(items[0]->text()),
                 QKeySequence(Qt::ALT | Qt::Key(QChar(u'П').unicode())));
        QCOMPARE(QKeySequence::mnemonic(items[2]->text()),
                 QKeySequence(Qt::ALT | Qt::Key(QChar(u'О').unicode())));
        QCOMPARE(items[0], w->print);
        QCOMPARE(items[2], w->help);
        // The separator does nothing.
        items[1]->trigger();
        QVERIFY(!QApplication::activeModalWidget());
    }

    void printsOnePageToPdf() {
        QTemporaryDir dir;
        const QString file = dir.filePath("panel.pdf");
        PrinterPrinting toPdf([&](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
        });
        auto w = makeWindow(toPdf);
        w->panel().Опция6->setChecked(true);
        const QString message = answerNextModal([&] { w->print->trigger(); });
        QVERIFY2(message.isEmpty(), qPrintable(message));
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        const qsizetype pages = bytes.count("/Type /Page\n") + bytes.count("/Type /Page ");
        QCOMPARE(pages, qsizetype(1));

        // Vectors, not a page-sized raster: the only images are the panel's
        // own small pictures.
        const QString pdfimages = QStandardPaths::findExecutable("pdfimages");
        if (!pdfimages.isEmpty()) {
            QProcess list;
            list.start(pdfimages, {"-list", file});
            QVERIFY(list.waitForFinished());
            const QStringList lines = QString::fromLatin1(list.readAllStandardOutput()).split('\n');
            for (const QString& line : lines.mid(2)) {
                const QStringList columns = line.simplified().split(' ');
                if (columns.size() > 4) {
                    QVERIFY2(columns[3].toInt() <= 600 && columns[4].toInt() <= 600,
                             qPrintable("page-sized image in the print: " + line));
                }
            }
        }

        // The page shows the panel: the oscilloscope's green lamp is on it.
        const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
        if (pdftoppm.isEmpty()) {
            QSKIP("pdftoppm not installed: page content not checked");
        }
        QProcess::execute(pdftoppm,
                          {"-png", "-r", "50", "-singlefile", file, dir.filePath("page")});
        const QImage page(dir.filePath("page.png"));
        QVERIFY(!page.isNull());
        int green = 0;
        int darkRed = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                green += c.green() > 200 && c.red() < 60 && c.blue() < 60;
                darkRed += c.red() > 150 && c.green() < 40 && c.blue() < 40;
            }
        }
        QVERIFY2(green > 10, "the green lamp is missing from the page");
        QVERIFY2(darkRed > 10, "the dark-red generator lamp is missing from the page");
    }

    // An unwritable target: a Russian message, and the window goes on.
    void failedPrintShowsAMessage() {
        PrinterPrinting toPdf([](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName("/nonexistent-folder/panel.pdf");
        });
        auto w = makeWindow(toPdf);
        const QString message = answerNextModal([&] { w->print->trigger(); });
        QVERIFY2(message.startsWith(QStringLiteral("Печать|Не удалось записать файл")),
                 qPrintable(message));
        w->panel().Опция6->setChecked(true);
        QCOMPARE(w->panel().Форма4->fillColor(), 65280);
        QVERIFY(errors.isEmpty());
    }

    // The real dialog from the print module, cancelled: printing is still
    // attempted, and with no printer installed the user is told so.
    void cancelledDialogStillPrints() {
        auto w = makeWindow(printing);
        QPrinter probe;
        if (probe.isValid() && probe.outputFormat() == QPrinter::NativeFormat) {
            QSKIP("a real printer is installed; cancelling would print a page");
        }
        const QString message = answerNextModal([&] { w->print->trigger(); });
        QVERIFY2(message.contains(QStringLiteral("принтер")), qPrintable(message));
    }

    // A print module that cannot be loaded: a Russian message saying so, and
    // the window goes on.
    void missingPrintModuleIsReported() {
        QTemporaryDir empty;
        ModulePrinting missing(empty.path());
        auto w = makeWindow(missing);
        const QString message = answerNextModal([&] { w->print->trigger(); });
        QVERIFY2(message.startsWith(QStringLiteral("Печать|Печать недоступна: не удалось "
                                                   "загрузить модуль печати")),
                 qPrintable(message));
        w->panel().Опция6->setChecked(true);
        QCOMPARE(w->panel().Форма4->fillColor(), 65280);
        QVERIFY(errors.isEmpty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
