#include "app/message_boxes.h"

#include "users/user_store.h"

#include <QApplication>
#include <QTimer>

QMessageBox::StandardButton ExecFrontBox(QWidget* near, QMessageBox::Icon icon,
                                         const QString& caption, const QString& text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) {
    QWidget* owner = near ? near->window() : nullptr;
    QMessageBox box(icon, caption, text, buttons, owner);
    box.setDefaultButton(defaultButton);
    // A modal box behind a stay-on-top window leaves the program looking
    // frozen: the box stays on top as well, as the window's own child.
    if (owner && owner->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QTimer::singleShot(0, &box, [&box] {
        box.raise();
        box.activateWindow();
    });
    return QMessageBox::StandardButton(box.exec());
}

void ShowWriteErrorInFront(QWidget* near, const QString& fileName) {
    ExecFrontBox(near, QMessageBox::Critical, QApplication::applicationDisplayName(),
                 WriteErrorText(fileName), QMessageBox::Ok, QMessageBox::Ok);
}

bool AskConfirmInFront(QWidget* near, const QString& question) {
    return ExecFrontBox(near, QMessageBox::Question, QStringLiteral("Confirm"), question,
                        QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

void ShowInformationInFront(QWidget* near, const QString& text) {
    ExecFrontBox(near, QMessageBox::Information, QStringLiteral("Informatie"), text,
                 QMessageBox::Ok, QMessageBox::Ok);
}
