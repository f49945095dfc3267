#pragma once

#include <QImage>
#include <QString>
#include <vector>

// The figure puzzles of the starter content: for each, a picture of the
// series (or matrix) with an empty place and one picture per choice a .. d.
// The question texts in content/db name these files.
struct TPuzzlePicture {
    QString Name; // file name as the markup refers to it
    QImage Image;
};

std::vector<TPuzzlePicture> DrawPuzzlePictures();
