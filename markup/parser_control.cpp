#include "markup/parser_control.h"

#include "platform/ansi.h"
#include "platform/screen.h"
#include "widgets/assign_changed.h"
#include "widgets/background_paint.h"
#include "widgets/canvas_shapes.h"
#include "widgets/hand_cursors.h"
#include "widgets/palette.h"

#include <QAbstractScrollArea>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

// Cursor states of the control: its own arrow, or one of the two hands.
constexpr int kArrow = 1;

} // namespace

GParserControl::GParserControl(QWidget* parent, const std::vector<std::string>* pictureIndex)
    : GGraphicControl(parent), pictures_(pictureIndex),
      inputs_(
          this, [this](const TInputFields::TField& f, bool checked) { ReportInput(f, checked); },
          [this] {
              if (OnClick)
                  OnClick(this);
          }),
      hyperLinkFont_(font()) {
    RegisterHandCursors();
    resize(120, 100);
    setMouseTracking(true);
    connect(&background_, &TBackground::Changed, this, [this] { update(); });
}

GParserControl::~GParserControl() {
    inputs_.Clear();
}

void GParserControl::SetPictureIndex(const std::vector<std::string>* pictureIndex) {
    pictures_.SetPictureIndex(pictureIndex);
}

QAbstractScrollArea* GParserControl::ScrollingParent() const {
    QWidget* parent = parentWidget();
    if (!parent)
        return nullptr;
    auto* area = qobject_cast<QAbstractScrollArea*>(parent->parentWidget());
    return area && area->viewport() == parent ? area : nullptr;
}

QPoint GParserControl::ScrollPosition() const {
    if (QAbstractScrollArea* area = ScrollingParent())
        return {area->horizontalScrollBar()->value(), area->verticalScrollBar()->value()};
    return {};
}

void GParserControl::ResizeToContent() {
    if (parentWidget())
        resize(xMax_, yMax_);
    else
        resize(width(), yMax_);
}

void GParserControl::SetMarkupText(std::optional<std::string_view> text) {
    resize(width(), 0);
    pictures_.Clear();
    inputs_.Clear();
    text_.reset();
    if (parentWidget())
        xMax_ = parentWidget()->width();
    yMax_ = 0;
    if (text)
        text_ = std::string(text->substr(0, text->find('\0')));
    fonts_.Clear(); // words of the old text are not needed again
    LayoutText(nullptr, {});
    ResizeToContent();
    update();
}

void GParserControl::Relayout() {
    if (parentWidget())
        xMax_ = parentWidget()->width();
    yMax_ = 0;
    LayoutText(nullptr, {});
    ResizeToContent();
    update();
}

void GParserControl::ClearText() {
    pictures_.Clear();
    inputs_.Clear();
    text_.reset();
    links_.Clear();
    xMax_ = 0;
    yMax_ = 0;
    PaintNow();
}

void GParserControl::PaintNow() {
    repaint();
}

void GParserControl::ClearInputs() {
    inputs_.ClearInputs();
}

void GParserControl::EnableInputs() {
    inputsEnabled_ = true;
    inputs_.SetEnabled(true);
}

void GParserControl::DisableInputs() {
    inputsEnabled_ = false;
    inputs_.SetEnabled(false);
}

void GParserControl::SetdX(int dX) {
    if (AssignChanged(dX_, dX))
        update();
}

void GParserControl::SetdY(int dY) {
    if (AssignChanged(dY_, dY))
        update();
}

void GParserControl::SetDrawFocused(bool value) {
    if (AssignChanged(drawFocused_, value))
        Relayout();
}

void GParserControl::SetHorScrollBar(bool value) {
    if (AssignChanged(horScrollBar_, value))
        Relayout();
}

void GParserControl::SetVerScrollBar(bool value) {
    if (AssignChanged(verScrollBar_, value))
        Relayout();
}

void GParserControl::SetHyperLinkFont(const QFont& font) {
    hyperLinkFont_ = font;
    update();
}

QColor GParserControl::FontColor() const {
    return palette().color(QPalette::WindowText);
}

QColor GParserControl::HyperLinkColor() const {
    return hyperLinkColour_ ? *hyperLinkColour_ : FontColor();
}

void GParserControl::SetHyperLinkColor(const QColor& colour) {
    hyperLinkColour_ = colour;
    update();
}

QImage GParserControl::LoadPicture(const std::string& name) {
    return pictures_.LoadPicture(name);
}

int GParserControl::PlaceInput(const markup::TInputTag& tag, int x, int y, int lineHeight) {
    return inputs_.Place(tag, x, y, lineHeight, inputsEnabled_);
}

void GParserControl::LayoutText(QPainter* painter, const QRect& exposed) {
    links_.Clear();
    if (!text_)
        return;
    ++passCount_;
    fonts_.SetFonts(font(), FontColor(), hyperLinkFont_, HyperLinkColor());
    markup::TLayoutParams params;
    params.Width = width();
    if (parentWidget())
        params.ParentSize = parentWidget()->size();
    params.HorScrollBar = horScrollBar_;
    params.XMax = xMax_;
    params.Painter = yMax_ > 0 ? painter : nullptr;
    params.Exposed = exposed;
    markup::TLayoutPass pass(fonts_, links_, *this, params);
    const markup::TLayoutResult result = pass.Run(*text_);
    xMax_ = result.XMax;
    yMax_ = result.YMax;
    baseLineHeight_ = result.BaseLineHeight;
    inputs_.EndPass();
    if ((horScrollBar_ && width() < xMax_) || (verScrollBar_ && height() < yMax_))
        ResizeToContent();
}

void GParserControl::Paint(QPainter& painter, const QRect& exposed) {
    if (!background_.Image().isNull()) {
        // The picture stays put in the visible area while the text scrolls.
        const QPoint scroll = ScrollPosition();
        PaintBackground(painter, size(), background_, dX_ + scroll.x(), dY_ + scroll.y());
    } else {
        const QColor colour = palette().color(backgroundRole());
        QWidget* focusHolder = ScrollingParent() ? ScrollingParent() : parentWidget();
        const bool focused = drawFocused_ && focusHolder && focusHolder->hasFocus();
        const QPen pen = focused ? QPen(Qt::black, 1, Qt::DotLine) : QPen(colour);
        DrawCanvasRectangle(painter, rect(), pen, QBrush(colour));
    }
    if (text_)
        LayoutText(&painter, exposed);
}

void GParserControl::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QList<QRgb>& palette = plat::Screen().depth <= 8 ? GetPalette() : QList<QRgb>();
    if (palette.isEmpty()) {
        Paint(painter, event->rect());
        return;
    }
    PaintInScreenColours(painter, size(), palette,
                         [&](QPainter& target) { Paint(target, event->rect()); });
}

void GParserControl::mouseMoveEvent(QMouseEvent* event) {
    int shape = kArrow;
    if (OnHyperLinkClick && links_.Count() > 0) {
        const QPoint p = event->position().toPoint();
        shape = links_.HitTest(p.x(), p.y()) ? crHandCursor : crHandNoFingersCursor;
    }
    if (shape != cursorShape_) {
        cursorShape_ = shape;
        if (shape == kArrow)
            setCursor(Qt::ArrowCursor);
        else
            setCursor(CustomCursor(shape));
    }
    GGraphicControl::mouseMoveEvent(event);
}

void GParserControl::mouseReleaseEvent(QMouseEvent* event) {
    if (OnHyperLinkClick && inputsEnabled_ && links_.Count() > 0) {
        const QPoint p = event->position().toPoint();
        if (const THyperLinkRec* record = links_.HitTest(p.x(), p.y()))
            Report(record->HRef); // the receiver may replace the text: Report copies
    }
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        OnClick)
        OnClick(this);
    GGraphicControl::mouseReleaseEvent(event);
}

void GParserControl::moveEvent(QMoveEvent* event) {
    // Scrolling moves the control; a background picture must not move with it.
    if (!background_.Image().isNull())
        update();
    GGraphicControl::moveEvent(event);
}

void GParserControl::Report(const std::string& href) {
    const std::string copy = href;
    if (OnHyperLinkClick)
        OnHyperLinkClick(this, copy);
}

void GParserControl::ReportInput(const TInputFields::TField& field, bool checked) {
    if (!OnHyperLinkClick)
        return;
    switch (field.Kind) {
    case TInputKind::ikRadio:
        if (inputsEnabled_)
            Report(field.Hint);
        break;
    case TInputKind::ikCheckBox:
        if (inputsEnabled_)
            Report(checked ? field.Hint : std::string());
        break;
    case TInputKind::ikText:
        if (auto* edit = qobject_cast<QLineEdit*>(field.Widget.data()))
            Report(plat::ToAnsi(edit->text()).substr(0, 255));
        break;
    }
}
