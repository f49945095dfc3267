#pragma once

#include <QImage>
#include <QString>
#include <vector>

// The window's pictures: header, page backgrounds and button faces for each
// layout, and the intro and about pictures. Names are the file names under
// I/B/ of the program directory, without extension.
struct TSkinPicture {
    QString Name;
    QImage Image;
};

// Scale factor of a layout: 1, 1.25 or 1.6.
double SkinScale(int layoutSize);
// A designed length at a layout, rounded to the nearest pixel, exactly as
// the window scales the size of its controls.
int SkinLength(int designed, int layoutSize);

std::vector<TSkinPicture> DrawLayoutPictures(int layoutSize);
QImage DrawIntroPicture();
QImage DrawAboutPicture();
