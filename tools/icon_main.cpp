// Writes the desktop icon into OUT_DIR as hicolor/scalable/apps/NAME.svg and
// hicolor/SIZExSIZE/apps/NAME.png for 48, 128 and 256 pixels, the layout
// that the icon theme expects under share/icons.
#include "tools/icon_picture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

namespace {

bool Prepare(const QString& path) {
    if (QDir().mkpath(QFileInfo(path).path()))
        return true;
    std::fprintf(stderr, "cannot create the folder of %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zenx-icon OUT_DIR NAME\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString out = QString::fromLocal8Bit(argv[1]) + "/hicolor/";
    const QString name = QString::fromLocal8Bit(argv[2]);

    const QString svgPath = out + "scalable/apps/" + name + ".svg";
    QFile svg(svgPath);
    if (!Prepare(svgPath) || !svg.open(QIODevice::WriteOnly) || svg.write(IconSvg()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(svgPath));
        return 1;
    }
    for (int size : {48, 128, 256}) {
        const QString path = out + QStringLiteral("%1x%1/apps/").arg(size) + name + ".png";
        if (!Prepare(path) || !DrawIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
