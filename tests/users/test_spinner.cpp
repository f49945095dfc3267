#include "users/spinner.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Exposes the arrow buttons' places for clicking them.
class ClickableSpinner : public TSpinner {
public:
    QPoint ArrowCentre(QStyle::SubControl arrow) {
        QStyleOptionSpinBox option;
        initStyleOption(&option);
        return style()->subControlRect(QStyle::CC_SpinBox, &option, arrow, this).center();
    }
};

class SpinnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        spinner_.setLocale(QLocale::c());
        spinner_.SetRange(1, 90);
        spinner_.SetValue(10);
        spinner_.resize(80, 24);
        spinner_.show();
    }
    QString Text() const { return spinner_.Text(); }
    void Leave() {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(&spinner_, &out);
    }

    ClickableSpinner spinner_;
};

TEST_F(SpinnerTest, SettingAValueClampsItToTheRange) {
    spinner_.SetValue(120);
    EXPECT_EQ(Text(), "90");
    spinner_.SetValue(-5);
    EXPECT_EQ(Text(), "1");
    spinner_.SetText("abc");
    EXPECT_EQ(spinner_.Value(), 1); // no number counts as the minimum
    spinner_.SetText("120");
    EXPECT_EQ(spinner_.Value(), 120); // typed text stays until the field is left
    spinner_.SetRange(255, 1);        // limits given the wrong way round
    EXPECT_EQ(spinner_.MinValue(), 1);
    EXPECT_EQ(spinner_.MaxValue(), 255);
    spinner_.SetRange(1, 50);
    EXPECT_EQ(Text(), "50");
}

TEST_F(SpinnerTest, TypedLettersAndEnterAreRefused) {
    QSignalSpy refused(&spinner_, &TSpinner::KeyRefused);
    spinner_.SetText("");
    QTest::keyClicks(&spinner_, "1a2 ,-+.");
    EXPECT_EQ(Text(), "12-+.");
    EXPECT_EQ(refused.count(), 3);
    QTest::keyClick(&spinner_, Qt::Key_Backspace);
    QTest::keyClick(&spinner_, Qt::Key_Return);
    QTest::keyClick(&spinner_, Qt::Key_Enter);
    EXPECT_EQ(Text(), "12-+");
    EXPECT_EQ(refused.count(), 5);
    EXPECT_EQ(spinner_.Value(), 1);

    // The decimal separator is the locale's.
    spinner_.setLocale(QLocale(QLocale::Dutch, QLocale::Netherlands));
    spinner_.SetText("");
    QTest::keyClicks(&spinner_, "3,.");
    EXPECT_EQ(Text(), "3,");
    EXPECT_EQ(refused.count(), 6);
}

TEST_F(SpinnerTest, ArrowKeysAndButtonsStepWithinTheRange) {
    spinner_.SetValue(89);
    QTest::keyClick(&spinner_, Qt::Key_Up);
    EXPECT_EQ(Text(), "90");
    QTest::keyClick(&spinner_, Qt::Key_Up);
    EXPECT_EQ(Text(), "90");
    QTest::keyClick(&spinner_, Qt::Key_Down);
    EXPECT_EQ(Text(), "89");

    spinner_.SetValue(2);
    QTest::mouseClick(&spinner_, Qt::LeftButton, {}, spinner_.ArrowCentre(QStyle::SC_SpinBoxDown));
    EXPECT_EQ(Text(), "1");
    QTest::mouseClick(&spinner_, Qt::LeftButton, {}, spinner_.ArrowCentre(QStyle::SC_SpinBoxDown));
    EXPECT_EQ(Text(), "1");
    QTest::mouseClick(&spinner_, Qt::LeftButton, {}, spinner_.ArrowCentre(QStyle::SC_SpinBoxUp));
    EXPECT_EQ(Text(), "2");

    spinner_.SetText("x"); // stepping from no number starts at the minimum
    QTest::keyClick(&spinner_, Qt::Key_Up);
    EXPECT_EQ(Text(), "2");
}

TEST_F(SpinnerTest, LeavingTheFieldClampsAnOutOfRangeNumber) {
    spinner_.SetText("");
    QTest::keyClicks(&spinner_, "120");
    EXPECT_EQ(Text(), "120");
    Leave();
    EXPECT_EQ(Text(), "90");
    spinner_.SetText("-7");
    Leave();
    EXPECT_EQ(Text(), "1");
    spinner_.SetText("+");
    Leave();
    EXPECT_EQ(Text(), "+");
    EXPECT_EQ(spinner_.Value(), 1);
}

} // namespace
