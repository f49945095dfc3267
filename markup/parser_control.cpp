#include "markup/parser_control.h"

#include "platform/ansi.h"
#include "platform/screen.h"
#include "widgets/assign_changed.h"
#include "widgets/background_paint.h"
#include "widgets/canvas_shapes.h"
#include "widgets/hand_cursors.h"
#include "widgets/palette.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <utility>

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
    setFocusPolicy(Qt::StrongFocus);
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
    const markup::TShownText old =
        std::exchange(shown_, text_ ? markup::ExtractShownText(*text_) : markup::TShownText());
    fonts_.Clear(); // words of the old text are not needed again
    LayoutText(nullptr, {});
    ResizeToContent();
    update();
    TextChanged(old.Text);
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
    const markup::TShownText old = std::exchange(shown_, {});
    links_.Clear();
    pictureAreas_.clear();
    xMax_ = 0;
    yMax_ = 0;
    PaintNow();
    TextChanged(old.Text);
}

void GParserControl::TextChanged(const std::string& oldText) {
    currentLink_ = 0;
    ++textGeneration_;
    if (!QAccessible::isActive())
        return;
    // A new question or feedback in a view that keeps the focus: without
    // these a screen reader would not read it.
    QAccessibleEvent reorder(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reorder);
    QAccessibleTextUpdateEvent update(this, 0, plat::FromAnsi(oldText),
                                      plat::FromAnsi(shown_.Text));
    QAccessible::updateAccessibility(&update);
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
    if (!text_) {
        pictureAreas_.clear();
        return;
    }
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
    pictureAreas_ = std::move(result.Pictures);
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
    if (currentLink_ != 0 && hasFocus())
        DrawFocusRing(painter);
}

void GParserControl::DrawFocusRing(QPainter& painter) {
    painter.save();
    painter.setPen(QPen(FontColor(), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    for (const QRect& area : LinkAreas(currentLink_))
        painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.restore();
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

namespace {

bool Reachable(const THyperLinkRec& record) {
    return record.Link > 0 && record.Left < record.Right && record.Top < record.Bottom;
}

} // namespace

std::vector<int> GParserControl::ClickableLinks() const {
    std::vector<int> links;
    for (int32_t n = 1; n <= links_.Count(); ++n) {
        const THyperLinkRec* record = links_.At(n);
        if (record && Reachable(*record) && (links.empty() || links.back() != record->Link))
            links.push_back(record->Link);
    }
    return links;
}

std::vector<QRect> GParserControl::LinkAreas(int link) const {
    std::vector<QRect> areas;
    for (int32_t n = 1; n <= links_.Count(); ++n) {
        const THyperLinkRec* record = links_.At(n);
        if (record && record->Link == link && Reachable(*record))
            areas.emplace_back(QPoint(record->Left, record->Top),
                               QPoint(record->Right - 1, record->Bottom - 1));
    }
    return areas;
}

QRect GParserControl::LinkBounds(int link) const {
    QRect bounds;
    for (const QRect& area : LinkAreas(link))
        bounds |= area;
    return bounds;
}

bool GParserControl::FollowLink(int link) {
    // The conditions of a mouse click on it.
    if (!LinksReact())
        return false;
    for (int32_t n = 1; n <= links_.Count(); ++n) {
        const THyperLinkRec* record = links_.At(n);
        if (record && record->Link == link && Reachable(*record)) {
            Report(record->HRef);
            return true;
        }
    }
    return false;
}

std::vector<GParserControl::TChoice> GParserControl::Choices() const {
    std::vector<TChoice> choices;
    const std::vector<int> links = ClickableLinks();
    std::vector<std::string_view> named;
    for (const markup::TShownItem& item : shown_.Order) {
        if (item.Kind == markup::TShownItem::skLink) {
            const int link = int(item.Index) + 1;
            if (std::binary_search(links.begin(), links.end(), link))
                choices.push_back({link, nullptr});
            continue;
        }
        if (item.Kind != markup::TShownItem::skInput)
            continue;
        const markup::TShownInput& input = shown_.Inputs[item.Index];
        const bool radio = input.Type == "RADIO";
        if (input.Name.empty() || (!radio && input.Type != "CHECKBOX") ||
            std::find(named.begin(), named.end(), input.Name) != named.end())
            continue;
        // A name used again stands for the field its first tag made.
        named.push_back(input.Name);
        const TInputKind kind = radio ? TInputKind::ikRadio : TInputKind::ikCheckBox;
        for (const TInputFields::TField& field : inputs_.Fields())
            if (field.Name == input.Name && field.Kind == kind && field.Widget)
                choices.push_back({0, field.Widget.data()});
    }
    return choices;
}

int GParserControl::ChoiceCount() const {
    return int(Choices().size());
}

bool GParserControl::PressChoice(int index) {
    const std::vector<TChoice> choices = Choices();
    if (index < 0 || index >= int(choices.size()))
        return false;
    const TChoice& choice = choices[size_t(index)];
    if (choice.Link != 0)
        return FollowLink(choice.Link);
    auto* button = qobject_cast<QAbstractButton*>(choice.Field);
    if (!button || !button->isEnabled())
        return false;
    button->click(); // its own handler reports, as for a click with the mouse
    return true;
}

void GParserControl::SetCurrentLink(int link) {
    const std::vector<int> links = ClickableLinks();
    const auto it = std::find(links.begin(), links.end(), link);
    const int current = it == links.end() ? 0 : link;
    if (current == currentLink_)
        return;
    currentLink_ = current;
    update();
    if (current == 0)
        return;
    EnsureVisible(LinkBounds(current));
    if (QAccessible::isActive() && hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(int(it - links.begin()));
        QAccessible::updateAccessibility(&focus);
    }
}

QRect GParserControl::VisibleArea() const {
    QRect visible = rect();
    if (const QWidget* parent = parentWidget())
        visible &= QRect(-pos(), parent->size());
    return visible;
}

bool GParserControl::StepLink(int step) {
    const std::vector<int> links = ClickableLinks();
    if (links.empty())
        return false;
    const auto it = std::find(links.begin(), links.end(), currentLink_);
    int next = 0;
    if (it != links.end()) {
        // No wrapping: at either end the keys scroll on through the text.
        const ptrdiff_t i = (it - links.begin()) + step;
        if (i >= 0 && i < ptrdiff_t(links.size()))
            next = links[size_t(i)];
    } else {
        // Without a current link the keys start at what is in view.
        const QRect visible = VisibleArea();
        auto inView = [&](int link) {
            for (const QRect& area : LinkAreas(link))
                if (area.intersects(visible))
                    return true;
            return false;
        };
        if (step > 0) {
            const auto found = std::find_if(links.begin(), links.end(), inView);
            next = found == links.end() ? 0 : *found;
        } else {
            const auto found = std::find_if(links.rbegin(), links.rend(), inView);
            next = found == links.rend() ? 0 : *found;
        }
    }
    if (next == 0)
        return false;
    SetCurrentLink(next);
    return true;
}

void GParserControl::ScrollBy(int action) {
    if (QAbstractScrollArea* area = ScrollingParent())
        area->verticalScrollBar()->triggerAction(QAbstractSlider::SliderAction(action));
}

void GParserControl::EnsureVisible(const QRect& area) {
    QAbstractScrollArea* box = ScrollingParent();
    if (!box || area.isEmpty())
        return;
    const QSize view = parentWidget()->size();
    auto bring = [](QScrollBar* bar, int first, int last, int extent) {
        if (last >= bar->value() + extent)
            bar->setValue(last + 1 - extent);
        if (first < bar->value()) // the start wins when the area is larger
            bar->setValue(first);
    };
    bring(box->verticalScrollBar(), area.top(), area.bottom(), view.height());
    bring(box->horizontalScrollBar(), area.left(), area.right(), view.width());
}

void GParserControl::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers held =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool scrolls = ScrollingParent() != nullptr;
    if (held != Qt::NoModifier) {
        GGraphicControl::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Up: {
        const bool down = event->key() == Qt::Key_Down;
        if (StepLink(down ? 1 : -1))
            return;
        if (!scrolls)
            break;
        ScrollBy(down ? QAbstractSlider::SliderSingleStepAdd
                      : QAbstractSlider::SliderSingleStepSub);
        return;
    }
    case Qt::Key_Right:
    case Qt::Key_Left:
        if (StepLink(event->key() == Qt::Key_Right ? 1 : -1))
            return;
        break;
    case Qt::Key_PageDown:
    case Qt::Key_PageUp:
    case Qt::Key_Home:
    case Qt::Key_End: {
        if (!scrolls)
            break;
        // The current link may leave the view: the next arrow starts from
        // what is shown then.
        SetCurrentLink(0);
        const int key = event->key();
        ScrollBy(key == Qt::Key_PageDown ? QAbstractSlider::SliderPageStepAdd
                 : key == Qt::Key_PageUp ? QAbstractSlider::SliderPageStepSub
                 : key == Qt::Key_Home   ? QAbstractSlider::SliderToMinimum
                                         : QAbstractSlider::SliderToMaximum);
        return;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (currentLink_ != 0 && FollowLink(currentLink_))
            return;
        break;
    default:
        break;
    }
    // The window's keys (choices, deleting, the next button) go on to it.
    event->ignore();
}

void GParserControl::focusInEvent(QFocusEvent* event) {
    if (currentLink_ != 0)
        update();
    GGraphicControl::focusInEvent(event);
}

void GParserControl::focusOutEvent(QFocusEvent* event) {
    if (currentLink_ != 0)
        update();
    GGraphicControl::focusOutEvent(event);
}
