#pragma once

#include "markup/hyperlink_list.h"
#include "markup/input_fields.h"
#include "markup/markup_fonts.h"
#include "markup/markup_layout.h"
#include "markup/picture_cache.h"
#include "widgets/background.h"
#include "widgets/graphic_control.h"

#include <QColor>
#include <QFont>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QAbstractScrollArea;

// Link targets, radio and check-box values and text-field texts, as reported
// to the receiver. Link targets and values arrive in upper case.
using GOnHyperLinkClick = std::function<void(QObject* sender, const std::string& href)>;

// The control that shows a markup text. It lays the text out in one pass that
// measures or also paints, takes the height of its content so that the
// scroll box it sits in can scroll it, draws pictures and input fields, and
// reports link clicks and input through OnHyperLinkClick.
class GParserControl : public GGraphicControl, private markup::TLayoutHost {
    Q_OBJECT
public:
    // `pictureIndex` is the picture archive's index held by the main window
    // (it must outlive the control); nullptr when there is none.
    explicit GParserControl(QWidget* parent = nullptr,
                            const std::vector<std::string>* pictureIndex = nullptr);
    ~GParserControl() override;

    // A new text (std::nullopt for none): pictures and fields of the old one
    // go, the text is measured and the control takes the content's size.
    void SetMarkupText(std::optional<std::string_view> text);
    const std::optional<std::string>& MarkupText() const { return text_; }
    // Measures again and resizes, keeping text, pictures and fields.
    void Relayout();
    void ClearText();
    void PaintNow();
    void ClearInputs();
    void EnableInputs();
    void DisableInputs();
    bool InputsEnabled() const { return inputsEnabled_; }

    TBackground& Background() { return background_; }
    void SetBackground(const TBackground& background) { background_.Assign(background); }
    int dX() const { return dX_; }
    int dY() const { return dY_; }
    void SetdX(int dX);
    void SetdY(int dY);
    bool DrawFocused() const { return drawFocused_; }
    void SetDrawFocused(bool value);
    bool HorScrollBar() const { return horScrollBar_; }
    void SetHorScrollBar(bool value);
    bool VerScrollBar() const { return verScrollBar_; }
    void SetVerScrollBar(bool value);
    int XMax() const { return xMax_; }
    int YMax() const { return yMax_; }

    const QFont& HyperLinkFont() const { return hyperLinkFont_; }
    void SetHyperLinkFont(const QFont& font);
    // Text colours of Font and HyperLinkFont; both default to the palette's
    // window text.
    QColor FontColor() const;
    QColor HyperLinkColor() const;
    void SetHyperLinkColor(const QColor& colour);

    GOnHyperLinkClick OnHyperLinkClick;
    // A left click on the control or in a text field.
    std::function<void(QObject* sender)> OnClick;

    void SetPictureIndex(const std::vector<std::string>* pictureIndex);

    // State of the last pass, for the host and for tests.
    THyperLinkList& HyperLinks() { return links_; }
    const TInputFields& Inputs() const { return inputs_; }
    TPictureCache& Pictures() { return pictures_; }
    int BaseLineHeight() const { return baseLineHeight_; }
    int PassCount() const { return passCount_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    // markup::TLayoutHost
    QImage LoadPicture(const std::string& name) override;
    int PlaceInput(const markup::TInputTag& tag, int x, int y, int lineHeight) override;

    // One pass; paints on `painter` when it is given and YMax is above 0.
    void LayoutText(QPainter* painter, const QRect& exposed);
    void Paint(QPainter& painter, const QRect& exposed);
    void ResizeToContent();
    // The scrolling container whose viewport is this control's parent.
    QAbstractScrollArea* ScrollingParent() const;
    QPoint ScrollPosition() const;
    void ReportInput(const TInputFields::TField& field, bool checked);
    void Report(const std::string& href);

    TBackground background_;
    int dX_ = 0;
    int dY_ = 0;
    bool drawFocused_ = true;
    TPictureCache pictures_;
    TInputFields inputs_;
    bool inputsEnabled_ = true;
    std::optional<std::string> text_;
    int xMax_ = 0;
    int yMax_ = 0;
    bool horScrollBar_ = false;
    bool verScrollBar_ = true;
    THyperLinkList links_;
    QFont hyperLinkFont_;
    std::optional<QColor> hyperLinkColour_;
    markup::TFontCache fonts_;
    int baseLineHeight_ = 0;
    int passCount_ = 0;
    int cursorShape_ = 0;
};
