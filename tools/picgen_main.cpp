// Draws the pictures of the starter content's figure puzzles into a folder,
// from which zenx-content packs them into zernox2.dat.
#include "tools/picture_puzzles.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zenx-picgen OUT_DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    for (const TPuzzlePicture& picture : DrawPuzzlePictures()) {
        const QString path = dir + "/" + picture.Name;
        const char* format = picture.Name.endsWith(".bmp") ? "BMP" : "PNG";
        if (!picture.Image.save(path, format)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
