#include "markup/markup_view_host.h"

#include "markup/parser_control.h"
#include "widgets/hand_cursors.h"

#include <QEvent>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>

namespace {

// The view spans the viewport's width, as a control aligned to the top of
// its box does, and is painted at once when the box changes size.
class TViewportFollower : public QObject {
public:
    TViewportFollower(QScrollArea* box, GParserControl* view) : QObject(box), view_(view) {
        box->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize && view_) {
            auto* viewport = static_cast<QWidget*>(watched);
            if (view_->width() != viewport->width())
                view_->resize(viewport->width(), view_->height());
            view_->PaintNow();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<GParserControl> view_;
};

QFont LinkFontOf(const QFont& font) {
    QFont link = font;
    link.setBold(false);
    link.setItalic(false);
    link.setStrikeOut(false);
    link.setUnderline(true);
    return link;
}

} // namespace

GParserControl* CreateMarkupView(QScrollArea* box, const QString& viewName,
                                 const std::vector<std::string>* pictureIndex) {
    RegisterHandCursors();
    box->setFrameShape(QFrame::NoFrame);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->verticalScrollBar()->setSingleStep(kMarkupScrollStep);
    box->setCursor(CustomCursor(crHandNoFingersCursor));
    box->setWidgetResizable(false);

    auto* view = new GParserControl(box->viewport(), pictureIndex);
    view->setObjectName(viewName);
    QFont font = box->font();
    font.setPointSize(10);
    view->setFont(font);
    view->Background().SetBrush(Qt::NoBrush);
    view->Background().SetPen(Qt::NoPen);
    view->Background().SetImageDrawStyle(idsTopLeft);
    view->SetDrawFocused(false);
    view->SetHyperLinkFont(LinkFontOf(view->font()));
    box->setWidget(view);
    // The page gives the box the focus; the keys belong to the text.
    box->setFocusProxy(view);
    view->resize(box->viewport()->width(), 0);
    PlaceMarkupView(view, box);
    new TViewportFollower(box, view);
    return view;
}

void PlaceMarkupView(GParserControl* view, const QScrollArea* box) {
    if (!view || !box)
        return;
    view->SetdX(-box->x());
    view->SetdY(-box->y());
    QFont link = view->HyperLinkFont();
    if (view->font().pointSize() > 0)
        link.setPointSize(view->font().pointSize());
    else if (view->font().pixelSize() > 0)
        link.setPixelSize(view->font().pixelSize());
    view->SetHyperLinkFont(link);
}
