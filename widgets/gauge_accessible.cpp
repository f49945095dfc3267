#include "widgets/gauge_accessible.h"

#include "widgets/gauge.h"

#include <cmath>

TGaugeAccessible::TGaugeAccessible(TGauge* gauge)
    : QAccessibleWidget(gauge, QAccessible::ProgressBar) {}

TGauge* TGaugeAccessible::Gauge() const {
    return static_cast<TGauge*>(widget());
}

QString TGaugeAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return widget()->objectName();
    // Read as the bar shows it, in percent of the range.
    if (t == QAccessible::Value)
        return QStringLiteral("%1%").arg(std::lround(GaugeFraction(Gauge()->Face()) * 100));
    return QAccessibleWidget::text(t);
}

void* TGaugeAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QVariant TGaugeAccessible::currentValue() const {
    return Gauge()->Progress();
}

void TGaugeAccessible::setCurrentValue(const QVariant&) {}

QVariant TGaugeAccessible::maximumValue() const {
    return Gauge()->MaxValue();
}

QVariant TGaugeAccessible::minimumValue() const {
    return Gauge()->MinValue();
}

QVariant TGaugeAccessible::minimumStepSize() const {
    return 0;
}

QAccessibleInterface* GaugeAccessibleFactory(const QString&, QObject* object) {
    if (auto* gauge = qobject_cast<TGauge*>(object))
        return new TGaugeAccessible(gauge);
    return nullptr;
}
