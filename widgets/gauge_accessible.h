#pragma once

#include <QAccessibleWidget>

class TGauge;

// What a screen reader sees of a gauge: a progress bar with its value and
// range, named by the name the window gave it or else by its object name.
class TGaugeAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TGaugeAccessible(TGauge* gauge);

    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override; // the program sets it, nobody else
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    TGauge* Gauge() const;
};

// The factory for QAccessible::installFactory.
QAccessibleInterface* GaugeAccessibleFactory(const QString& className, QObject* object);
