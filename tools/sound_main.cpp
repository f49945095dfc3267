// Writes the program's four sounds to PROGRAM_DIR/a/0.wav .. 3.wav.
#include "tools/sound_chimes.h"

#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zenx-sound PROGRAM_DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]) + "/a";
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dir));
        return 1;
    }
    const QByteArray sounds[] = {LogOnSound(), LogOffSound(), HoverSound(), PageSound()};
    for (int i = 0; i < 4; ++i) {
        QFile file(dir + QStringLiteral("/%1.wav").arg(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(sounds[i]) != sounds[i].size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
