#pragma once

#include "markup/hyperlink_list.h"
#include "markup/input_fields.h"
#include "markup/markup_fonts.h"
#include "markup/markup_layout.h"
#include "markup/picture_cache.h"
#include "markup/shown_text.h"
#include "widgets/background.h"
#include "widgets/graphic_control.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <cstdint>
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
//
// For the keyboard it takes the focus: the arrow keys move a current link
// (drawn with a dotted ring while focused) and Enter follows it; with no link
// to move to they scroll the scroll box. Keys it has no use for go on to the
// window, which presses choices through PressChoice.
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

    // The choices of the text in document order: every link a click can
    // reach (a link wrapped over lines is one choice) and every radio button
    // and check box. Text fields are not choices.
    int ChoiceCount() const;
    // Does what a click on choice `index` (0-based) does: a link is reported
    // as the mouse reports it, a field is clicked. Whether anything was
    // reported or clicked.
    bool PressChoice(int index);

    // Links by their number (THyperLinkRec::Link). The ones a click can
    // reach, in document order:
    std::vector<int> ClickableLinks() const;
    // Their areas in the last pass, one per line they cover.
    std::vector<QRect> LinkAreas(int link) const;
    // All of those areas in one rectangle; empty for a link without any.
    QRect LinkBounds(int link) const;
    // Reports the link as a click on it does; whether it was reported.
    bool FollowLink(int link);
    // Whether a click on a link would be reported now.
    bool LinksReact() const { return OnHyperLinkClick && inputsEnabled_; }
    // The link the keyboard is on; 0 for none. Setting scrolls it into view.
    int CurrentLink() const { return currentLink_; }
    void SetCurrentLink(int link);

    // The text as shown (no tags), its links, pictures and fields.
    const markup::TShownText& ShownText() const { return shown_; }
    // Boxes of the pictures of the last pass, as ShownText().Pictures.
    const std::vector<QRect>& PictureAreas() const { return pictureAreas_; }
    // Goes up with every new text or ClearText.
    uint64_t TextGeneration() const { return textGeneration_; }

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
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

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

    struct TChoice {
        int Link = 0;             // a link's number, 0 for a field
        QWidget* Field = nullptr; // a radio button or check box
    };
    std::vector<TChoice> Choices() const;
    // A new text: the keyboard starts again and screen readers are told.
    void TextChanged(const std::string& oldText);
    // Moves the current link by `step` among the reachable ones; false when
    // there is none to move to.
    bool StepLink(int step);
    void ScrollBy(int action);
    void EnsureVisible(const QRect& area);
    QRect VisibleArea() const;
    void DrawFocusRing(QPainter& painter);

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
    markup::TShownText shown_;
    std::vector<QRect> pictureAreas_;
    uint64_t textGeneration_ = 0;
    int currentLink_ = 0;
};
