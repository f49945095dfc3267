#pragma once

#include <QAccessibleWidget>

class TBaseBtn;

// What a screen reader sees of a skinned button: a push button named by its
// caption (or the name the window gave it), unavailable while disabled,
// pressed while held or latched down, with a press action that runs the same
// click handlers a mouse click runs.
class TBaseBtnAccessible : public QAccessibleWidget {
public:
    explicit TBaseBtnAccessible(TBaseBtn* button);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

private:
    TBaseBtn* Button() const;
};

// The factory for QAccessible::installFactory.
QAccessibleInterface* BaseBtnAccessibleFactory(const QString& className, QObject* object);
