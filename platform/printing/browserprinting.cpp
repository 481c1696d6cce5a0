// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/printing/browserprinting.h"

#include "platform/printing/pagepainting.h"

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QWidget>

#include <emscripten.h>

namespace {

// Image pixels to a screen pixel: the panel's width across a page's printable
// width comes out near 300 dots per inch.
constexpr int pageScale = 4;

// Draws the page onto a canvas: the page's print-only canvas as the browser
// prints the page itself (Ctrl+P, its menu), or, for «Печать», one of its
// own in a hidden frame, across the paper's width less a margin, whose
// print dialog is then opened. With no page margin the browser adds no
// header or footer of its own; the margin is the frame's. The console line
// tells a test that the page reached the browser's print path.
// clang-format off
EM_JS(void, vl_print_page, (const unsigned char* pixels, int width, int height, bool ownFrame), {
    const canvas = ownFrame ? document.createElement("canvas") : window.virtalabPrintTarget;
    if (!canvas) {
        return;
    }
    canvas.width = width;
    canvas.height = height;
    const image = new ImageData(
        new Uint8ClampedArray(HEAPU8.slice(pixels, pixels + width * height * 4).buffer), width,
        height);
    canvas.getContext("2d").putImageData(image, 0, 0);
    if (!ownFrame) {
        return;
    }
    const old = document.getElementById("virtalab-print");
    if (old) {
        old.remove();
    }
    const frame = document.createElement("iframe");
    frame.id = "virtalab-print";
    frame.setAttribute("aria-hidden", "true");
    frame.style.cssText = "position: fixed; width: 0; height: 0; border: 0; visibility: hidden";
    frame.onload = () => {
        const page = frame.contentDocument;
        const picture = page.getElementById("page");
        const print = () => {
            console.info("virtalab-print: page " + width + "x" + height +
                         " handed to the print dialog");
            frame.contentWindow.focus();
            frame.contentWindow.print();
        };
        if (picture.complete) {
            print();
        } else {
            picture.onload = print;
        }
    };
    frame.srcdoc =
        "<!doctype html><html lang=\"ru\"><head><meta charset=\"utf-8\"><title>Вирталаб</title>" +
        "<style>@page { margin: 0 } html, body { margin: 0 } body { padding: 10mm } " +
        "img { display: block; width: 100%; max-height: 100vh; object-fit: contain; " +
        "object-position: top }</style>" +
        "</head><body><img id=\"page\" alt=\"\" src=\"" + canvas.toDataURL("image/png") +
        "\"></body></html>";
    document.body.appendChild(frame);
});
// clang-format on

// The widget on one page, as an image fine enough for a printer; a null
// image when the browser has no memory for it.
QImage pageImage(QWidget& widget) {
    QImage page(widget.size() * pageScale, QImage::Format_RGBA8888);
    if (!page.isNull()) {
        page.fill(Qt::white);
        QPainter painter(&page);
        paintWidgetOnPage(widget, painter, QRectF(page.rect()));
    }
    return page;
}

} // namespace

QString BrowserPrinting::print(QWidget& widget, QWidget*) {
    const QImage page = pageImage(widget);
    if (page.isNull()) {
        return QStringLiteral("Печать не удалась: браузеру не хватило памяти для страницы.");
    }
    vl_print_page(page.constBits(), page.width(), page.height(), true);
    return {};
}

extern "C" EMSCRIPTEN_KEEPALIVE void virtalab_paint_page() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(window) && window->isVisible()) {
            const QImage page = pageImage(*window);
            if (!page.isNull()) {
                vl_print_page(page.constBits(), page.width(), page.height(), false);
            }
            return;
        }
    }
}
