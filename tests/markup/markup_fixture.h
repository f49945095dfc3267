#pragma once

#include "markup/parser_control.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QWidget>
#include <string>
#include <vector>

// A markup control inside a plain parent of a chosen size, in a fixed font,
// white with black text, so that geometry can be computed from the font's
// own metrics.
namespace markuptest {

QFont TextFont();
QFont LinkFont();

struct Host {
    explicit Host(int width = 300, int height = 200,
                  const std::vector<std::string>* pictureIndex = nullptr);
    QWidget parent;
    GParserControl* view;
    std::vector<std::string> reports;

    // Reports go into `reports`.
    void Listen();
    // The control painted into an image of its size.
    QImage Paint();
    void Click(int x, int y);
    void Move(int x, int y);
};

int Width(const std::string& text, bool bold = false);
int LinkWidth(const std::string& text);
int LineHeight();

// A PNG of one colour.
QByteArray Png(int width, int height, QRgb colour);

} // namespace markuptest
