// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/panel.h"

#include "panel/imagecontrol.h"
#include "platform/pictures/pictureloader.h"

#include <QString>

void Panel::loadPictures() {
    Изображение7->setPicture(loadPicture(QStringLiteral(":/assets/screen.bmp")));

    // One file for both strips of a pair: the pair shares one picture.
    const PicturePtr across = loadPicture(QStringLiteral(":/assets/rainbow-h.gif"));
    Изображение2->setPicture(across);
    Изображение3->setPicture(across);
    const PicturePtr down = loadPicture(QStringLiteral(":/assets/rainbow-v.gif"));
    Изображение4->setPicture(down);
    Изображение5->setPicture(down);

    const char* const traces[] = {"saw", "sine", "square", "spot", "stroke"};
    for (std::size_t i = 0; i < i1.size(); ++i) {
        i1[i]->setPicture(loadPicture(QStringLiteral(":/assets/%1.emf").arg(traces[i])));
    }
}

int Panel::tracePicture() const {
    const PicturePtr& held = ii->picture();
    for (std::size_t k = 0; k < i1.size(); ++k) {
        if (held && held == i1[k]->picture()) {
            return static_cast<int>(k);
        }
    }
    return -1;
}
