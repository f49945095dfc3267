#include "widgets/base_btn_accessible.h"

#include "widgets/base_btn.h"

TBaseBtnAccessible::TBaseBtnAccessible(TBaseBtn* button)
    : QAccessibleWidget(button, QAccessible::Button) {}

TBaseBtn* TBaseBtnAccessible::Button() const {
    return static_cast<TBaseBtn*>(widget());
}

QString TBaseBtnAccessible::text(QAccessible::Text t) const {
    // A name the window gave (glyph-only buttons) goes before the caption.
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return Button()->Caption();
    return QAccessibleWidget::text(t);
}

QAccessible::State TBaseBtnAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    const TBaseBtn* button = Button();
    s.pressed = button->ButtonIsDown() || button->MousePressed() || button->KeyPressed();
    return s;
}

QStringList TBaseBtnAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (widget()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void TBaseBtnAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction())
        Button()->Click();
    else
        QAccessibleWidget::doAction(actionName);
}

QStringList TBaseBtnAccessible::keyBindingsForAction(const QString& actionName) const {
    if (actionName == pressAction())
        return {QStringLiteral("Space")};
    return QAccessibleWidget::keyBindingsForAction(actionName);
}

QAccessibleInterface* BaseBtnAccessibleFactory(const QString&, QObject* object) {
    if (auto* button = qobject_cast<TBaseBtn*>(object))
        return new TBaseBtnAccessible(button);
    return nullptr;
}
