// Draws the window's pictures into PROGRAM_DIR/I/B: header, page backgrounds
// and button faces for the three layouts, and the intro and about pictures.
// Files are PNG without an extension; the program recognises them by content.
#include "tools/skin_pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

namespace {

bool Save(const QString& dir, const QString& name, const QImage& image) {
    const QString path = dir + "/" + name;
    if (image.isNull() || !image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zenx-skin PROGRAM_DIR\n");
        return 2;
    }
    // Text is drawn into the pictures, which needs fonts but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString dir = QString::fromLocal8Bit(argv[1]) + "/I/B";
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dir));
        return 1;
    }
    for (int layout = 0; layout < 3; ++layout)
        for (const TSkinPicture& picture : DrawLayoutPictures(layout))
            if (!Save(dir, picture.Name, picture.Image))
                return 1;
    if (!Save(dir, "intro", DrawIntroPicture()) || !Save(dir, "about", DrawAboutPicture()))
        return 1;
    return 0;
}
