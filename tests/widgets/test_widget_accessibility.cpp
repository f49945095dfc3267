// What screen readers get from the skinned button and the gauge.
#include "widgets/accessible_factories.h"
#include "widgets/base_btn.h"
#include "widgets/base_btn_accessible.h"
#include "widgets/gauge.h"
#include "widgets/gauge_accessible.h"

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QAccessibleInterface* Of(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// Qt keeps the first interface it makes for an object, and showing a window
// may make them: the factories go in before any widget exists, as the
// program does it.
class Accessibility : public ::testing::Test {
protected:
    void SetUp() override { InstallAccessibleFactories(); }
};
using ButtonAccessibility = Accessibility;
using GaugeAccessibility = Accessibility;
using AccessibleFactories = Accessibility;

} // namespace

TEST_F(ButtonAccessibility, IsAPushButtonNamedByItsCaptionOrItsGivenName) {
    QWidget window;
    auto* button = new TBaseBtn(&window);
    button->SetCaption(QStringLiteral("Aanmelden..."));
    QAccessibleInterface* a = Of(button);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::Button);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Aanmelden..."));
    EXPECT_EQ(a->childCount(), 0);
    EXPECT_TRUE(a->state().focusable);

    // A glyph-only button is named by the window.
    button->SetCaption(QStringLiteral("x"));
    button->setAccessibleName(QStringLiteral("Afsluiten"));
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Afsluiten"));

    EXPECT_FALSE(a->state().pressed);
    button->SetButtonIsDown(true);
    EXPECT_TRUE(a->state().pressed);
}

TEST_F(ButtonAccessibility, PressActionClicksOnceAndOnlyWhenUsable) {
    QWidget window;
    auto* button = new TBaseBtn(&window);
    window.show();
    QSignalSpy clicks(button, &TBaseBtn::OnClick);
    QAccessibleInterface* a = Of(button);
    QAccessibleActionInterface* actions = a->actionInterface();
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);

    button->setEnabled(false);
    EXPECT_TRUE(a->state().disabled);
    EXPECT_FALSE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);

    button->setEnabled(true);
    button->hide();
    EXPECT_TRUE(a->state().invisible);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(GaugeAccessibility, IsAProgressBarWithItsValueAndRange) {
    QWidget window;
    auto* gauge = new TGauge(&window);
    gauge->setObjectName(QStringLiteral("TimeLimitQGauge"));
    gauge->SetRange(0, 100);
    gauge->SetProgress(40);
    QAccessibleInterface* a = Of(gauge);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::ProgressBar);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("TimeLimitQGauge"));
    gauge->setAccessibleName(QStringLiteral("Tijd deze vraag"));
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Tijd deze vraag"));
    EXPECT_EQ(a->text(QAccessible::Value), QStringLiteral("40%"));
    QAccessibleValueInterface* value = a->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toInt(), 40);
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 100);
    // Only the program moves it.
    value->setCurrentValue(90);
    EXPECT_EQ(gauge->Progress(), 40);
}

TEST_F(AccessibleFactories, LeaveOtherObjectsToQt) {
    QWidget plain;
    TBaseBtn button;
    TGauge gauge;
    EXPECT_EQ(BaseBtnAccessibleFactory(QStringLiteral("QWidget"), &plain), nullptr);
    EXPECT_EQ(BaseBtnAccessibleFactory(QStringLiteral("TGauge"), &gauge), nullptr);
    EXPECT_EQ(GaugeAccessibleFactory(QStringLiteral("TBaseBtn"), &button), nullptr);
    EXPECT_EQ(Of(&plain)->role(), QAccessible::Client);
}
