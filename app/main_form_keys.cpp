// Keys of the Test page. A key reaches the window only when the control
// with the focus left it alone: a text field keeps its letters and
// Backspace, a focused button its Enter, the text view the Enter that
// follows a link. What is left runs the same handler as the click it stands
// for.
#include "app/main_form.h"

#include "app/status_flags.h"
#include "app/test_page_keys.h"
#include "markup/parser_control.h"
#include "widgets/base_btn.h"

#include <QKeyEvent>

void TMainForm::keyPressEvent(QKeyEvent* event) {
    if (!HandleTestPageKey(event->key(), event->modifiers()))
        QWidget::keyPressEvent(event);
}

bool TMainForm::HandleTestPageKey(int key, Qt::KeyboardModifiers modifiers) {
    if (ActivePageName() != QLatin1String("Test"))
        return false;
    const TTestPageKeyAction action = TestPageKeyAction(key, modifiers);
    switch (action.Kind) {
    case TTestPageKey::Choice: {
        const uint16_t flags = StatusFlags();
        // Choices count only while a question waits for its answer.
        if (!HasFlag(flags, sfTestRunning) || HasFlag(flags, sfTestPaused) || !TestView)
            return false;
        return TestView->PressChoice(action.Choice);
    }
    case TTestPageKey::DeleteAnswer:
        return DeleteAnswerBtn->Click();
    case TTestPageKey::NextQuestion:
        return NextQuestionBtn->Click();
    case TTestPageKey::None:
        break;
    }
    return false;
}
