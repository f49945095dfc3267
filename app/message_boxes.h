#pragma once

#include <QMessageBox>
#include <QString>

// The program's standard boxes. Each belongs to the window of `near` (any
// control of the main window will do) and is shown in front of it, also
// when that window stays on top of others.
QMessageBox::StandardButton ExecFrontBox(QWidget* near, QMessageBox::Icon icon,
                                         const QString& caption, const QString& text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton);

// "Unable to write to <file>", with the program's name as caption.
void ShowWriteErrorInFront(QWidget* near, const QString& fileName);
// The "Confirm" box with Yes and No (No by default); true for Yes.
bool AskConfirmInFront(QWidget* near, const QString& question);
// The exchange's result messages, captioned "Informatie".
void ShowInformationInFront(QWidget* near, const QString& text);
