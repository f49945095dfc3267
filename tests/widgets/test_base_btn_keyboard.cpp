// The skinned button from the keyboard: where Tab goes, what Space and
// Enter do, and the focus ring.
#include "tests/common/paint_probe.h"
#include "widgets/base_btn.h"

#include <QKeyEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void SendKey(QWidget* target, QEvent::Type type, int key, bool autoRepeat = false,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
    QCoreApplication::sendEvent(target, &event);
}

// A window with four buttons in a row; the third is disabled, the fourth
// hidden unless asked for.
struct ButtonRow {
    QWidget window;
    TBaseBtn* buttons[4];

    ButtonRow() {
        window.resize(600, 60);
        for (int i = 0; i < 4; ++i) {
            buttons[i] = new TBaseBtn(&window);
            buttons[i]->setObjectName(QStringLiteral("B%1").arg(i));
            buttons[i]->move(i * 140, 10);
        }
        buttons[2]->setEnabled(false);
        buttons[3]->hide();
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

} // namespace

TEST(BaseBtnKeyboard, TabVisitsEnabledShownButtonsAndAClickLeavesTheFocus) {
    ButtonRow row;
    TBaseBtn* const* b = row.buttons;
    b[0]->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(b[0]->hasFocus());
    QTest::keyClick(&row.window, Qt::Key_Tab);
    EXPECT_TRUE(b[1]->hasFocus());
    // The disabled and the hidden one are passed over, round to the first.
    QTest::keyClick(&row.window, Qt::Key_Tab);
    EXPECT_TRUE(b[0]->hasFocus());
    QTest::keyClick(&row.window, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(b[1]->hasFocus());
    b[3]->show();
    QTest::keyClick(&row.window, Qt::Key_Tab);
    EXPECT_TRUE(b[3]->hasFocus());

    QSignalSpy clicks(b[0], &TBaseBtn::OnClick);
    QTest::mouseClick(b[0], Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(b[3]->hasFocus());
}

TEST(BaseBtnKeyboard, SpaceEnterAndReturnClickOnceWhenReleased) {
    ButtonRow row;
    TBaseBtn* button = row.buttons[0];
    button->setFocus();
    QSignalSpy clicks(button, &TBaseBtn::OnClick);
    int expected = 0;
    for (const int key : {int(Qt::Key_Space), int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        SCOPED_TRACE(key);
        SendKey(button, QEvent::KeyPress, key);
        EXPECT_TRUE(button->KeyPressed());
        EXPECT_TRUE(IsPressed(button->Face(), button->Status()));
        // Holding the key repeats it; the repeats are no clicks.
        for (int i = 0; i < 3; ++i) {
            SendKey(button, QEvent::KeyRelease, key, true);
            SendKey(button, QEvent::KeyPress, key, true);
        }
        EXPECT_EQ(clicks.count(), expected);
        SendKey(button, QEvent::KeyRelease, key);
        EXPECT_EQ(clicks.count(), ++expected);
        EXPECT_FALSE(IsPressed(button->Face(), button->Status()));
    }
    // The keypad's Enter comes with the keypad modifier.
    SendKey(button, QEvent::KeyPress, Qt::Key_Enter, false, Qt::KeypadModifier);
    SendKey(button, QEvent::KeyRelease, Qt::Key_Enter, false, Qt::KeypadModifier);
    EXPECT_EQ(clicks.count(), ++expected);

    // Other keys, and Space with Shift, are the parent's.
    for (const auto& [key, modifiers] :
         {std::pair{int(Qt::Key_A), Qt::KeyboardModifiers()},
          std::pair{int(Qt::Key_Space), Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(button, &press);
        EXPECT_FALSE(press.isAccepted()) << key;
        SendKey(button, QEvent::KeyRelease, key, false, modifiers);
    }
    EXPECT_EQ(clicks.count(), expected);
}

TEST(BaseBtnKeyboard, PressTakenBackWhenTheFocusLeavesOrTheButtonIsDisabled) {
    ButtonRow row;
    TBaseBtn* button = row.buttons[0];
    QSignalSpy clicks(button, &TBaseBtn::OnClick);
    button->setFocus();
    SendKey(button, QEvent::KeyPress, Qt::Key_Space);
    row.buttons[1]->setFocus();
    EXPECT_FALSE(button->KeyPressed());
    SendKey(button, QEvent::KeyRelease, Qt::Key_Space);

    button->setFocus();
    SendKey(button, QEvent::KeyPress, Qt::Key_Return);
    button->setEnabled(false);
    EXPECT_FALSE(button->KeyPressed());
    SendKey(button, QEvent::KeyRelease, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(button->Click()); // a disabled button cannot be clicked at all
    button->setEnabled(true);
    EXPECT_TRUE(button->Click());
    EXPECT_EQ(clicks.count(), 1);
}

TEST(BaseBtnKeyboard, KeyClickHandlerMayDestroyTheButton) {
    ButtonRow row;
    QPointer<TBaseBtn> button = row.buttons[1];
    QObject::connect(button, &TBaseBtn::OnClick, button, [&button] { delete button.data(); });
    button->setFocus();
    SendKey(button, QEvent::KeyPress, Qt::Key_Space);
    SendKey(button, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_TRUE(button.isNull());
}

// The program's buttons have no drawn face: the ring sits inside the border.
TEST(BaseBtnKeyboard, FocusRingShowsOnlyWhileFocused) {
    ButtonRow row;
    TBaseBtn* button = row.buttons[0];
    button->SetFaceVisible(false);
    button->SetFontColor(QColor(0, 0, 255));
    const auto ringPixels = [button] {
        const QImage image = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
        probe::SaveOnFailure save(image, QStringLiteral("focus_ring"));
        const QRect ring = FocusRingRect(button->Face(), button->size(), false);
        int blue = 0;
        for (int x = ring.left(); x <= ring.right(); ++x)
            blue += probe::SameColour(image.pixel(x, ring.top()), qRgb(0, 0, 255));
        return std::pair{blue, probe::Count(image, [](QRgb c) {
                             return probe::SameColour(c, qRgb(0, 0, 255));
                         })};
    };
    row.buttons[1]->setFocus(); // the window gave the first one the focus
    EXPECT_EQ(ringPixels().second, 0);
    button->setFocus();
    const auto [onTop, all] = ringPixels();
    // Dotted: about every other pixel of the top edge.
    const int width = FocusRingRect(button->Face(), button->size(), false).width();
    EXPECT_GE(onTop, width / 3);
    EXPECT_LT(onTop, width);
    EXPECT_GT(all, 2 * onTop); // the other three sides too
    row.buttons[1]->setFocus();
    EXPECT_EQ(ringPixels().second, 0);
}
