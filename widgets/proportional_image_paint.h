#pragma once

#include <QFont>
#include <QImage>
#include <QList>
#include <QRect>
#include <QRgb>
#include <QString>

class TBackground;

// How large the picture of a proportional image is drawn, in percent of the
// control's width (Sx) and height (Sy).
struct TProportionalSizing {
    int Sx = 90;
    bool SxIsStatic = false;
    int StaticSx = 0;
    int Sy = 90;
    int StaticSy = 0;
    bool SyIsStatic = false;
};

// Where a picture of size `picture` goes in an `area`: its width follows Sx,
// its height the picture's proportions, limited to Sy (then the width follows
// the height). With SxIsStatic the width, otherwise with SyIsStatic the
// height, comes from the same rule applied to StaticSx and StaticSy. Centred,
// halves rounded to even. Empty for a picture without width or height.
QRect ProportionalImageRect(QSize area, QSize picture, const TProportionalSizing& sizing);

// Box of the text label at the bottom and the rectangle its text goes in.
struct TLabelBox {
    QRect Box;  // white, black frame
    QRect Text; // the text is clipped to this
    int TextTop = 0;
};
// `textWidth` and `textHeight` are the text's measures, `lineHeight` the
// font's size in pixels.
TLabelBox LabelBoxFor(QSize area, int textWidth, int lineHeight, int textHeight);

// Everything a proportional image composes.
struct TProportionalContent {
    const TBackground* Background = nullptr;
    QImage Image;
    TProportionalSizing Sizing;
    QString Text;
    QFont Font;
    double DpiY = 96; // vertical pixels per inch of the screen
};

// The picture as the control shows it, before any effect or raster
// operation: background, picture and label on an opaque white-filled bitmap
// of `size`, mapped onto `palette` when one is given.
QImage ComposeProportionalImage(QSize size, const TProportionalContent& content,
                                const QList<QRgb>& palette);
