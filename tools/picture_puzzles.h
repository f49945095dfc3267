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

// Which choice completes each puzzle, so that the answers written in the
// content can be checked against the pictures actually drawn.
struct TPuzzleKey {
    QString SeriesPicture;   // the picture with the empty place
    QString Answer;          // letter of the choice that fits, lower case
    int MatchingChoices = 0; // how many choices fit; exactly one in a fair puzzle
};

std::vector<TPuzzleKey> PuzzleKeys();
