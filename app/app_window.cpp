#include "app/app_window.h"

#include <QApplication>
#include <QWidget>

void MinimizeApplication() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = w->windowType();
        if (w->isVisible() && (type == Qt::Window || type == Qt::Dialog) && !w->isMinimized())
            w->showMinimized();
    }
}
