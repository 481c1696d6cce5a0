// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/browser/browserpage.h"

#include "platform/browser/accessbridge.h"
#include "platform/browser/keyboardexit.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <emscripten.h>

namespace {

// Qt draws the window into the page's canvas on the browser's next frame;
// the frame after that has the first one on the screen.
// clang-format off
EM_JS(void, vl_shown, (), {
    requestAnimationFrame(() => requestAnimationFrame(() => {
                                   if (window.virtalabShown) {
                                       window.virtalabShown();
                                   }
                               }));
});
// clang-format on

// clang-format off
EM_JS(void, vl_fit, (int width, int height), {
    if (window.virtalabFit) {
        window.virtalabFit(width, height);
    }
});
// clang-format on

// clang-format off
EM_JS(void, vl_stopped, (const char* message), {
    if (window.virtalabStopped) {
        window.virtalabStopped(UTF8ToString(message));
    }
});
// clang-format on

class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget& window) : QObject(&window) { window.installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            vl_shown();
            // The screen reader's view is built once the panel is on the
            // screen: walking every control first would hold the panel back.
            new AccessBridge(parent());
            deleteLater();
        }
        return false;
    }
};

} // namespace

namespace browserpage {

void showWindow(QWidget& window) {
    vl_fit(window.width(), window.height());
    new FirstPaint(window);
    new KeyboardExit(&window);
    window.show();
}

void showStopped(const QString& message) {
    vl_stopped(message.toUtf8().constData());
}

} // namespace browserpage

// The page's pixel ratio or scale has changed, and Qt's screen with it:
// every window painted afresh at the new resolution.
extern "C" EMSCRIPTEN_KEEPALIVE void virtalab_repaint() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible()) {
            window->update();
        }
    }
}
