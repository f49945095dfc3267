#include "widgets/accessible_factories.h"

#include "widgets/base_btn_accessible.h"
#include "widgets/gauge_accessible.h"

#include <QList>

void AddAccessibleFactory(QAccessible::InterfaceFactory factory) {
    // Qt would call a factory installed twice twice; keep our own record.
    static QList<QAccessible::InterfaceFactory> installed;
    if (!factory || installed.contains(factory))
        return;
    installed.append(factory);
    QAccessible::installFactory(factory);
}

void InstallAccessibleFactories() {
    AddAccessibleFactory(BaseBtnAccessibleFactory);
    AddAccessibleFactory(GaugeAccessibleFactory);
}
