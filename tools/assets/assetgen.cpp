// SPDX-License-Identifier: GPL-3.0-or-later
// virtalab-assetgen <outdir>: writes every picture, the icon and the switch
// sounds of the program into outdir, the same bytes on every run.

#include "tools/assets/icon.h"
#include "tools/assets/outputfile.h"
#include "tools/assets/rainbowgif.h"
#include "tools/assets/screenbitmap.h"
#include "tools/assets/sounds.h"
#include "tools/assets/titlemetafile.h"
#include "tools/assets/tracemetafiles.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <outdir>\n", argv[0]);
        return 2;
    }
    // The letter outlines need Qt's font machinery, not a screen.
    std::vector<char*> args{argv[0], const_cast<char*>("-platform"),
                            const_cast<char*>("offscreen")};
    int qtArgc = static_cast<int>(args.size());
    QGuiApplication app(qtArgc, args.data());

    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() && !QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    try {
        writeOutputFile(out.filePath("screen.bmp"), screenBitmap());
        writeOutputFile(out.filePath("rainbow-h.gif"), horizontalRainbowGif());
        writeOutputFile(out.filePath("rainbow-v.gif"), verticalRainbowGif());
        writeSawtooth(out.filePath("saw.emf"));
        writeSine(out.filePath("sine.emf"));
        writeSquare(out.filePath("square.emf"));
        writeSpot(out.filePath("spot.emf"));
        writeStroke(out.filePath("stroke.emf"));
        writeTitle(out.filePath("title.emf"), QStringLiteral(VIRTALAB_TITLE_FONT));
        writeOutputFile(out.filePath("virtalab.ico"), applicationIcon());
        writeOutputFile(out.filePath("whip.wav"), whipSound());
        writeOutputFile(out.filePath("Sldwst2.wav"), slideSwitchOnSound());
        writeOutputFile(out.filePath("Sldwst.wav"), slideSwitchOffSound());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "virtalab-assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
