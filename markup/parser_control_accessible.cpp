#include "markup/parser_control_accessible.h"

#include "markup/parser_control.h"
#include "platform/ansi.h"
#include "widgets/accessible_factories.h"

#include <QCoreApplication>
#include <QPointer>
#include <algorithm>

namespace {

// An area of the control, on the screen.
QRect OnScreen(const GParserControl* control, const QRect& area) {
    if (!control || area.isEmpty())
        return {};
    return QRect(control->mapToGlobal(area.topLeft()), area.size());
}

// Children of a text that has gone stay answerable, but invalid.
class TMarkupChild : public QAccessibleInterface {
public:
    TMarkupChild(GParserControl* control)
        : control_(control), generation_(control->TextGeneration()) {}

    bool isValid() const override { return control_ && control_->TextGeneration() == generation_; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        QAccessibleInterface* parent = this->parent();
        return parent ? parent->window() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return control_ ? QAccessible::queryAccessibleInterface(control_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    QPointer<GParserControl> control_;
    quint64 generation_;
};

class TMarkupLinkAccessible final : public TMarkupChild, public QAccessibleActionInterface {
public:
    TMarkupLinkAccessible(GParserControl* control, int link, const QString& name)
        : TMarkupChild(control), link_(link), name_(name) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? name_ : QString();
    }
    QRect rect() const override {
        if (!isValid())
            return {};
        return OnScreen(control_, control_->LinkBounds(link_));
    }
    QAccessible::Role role() const override { return QAccessible::Link; }
    QAccessible::State state() const override {
        QAccessible::State st;
        if (!isValid()) {
            st.invalid = true;
            return st;
        }
        st.focusable = true;
        st.focused = control_->hasFocus() && control_->CurrentLink() == link_;
        st.disabled = !control_->LinksReact();
        st.invisible = !control_->isVisible();
        return st;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& actionName) override {
        // Exactly what a click does; the receiver may replace the text, and
        // with it this child, so nothing of it is used afterwards.
        if (actionName == pressAction() && isValid())
            control_->FollowLink(link_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    int link_;
    QString name_;
};

class TMarkupPictureAccessible final : public TMarkupChild {
public:
    TMarkupPictureAccessible(GParserControl* control, size_t index, const QString& name)
        : TMarkupChild(control), index_(index), name_(name) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? name_ : QString();
    }
    QRect rect() const override {
        if (!isValid() || index_ >= control_->PictureAreas().size())
            return {};
        return OnScreen(control_, control_->PictureAreas()[index_]);
    }
    QAccessible::Role role() const override { return QAccessible::Graphic; }
    QAccessible::State state() const override {
        QAccessible::State st;
        st.invalid = !isValid();
        st.invisible = !control_ || !control_->isVisible();
        return st;
    }

private:
    size_t index_;
    QString name_;
};

QAccessibleInterface* MarkupFactory(const QString& key, QObject* object) {
    if (key != QLatin1String("GParserControl"))
        return nullptr;
    auto* control = qobject_cast<GParserControl*>(object);
    return control ? new TParserControlAccessible(control) : nullptr;
}

} // namespace

TParserControlAccessible::TParserControlAccessible(GParserControl* control)
    : QAccessibleWidget(control, QAccessible::Document) {}

TParserControlAccessible::~TParserControlAccessible() {
    for (QAccessible::Id id : childIds_)
        QAccessible::deleteAccessibleInterface(id);
}

GParserControl* TParserControlAccessible::Control() const {
    return static_cast<GParserControl*>(widget());
}

void TParserControlAccessible::Retire() const {
    std::vector<QAccessible::Id> ids;
    ids.swap(childIds_);
    children_.clear();
    if (ids.empty())
        return;
    // A child may be the one whose press led here (its receiver showed a
    // new text), so the old children go once control has left them.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [ids] {
            for (QAccessible::Id id : ids)
                QAccessible::deleteAccessibleInterface(id);
        },
        Qt::QueuedConnection);
}

void TParserControlAccessible::Sync() const {
    GParserControl* control = Control();
    if (!control || (synced_ && generation_ == control->TextGeneration()))
        return;
    Retire();
    synced_ = true;
    generation_ = control->TextGeneration();
    const markup::TShownText& shown = control->ShownText();
    auto add = [this](QAccessibleInterface* child) {
        children_.push_back(child);
        childIds_.push_back(QAccessible::registerAccessibleInterface(child));
    };
    // The links a click can reach, as the keyboard moves through them.
    for (int link : control->ClickableLinks())
        if (link >= 1 && size_t(link) <= shown.Links.size())
            add(new TMarkupLinkAccessible(control, link,
                                          plat::FromAnsi(shown.Links[size_t(link - 1)].Text)));
    for (size_t i = 0; i < shown.Pictures.size(); ++i)
        add(new TMarkupPictureAccessible(control, i, plat::FromAnsi(shown.Pictures[i])));
}

void* TParserControlAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TParserControlAccessible::state() const {
    QAccessible::State st = QAccessibleWidget::state();
    st.readOnly = true;
    st.multiLine = true;
    return st;
}

int TParserControlAccessible::childCount() const {
    Sync();
    return int(children_.size()) + QAccessibleWidget::childCount();
}

QAccessibleInterface* TParserControlAccessible::child(int index) const {
    Sync();
    if (index < 0)
        return nullptr;
    if (size_t(index) < children_.size())
        return children_[size_t(index)];
    return QAccessibleWidget::child(index - int(children_.size()));
}

int TParserControlAccessible::indexOfChild(const QAccessibleInterface* child) const {
    Sync();
    const auto it = std::find(children_.begin(), children_.end(), child);
    if (it != children_.end())
        return int(it - children_.begin());
    const int field = QAccessibleWidget::indexOfChild(child);
    return field < 0 ? -1 : field + int(children_.size());
}

QAccessibleInterface* TParserControlAccessible::childAt(int x, int y) const {
    Sync();
    for (QAccessibleInterface* child : children_)
        if (child->rect().contains(x, y))
            return child;
    return QAccessibleWidget::childAt(x, y);
}

QAccessibleInterface* TParserControlAccessible::focusChild() const {
    Sync();
    GParserControl* control = Control();
    if (control && control->hasFocus() && control->CurrentLink() != 0)
        for (QAccessibleInterface* child : children_)
            if (child->role() == QAccessible::Link && child->state().focused)
                return child;
    return QAccessibleWidget::focusChild();
}

QString TParserControlAccessible::ShownText() const {
    GParserControl* control = Control();
    return control ? plat::FromAnsi(control->ShownText().Text) : QString();
}

void TParserControlAccessible::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}

int TParserControlAccessible::cursorPosition() const {
    // At the link the keyboard is on, so that a reader starts there.
    GParserControl* control = Control();
    if (!control)
        return 0;
    const int link = control->CurrentLink();
    const auto& links = control->ShownText().Links;
    return link >= 1 && size_t(link) <= links.size() ? int(links[size_t(link - 1)].Start) : 0;
}

QString TParserControlAccessible::text(int startOffset, int endOffset) const {
    const QString shown = ShownText();
    startOffset = std::clamp(startOffset, 0, int(shown.size()));
    endOffset = std::clamp(endOffset, startOffset, int(shown.size()));
    return shown.mid(startOffset, endOffset - startOffset);
}

int TParserControlAccessible::characterCount() const {
    return int(ShownText().size());
}

QString TParserControlAccessible::attributes(int, int* startOffset, int* endOffset) const {
    // One run without attributes.
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void InstallMarkupAccessibility() {
    AddAccessibleFactory(MarkupFactory);
}
