#include "app/test_page_keys.h"

TTestPageKeyAction TestPageKeyAction(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {};
    if (key >= Qt::Key_A && key <= Qt::Key_E)
        return {TTestPageKey::Choice, key - Qt::Key_A};
    if (key >= Qt::Key_1 && key <= Qt::Key_5)
        return {TTestPageKey::Choice, key - Qt::Key_1};
    switch (key) {
    case Qt::Key_Backspace:
        return {TTestPageKey::DeleteAnswer};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {TTestPageKey::NextQuestion};
    default:
        return {};
    }
}
