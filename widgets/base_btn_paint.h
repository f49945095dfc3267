#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QRect>
#include <QString>

class QPainter;

// Colour of the caption of a disabled button (the classic grey-text colour).
inline const QColor kGrayTextColor{128, 128, 128};

// The stored settings of a skinned button. Fractions are of the button's
// width (x) and height (y).
struct TBaseBtnFace {
    QBrush Brush{Qt::white, Qt::SolidPattern};
    bool ButtonIsDown = false;
    bool ButtonIsHot = false;
    QString Caption;
    QColor CaptionPenColor{Qt::black};
    bool CaptionPenVisible = false;
    double CaptionXOffset = 0;
    double CaptionYOffset = 0;
    // Corner ellipse of the face (despite the name, which the design keeps).
    int CaptionXRound = 0;
    int CaptionYRound = 0;
    double FaceHeight = 0.5;
    bool FaceVisible = true;
    double FaceWidth = 0.8;
    double FaceXOffset = 0;
    double FaceYOffset = 0;
    bool GlyphCentered = false;
    QImage GlyphDisabled;
    QImage GlyphDown;
    double GlyphHeight = 0.8;
    bool GlyphStretched = false;
    QImage GlyphUp;
    bool GlyphUpIsGlyphDown = false;
    double GlyphWidth = 0.2;
    double GlyphXOffset = 0;
    double GlyphYOffset = 0;
    QPen Pen{QBrush(Qt::black), 1.0, Qt::SolidLine};
    QColor ShadowColor{128, 128, 128};
    double ShadowXOffset = 0;
    double ShadowYOffset = 0;
};

// What the widget adds at paint time.
struct TBaseBtnStatus {
    bool Enabled = true;
    // A mouse button went down on it and is still down, or Space or Enter
    // is held while it has the keyboard focus.
    bool MousePressed = false;
    QFont Font;
    QColor FontColor{Qt::black};
    bool Focused = false; // draws the focus ring
};

// Pressed means held down by the mouse or latched by ButtonIsDown.
inline bool IsPressed(const TBaseBtnFace& face, const TBaseBtnStatus& status) {
    return status.MousePressed || face.ButtonIsDown;
}

// The picture shown while pressed: GlyphUp only when GlyphUpIsGlyphDown says
// so, otherwise GlyphDown; a null image means no glyph.
const QImage& PressedGlyph(const TBaseBtnFace& face);

// The face rectangle, moved by the shadow offset when `shifted`.
QRect FaceRect(const TBaseBtnFace& face, QSize size, bool shifted);

// Where the dotted focus ring goes: just inside the face (moved with it
// while pressed), or inside the border when the face is hidden.
QRect FocusRingRect(const TBaseBtnFace& face, QSize size, bool pressed);

// Paints the whole button (shadow, face, glyph, frame, caption and focus ring) on an area
// of `size` at the painter's origin. Areas not covered stay untouched.
void PaintBaseBtn(QPainter& painter, QSize size, const TBaseBtnFace& face,
                  const TBaseBtnStatus& status);
