#include "markup/input_fields.h"

#include "platform/ansi.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>

namespace {

// Forwards a click in a text field as the markup control's own click.
class TClickForwarder : public QObject {
public:
    TClickForwarder(QObject* parent, std::function<void()> click)
        : QObject(parent), click_(std::move(click)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease && click_)
            click_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> click_;
};

constexpr int kMaxTextFieldChars = 255;
// A SIZE beyond this is taken as this many characters wide.
constexpr int kMaxTextFieldSize = 1000;

} // namespace

TInputFields::TInputFields(QWidget* owner, TReport report, TClick textClick)
    : owner_(owner), report_(std::move(report)), textClick_(std::move(textClick)) {}

TInputFields::~TInputFields() {
    Clear();
}

TInputFields::TField* TInputFields::FindField(std::string_view name) {
    for (TField& field : fields_)
        if (field.Name == name)
            return &field;
    return nullptr;
}

QWidget* TInputFields::Find(std::string_view name) const {
    for (const TField& field : fields_)
        if (field.Name == name)
            return field.Widget;
    return nullptr;
}

int TInputFields::Create(const markup::TInputTag& tag, TInputKind kind, int x, int y, int m,
                         bool enabled) {
    TField field{tag.Name, kind, tag.Value, nullptr};
    QWidget* widget = nullptr;
    int room = m;
    switch (kind) {
    case TInputKind::ikRadio:
    case TInputKind::ikCheckBox: {
        QAbstractButton* button = kind == TInputKind::ikRadio
                                      ? static_cast<QAbstractButton*>(new QRadioButton(owner_))
                                      : new QCheckBox(owner_);
        button->setGeometry(x, y, m, m);
        widget = button;
        break;
    }
    case TInputKind::ikText: {
        auto* edit = new QLineEdit(owner_);
        edit->setMaxLength(kMaxTextFieldChars);
        edit->setText(plat::FromAnsi(plat::AnsiLower(tag.Value)));
        const int n = std::clamp(tag.Size, 0, kMaxTextFieldSize);
        room = n * m;
        edit->setGeometry(x, y, room, m);
        edit->installEventFilter(new TClickForwarder(edit, textClick_));
        widget = edit;
        break;
    }
    }
    widget->setObjectName(plat::FromAnsi(tag.Name));
    widget->setEnabled(enabled);
    field.Widget = widget;
    fields_.insert(fields_.begin(), field);
    const std::string name = tag.Name;
    // Handlers look their field up by name: the list moves as fields come.
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QObject::connect(button, &QAbstractButton::clicked, widget, [this, name](bool checked) {
            if (TField* f = FindField(name))
                report_(*f, checked);
        });
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        QObject::connect(edit, &QLineEdit::textChanged, widget, [this, name] {
            if (TField* f = FindField(name))
                report_(*f, false);
        });
    }
    widget->show();
    return room;
}

int TInputFields::Place(const markup::TInputTag& tag, int x, int y, int m, bool enabled) {
    if (tag.Name.empty())
        return 0;
    TInputKind kind;
    if (tag.Type == "RADIO")
        kind = TInputKind::ikRadio;
    else if (tag.Type == "CHECKBOX")
        kind = TInputKind::ikCheckBox;
    else if (tag.Type == "TEXT")
        kind = TInputKind::ikText;
    else
        return 0;

    TField* field = FindField(tag.Name);
    if (!field) {
        return Create(tag, kind, x, y, m, enabled);
    }
    // A field of that name but another kind is left alone.
    if (field->Kind != kind || !field->Widget)
        return 0;
    QWidget* widget = field->Widget;
    const QRect place(x, y, kind == TInputKind::ikText ? widget->width() : m, m);
    if (widget->geometry() != place)
        widget->setGeometry(place);
    widget->setEnabled(enabled);
    lastMoved_ = widget;
    return place.width();
}

bool TInputFields::HoldsFocus() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus && std::any_of(fields_.begin(), fields_.end(),
                                [&](const TField& f) { return f.Widget == focus; });
}

void TInputFields::EndPass() {
    QWidget* widget = lastMoved_;
    lastMoved_ = nullptr;
    // Fields that cannot take the focus refuse it quietly.
    if (!widget || !widget->isVisible() || !widget->isEnabled() || HoldsFocus())
        return;
    widget->setFocus(Qt::OtherFocusReason);
}

void TInputFields::Clear() {
    lastMoved_ = nullptr;
    std::vector<TField> fields;
    fields.swap(fields_);
    // A field may be the one whose report led here, so it goes once control
    // has left it; until then it is hidden and no longer listed.
    for (TField& field : fields)
        if (QWidget* widget = field.Widget.data()) {
            widget->hide();
            widget->deleteLater();
        }
}

void TInputFields::ClearInputs() {
    for (TField& field : fields_) {
        if (!field.Widget)
            continue;
        if (auto* radio = qobject_cast<QRadioButton*>(field.Widget.data())) {
            // An exclusive group never lets its checked button go otherwise.
            radio->setAutoExclusive(false);
            radio->setChecked(false);
            radio->setAutoExclusive(true);
        } else if (auto* box = qobject_cast<QCheckBox*>(field.Widget.data())) {
            box->setChecked(false);
        } else if (auto* edit = qobject_cast<QLineEdit*>(field.Widget.data())) {
            edit->clear();
        }
    }
}

void TInputFields::SetEnabled(bool enabled) {
    for (TField& field : fields_)
        if (field.Widget)
            field.Widget->setEnabled(enabled);
}
