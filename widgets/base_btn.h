#pragma once

#include "widgets/assign_changed.h"
#include "widgets/base_btn_paint.h"
#include "widgets/graphic_control.h"

#include <functional>

// The program's skinned push button: a rounded face with a drop shadow, a
// glyph for the released, pressed and disabled states, and a caption. All
// geometry is in fractions of the size, so one setting serves every layout.
// Font and enabled state are the widget's own (font(), setFont(),
// setEnabled()); the caption colour is FontColor.
class TBaseBtn : public GGraphicControl {
    Q_OBJECT
public:
    explicit TBaseBtn(QWidget* parent = nullptr);
    ~TBaseBtn() override;

    // Called when the button is destroyed; the window that owns the sound
    // player sets it to stop whatever sound is playing, and clears it before
    // the player goes.
    std::function<void()> OnDestroy;

    // All stored settings at once, and each one by its name. A setter given
    // the value it already has does not repaint.
    const TBaseBtnFace& Face() const { return face_; }

    const QBrush& Brush() const { return face_.Brush; }
    void SetBrush(const QBrush& value) { Set(face_.Brush, value); }
    bool ButtonIsDown() const { return face_.ButtonIsDown; }
    void SetButtonIsDown(bool value);
    bool ButtonIsHot() const { return face_.ButtonIsHot; }
    void SetButtonIsHot(bool value) { Set(face_.ButtonIsHot, value); }
    const QString& Caption() const { return face_.Caption; }
    void SetCaption(const QString& value);
    QColor CaptionPenColor() const { return face_.CaptionPenColor; }
    void SetCaptionPenColor(const QColor& value) { Set(face_.CaptionPenColor, value); }
    bool CaptionPenVisible() const { return face_.CaptionPenVisible; }
    void SetCaptionPenVisible(bool value) { Set(face_.CaptionPenVisible, value); }
    double CaptionXOffset() const { return face_.CaptionXOffset; }
    void SetCaptionXOffset(double value) { Set(face_.CaptionXOffset, value); }
    double CaptionYOffset() const { return face_.CaptionYOffset; }
    void SetCaptionYOffset(double value) { Set(face_.CaptionYOffset, value); }
    int CaptionXRound() const { return face_.CaptionXRound; }
    void SetCaptionXRound(int value) { Set(face_.CaptionXRound, value); }
    int CaptionYRound() const { return face_.CaptionYRound; }
    void SetCaptionYRound(int value) { Set(face_.CaptionYRound, value); }
    double FaceHeight() const { return face_.FaceHeight; }
    void SetFaceHeight(double value) { Set(face_.FaceHeight, value); }
    bool FaceVisible() const { return face_.FaceVisible; }
    void SetFaceVisible(bool value) { Set(face_.FaceVisible, value); }
    double FaceWidth() const { return face_.FaceWidth; }
    void SetFaceWidth(double value) { Set(face_.FaceWidth, value); }
    double FaceXOffset() const { return face_.FaceXOffset; }
    void SetFaceXOffset(double value) { Set(face_.FaceXOffset, value); }
    double FaceYOffset() const { return face_.FaceYOffset; }
    void SetFaceYOffset(double value) { Set(face_.FaceYOffset, value); }
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& value) { Set(fontColor_, value); }
    bool GlyphCentered() const { return face_.GlyphCentered; }
    void SetGlyphCentered(bool value) { Set(face_.GlyphCentered, value); }
    const QImage& GlyphDisabled() const { return face_.GlyphDisabled; }
    void SetGlyphDisabled(const QImage& value) { Set(face_.GlyphDisabled, value); }
    const QImage& GlyphDown() const { return face_.GlyphDown; }
    void SetGlyphDown(const QImage& value) { Set(face_.GlyphDown, value); }
    double GlyphHeight() const { return face_.GlyphHeight; }
    void SetGlyphHeight(double value) { Set(face_.GlyphHeight, value); }
    bool GlyphStretched() const { return face_.GlyphStretched; }
    void SetGlyphStretched(bool value) { Set(face_.GlyphStretched, value); }
    const QImage& GlyphUp() const { return face_.GlyphUp; }
    void SetGlyphUp(const QImage& value) { Set(face_.GlyphUp, value); }
    bool GlyphUpIsGlyphDown() const { return face_.GlyphUpIsGlyphDown; }
    void SetGlyphUpIsGlyphDown(bool value) { Set(face_.GlyphUpIsGlyphDown, value); }
    double GlyphWidth() const { return face_.GlyphWidth; }
    void SetGlyphWidth(double value) { Set(face_.GlyphWidth, value); }
    double GlyphXOffset() const { return face_.GlyphXOffset; }
    void SetGlyphXOffset(double value) { Set(face_.GlyphXOffset, value); }
    double GlyphYOffset() const { return face_.GlyphYOffset; }
    void SetGlyphYOffset(double value) { Set(face_.GlyphYOffset, value); }
    const QPen& Pen() const { return face_.Pen; }
    void SetPen(const QPen& value) { Set(face_.Pen, value); }
    QColor ShadowColor() const { return face_.ShadowColor; }
    void SetShadowColor(const QColor& value) { Set(face_.ShadowColor, value); }
    double ShadowXOffset() const { return face_.ShadowXOffset; }
    void SetShadowXOffset(double value) { Set(face_.ShadowXOffset, value); }
    double ShadowYOffset() const { return face_.ShadowYOffset; }
    void SetShadowYOffset(double value) { Set(face_.ShadowYOffset, value); }

    // A mouse button went down on the button and has not come up yet.
    bool MousePressed() const { return mousePressed_; }
    // Space or Enter went down while it had the focus and has not come up.
    bool KeyPressed() const { return pressKey_ != 0; }
    // The click that a key or an assistive tool stands for: raises OnClick
    // when the button can be used (enabled and on the screen). Returns
    // whether it did.
    bool Click();
    // What a paint would use right now.
    TBaseBtnStatus Status() const;

signals:
    // The left button was released over the button after going down on it.
    void OnClick();
    void OnDblClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    template <typename T> void Set(T& field, const T& value) {
        if (AssignChanged(field, value))
            Invalidate();
    }

    TBaseBtnFace face_;
    QColor fontColor_{Qt::black};
    bool mousePressed_ = false;
    bool leftDown_ = false; // the press that may become a click
    int pressKey_ = 0;      // Space or Enter held down on the button, else 0
};
