#pragma once

#include <QByteArray>
#include <QImage>

// The program's icon for the desktop: a blue tile with a white Z and three
// answer dots. One description is written out as SVG and painted as PNG, so
// both sizes of the icon show the same picture.

// The scalable icon (SVG text, 256 units square).
QByteArray IconSvg();

// The icon painted at `size` x `size` pixels, transparent outside the tile.
QImage DrawIcon(int size);
