#include "widgets/hand_cursors.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <map>

namespace {

// 'X' outline (black), '.' inside (white), ' ' transparent.
const char* const kHand[] = {
    "     XX          ", "    X..X         ", "    X..X         ", "    X..X         ",
    "    X..X         ", "    X..XXX       ", "    X..X..XXX    ", "    X..X..X..XX  ",
    "    X..X..X..X.X ", "XXX X..X..X..X..X", "X..XX........X..X", "X...X...........X",
    " X..............X", "  X.............X", "  X.............X", "   X............X",
    "   X...........X ", "    X..........X ", "    X.........X  ", "     X........X  ",
    "     X........X  ", "     XXXXXXXXXX  ",
};

// The same hand seen from the palm side with the fingers folded away.
const char* const kHandNoFingers[] = {
    "   XX XX XX      ", "  X..X..X..XX    ", "  X.........X.X  ", " XX...........X  ",
    "X.X...........X  ", "X.............X  ", " X............X  ", "  X..........X   ",
    "  X..........X   ", "   X........X    ", "   X........X    ", "   XXXXXXXXXX    ",
};

template <size_t Rows> QCursor CursorFromArt(const char* const (&art)[Rows], int hotX, int hotY) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (size_t y = 0; y < Rows; ++y)
        for (int x = 0; art[y][x] != '\0'; ++x) {
            if (art[y][x] == 'X')
                image.setPixel(x, int(y), qRgba(0, 0, 0, 255));
            else if (art[y][x] == '.')
                image.setPixel(x, int(y), qRgba(255, 255, 255, 255));
        }
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

// Cursors hold pixmaps, which must go before the application does.
std::map<int, QCursor>*& Registry() {
    static std::map<int, QCursor>* registry = nullptr;
    if (!registry) {
        registry = new std::map<int, QCursor>;
        qAddPostRoutine([] {
            delete Registry();
            Registry() = nullptr;
        });
    }
    return registry;
}

} // namespace

QCursor MakeHandCursor() {
    return CursorFromArt(kHand, 5, 0);
}

QCursor MakeHandNoFingersCursor() {
    return CursorFromArt(kHandNoFingers, 8, 6);
}

void RegisterHandCursors() {
    if (!HasCustomCursor(crHandCursor))
        RegisterCustomCursor(crHandCursor, MakeHandCursor());
    if (!HasCustomCursor(crHandNoFingersCursor))
        RegisterCustomCursor(crHandNoFingersCursor, MakeHandNoFingersCursor());
}

void RegisterCustomCursor(int id, const QCursor& cursor) {
    (*Registry())[id] = cursor;
}

bool HasCustomCursor(int id) {
    return Registry()->count(id) != 0;
}

const QCursor& CustomCursor(int id) {
    static const QCursor arrow(Qt::ArrowCursor);
    const auto it = Registry()->find(id);
    return it == Registry()->end() ? arrow : it->second;
}
