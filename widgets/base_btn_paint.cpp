#include "widgets/base_btn_paint.h"

#include "widgets/canvas_shapes.h"
#include "widgets/picture_drawing.h"
#include "widgets/rounding.h"

#include <QPainter>
#include <algorithm>

using wid::RoundHalfEven;

namespace {

// Offsets added to every x and y fraction while pressed.
struct Shift {
    double x = 0;
    double y = 0;
};

Shift ShiftOf(const TBaseBtnFace& face, bool shifted) {
    return shifted ? Shift{face.ShadowXOffset, face.ShadowYOffset} : Shift{};
}

void DrawFace(QPainter& painter, const TBaseBtnFace& face, QSize size, bool shifted,
              const QPen& pen, const QBrush& brush) {
    DrawCanvasRoundRect(painter, FaceRect(face, size, shifted), face.CaptionXRound,
                        face.CaptionYRound, pen, brush);
}

// The shadow keeps the face's pen and brush patterns in the shadow colour; a
// clear brush still gives a solid shadow, as a colour given to a clear brush
// makes it solid.
void DrawShadow(QPainter& painter, const TBaseBtnFace& face, QSize size) {
    QPen pen = face.Pen;
    pen.setColor(face.ShadowColor);
    QBrush brush = face.Brush;
    if (brush.style() == Qt::NoBrush)
        brush.setStyle(Qt::SolidPattern);
    brush.setColor(face.ShadowColor);
    DrawFace(painter, face, size, true, pen, brush);
}

void DrawGlyph(QPainter& painter, const TBaseBtnFace& face, QSize size, const QImage& glyph,
               bool shifted) {
    if (glyph.isNull())
        return;
    const int w = size.width();
    const int h = size.height();
    const Shift s = ShiftOf(face, shifted);
    if (face.GlyphStretched) {
        const int left = RoundHalfEven((face.GlyphXOffset + s.x) * w);
        const int top = RoundHalfEven((face.GlyphYOffset + s.y) * h);
        const int right = RoundHalfEven((face.GlyphXOffset + face.GlyphWidth + s.x) * w);
        const int bottom = RoundHalfEven((face.GlyphYOffset + face.GlyphHeight + s.y) * h);
        StretchPicture(&painter, QRect(left, top, right - left, bottom - top), glyph);
    } else if (face.GlyphCentered) {
        DrawPicture(&painter, (w - glyph.width()) / 2 + RoundHalfEven(w * s.x),
                    (h - glyph.height()) / 2 + RoundHalfEven(h * s.y), glyph);
    } else {
        DrawPicture(&painter, RoundHalfEven((face.GlyphXOffset + s.x) * w),
                    RoundHalfEven((face.GlyphYOffset + s.y) * h), glyph);
    }
}

void DrawCaption(QPainter& painter, const TBaseBtnFace& face, QSize size,
                 const TBaseBtnStatus& status, bool pressed) {
    if (face.Caption.isEmpty())
        return;
    const Shift s = ShiftOf(face, pressed);
    const int x = RoundHalfEven((face.CaptionXOffset + s.x) * size.width());
    const int y = RoundHalfEven((face.CaptionYOffset + s.y) * size.height());
    painter.setFont(status.Font);
    // The position is the text's top-left corner, Qt draws on the baseline.
    const int ascent = painter.fontMetrics().ascent();
    if (face.CaptionPenVisible) {
        painter.setPen(face.CaptionPenColor);
        painter.drawText(x - 1, y - 1 + ascent, face.Caption);
    }
    painter.setPen(status.Enabled ? status.FontColor : kGrayTextColor);
    painter.drawText(x, y + ascent, face.Caption);
}

// Dotted like the classic focus rectangle, in the caption's colour so it
// shows on whatever face the window gives the button.
void DrawFocusRing(QPainter& painter, const TBaseBtnFace& face, QSize size,
                   const TBaseBtnStatus& status, bool pressed) {
    const QRect ring = FocusRingRect(face, size, pressed);
    if (ring.width() < 2 || ring.height() < 2)
        return;
    QPen pen(status.FontColor, 1, Qt::DotLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // A one-pixel line drawn on the rectangle's own pixels, not beside them.
    painter.drawRect(ring.adjusted(0, 0, -1, -1));
}

} // namespace

QRect FocusRingRect(const TBaseBtnFace& face, QSize size, bool pressed) {
    const QRect outer =
        face.FaceVisible ? FaceRect(face, size, pressed) : QRect(QPoint(0, 0), size);
    // Rounded corners would cut a ring drawn closer to the edge.
    const int inset = 3 + std::min(face.CaptionXRound, face.CaptionYRound) / 4;
    return outer.adjusted(inset, inset, -inset, -inset);
}

const QImage& PressedGlyph(const TBaseBtnFace& face) {
    static const QImage none;
    if (face.GlyphDown.isNull() || face.GlyphUpIsGlyphDown)
        return face.GlyphUpIsGlyphDown ? face.GlyphUp : none;
    return face.GlyphDown;
}

QRect FaceRect(const TBaseBtnFace& face, QSize size, bool shifted) {
    const Shift s = ShiftOf(face, shifted);
    const int w = size.width();
    const int h = size.height();
    const int left = RoundHalfEven((face.FaceXOffset + s.x) * w);
    const int top = RoundHalfEven((face.FaceYOffset + s.y) * h);
    const int right = RoundHalfEven((face.FaceXOffset + face.FaceWidth + s.x) * w);
    const int bottom = RoundHalfEven((face.FaceYOffset + face.FaceHeight + s.y) * h);
    return QRect(left, top, right - left, bottom - top);
}

void PaintBaseBtn(QPainter& painter, QSize size, const TBaseBtnFace& face,
                  const TBaseBtnStatus& status) {
    if (size.isEmpty())
        return;
    painter.save();
    const bool pressed = IsPressed(face, status);
    if (!pressed && face.FaceVisible)
        DrawShadow(painter, face, size);

    if (status.Enabled && pressed) {
        // The face moves onto its shadow's place.
        if (face.FaceVisible)
            DrawFace(painter, face, size, true, face.Pen, face.Brush);
        DrawGlyph(painter, face, size, PressedGlyph(face), true);
        if (!face.FaceVisible)
            DrawBorderFrame(painter, size, QColor(128, 128, 128), Qt::white);
    } else if (status.Enabled) {
        if (face.FaceVisible)
            DrawFace(painter, face, size, false, face.Pen, face.Brush);
        DrawGlyph(painter, face, size, face.GlyphUp, false);
        if (!face.FaceVisible && face.ButtonIsHot)
            DrawBorderFrame(painter, size, Qt::white, QColor(128, 128, 128));
    } else {
        if (face.FaceVisible)
            DrawFace(painter, face, size, false, face.Pen, face.Brush);
        DrawGlyph(painter, face, size, face.GlyphDisabled, false);
    }

    DrawCaption(painter, face, size, status, pressed);
    if (status.Focused && status.Enabled)
        DrawFocusRing(painter, face, size, status, pressed);
    painter.restore();
}
