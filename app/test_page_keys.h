#pragma once

#include <Qt>

// What a key stands for on the Test page. The keys only stand in for clicks:
// the window runs the handler of the control the key names.
enum class TTestPageKey {
    None,
    Choice,       // A to E and 1 to 5: the question's choices in their order
    DeleteAnswer, // Backspace: the delete button
    NextQuestion, // Enter: the button that follows
};

struct TTestPageKeyAction {
    TTestPageKey Kind = TTestPageKey::None;
    int Choice = -1; // 0-based, for Choice
};

// Keys held with Ctrl, Alt or Meta stand for nothing: they belong to the
// desktop and to shortcuts.
TTestPageKeyAction TestPageKeyAction(int key, Qt::KeyboardModifiers modifiers);
