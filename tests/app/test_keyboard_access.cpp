// The main window from the keyboard and for screen readers: where Tab goes,
// that keys press the same handlers as clicks, and the names of the controls.
#include "app/status_flags.h"
#include "form_fixture.h"
#include "widgets/accessible_factories.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

namespace {

class KeyboardAccessTest : public FormTest {
protected:
    void ShowForm() {
        InstallAccessibleFactories();
        CreateForm();
        form->UpdateStatus();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    // The named control that has the focus (a list's own line edit counts
    // as the list).
    static QString Focused() {
        for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
            if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
                return w->objectName();
        return QString();
    }

    // A key as the keyboard gives it: the release goes to whoever has the
    // focus after the press.
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyPress(QApplication::focusWidget(), key, modifiers);
        QTest::keyRelease(QApplication::focusWidget(), key, modifiers);
    }
    static void Type(const char* text) { QTest::keyClicks(QApplication::focusWidget(), text); }

    // The names Tab visits from the focused control until it comes back.
    QStringList TabCycle() {
        const QString start = Focused();
        QStringList seen{start};
        for (int i = 0; i < 60; ++i) {
            Key(Qt::Key_Tab);
            if (Focused() == start)
                return seen;
            seen << Focused();
        }
        ADD_FAILURE() << "Tab never came back to " << start.toStdString();
        return seen;
    }

    // Tabs until `name` has the focus.
    void TabTo(const char* name) {
        for (int i = 0; i < 60 && Focused() != QLatin1String(name); ++i) {
            Key(Qt::Key_Tab);
        }
        ASSERT_EQ(Focused(), QLatin1String(name));
    }
};

} // namespace

TEST_F(KeyboardAccessTest, TabGoesOverTheUsableButtonsAndTheShownPageOnly) {
    ShowForm();
    // Nobody logged on: the name list has the focus, as it always had, and
    // only two page buttons can be used.
    EXPECT_EQ(Focused(), QStringLiteral("LogOnOffUsersLst"));
    EXPECT_EQ(TabCycle(), (QStringList{"LogOnOffUsersLst", "InfoBtn", "SoundBtn", "MinimizeBtn",
                                       "QuitBtn", "LogOnOffBtn", "HelpBtn"}));
    // A typed new name shows the password fields, which join in.
    Type("Eva");
    // Two empty passwords are equal: "Toevoegen" shows as well.
    EXPECT_EQ(TabCycle().mid(0, 5), (QStringList{"LogOnOffUsersLst", "LogOnOffPWEdit",
                                                 "LogOnOffCPWEdit", "LogOnOffAddBtn", "InfoBtn"}));
}

TEST_F(KeyboardAccessTest, LogOnByKeyboardRunsTheHandlersOfTheClicks) {
    ShowForm();
    Type("Eva");
    Key(Qt::Key_Tab);
    Type("kiwi7");
    Key(Qt::Key_Tab);
    Type("kiwi7");
    TabTo("LogOnOffAddBtn");
    Key(Qt::Key_Space);
    EXPECT_TRUE(dir.Read("User/users.dat").contains("[Eva.Data]"));
    EXPECT_FALSE(HasFlag(form->StatusFlags(), sfLoggedOn));

    // "Toevoegen" went, the focus with it; "Aanmelden" stands just before.
    // (Tab round to it would pass the list, whose key-up empties the
    // passwords, as it does for any key.)
    EXPECT_EQ(Focused(), QStringLiteral("InfoBtn"));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(Focused(), QStringLiteral("LogOnOffGoBtn"));
    Key(Qt::Key_Return);
    ASSERT_TRUE(HasFlag(form->StatusFlags(), sfLoggedOn));
    EXPECT_EQ(form->ActivePageName(), QStringLiteral("Config"));
    EXPECT_EQ(Control<TBaseBtn>(*form, "LogOnOffBtn")->Caption(), QStringLiteral("Afmelden..."));

    // Logged on without an age: the settings page's fields, then the page
    // buttons that can be used, top to bottom.
    TabTo("LogOnOffBtn");
    EXPECT_EQ(TabCycle().mid(0, 5),
              (QStringList{"LogOnOffBtn", "ConfigBtn", "BkInfoBtn", "HelpBtn", "ConfigMaleChkBx"}));
    TabTo("ConfigAgeEdit");
    Type("30");
    TabTo("SelectTestBtn");
    Key(Qt::Key_Space);
    EXPECT_EQ(form->ActivePageName(), QStringLiteral("Test"));
    EXPECT_TRUE(HasFlag(form->StatusFlags(), sfTestPage));
    EXPECT_EQ(player->calls.count("play"), 2); // the log-on sound and the page's
}

TEST_F(KeyboardAccessTest, ScreenReadersGetNamesForGlyphButtonsFieldsAndGauges) {
    ShowForm();
    const auto name = [this](const char* control) {
        QAccessibleInterface* a =
            QAccessible::queryAccessibleInterface(Control<QWidget>(*form, control));
        return a ? a->text(QAccessible::Name) : QStringLiteral("(none)");
    };
    EXPECT_EQ(name("InfoBtn"), QStringLiteral("Info"));
    EXPECT_EQ(name("SoundBtn"), QStringLiteral("Geluid"));
    EXPECT_EQ(name("MinimizeBtn"), QStringLiteral("Minimaliseren"));
    EXPECT_EQ(name("QuitBtn"), QStringLiteral("Afsluiten"));
    EXPECT_EQ(name("LogOnOffBtn"), QStringLiteral("Aanmelden..."));
    EXPECT_EQ(name("LogOnOffPWEdit"), QStringLiteral("Wachtwoord"));
    EXPECT_EQ(name("TimeLimitQGauge"), QStringLiteral("Tijd deze vraag"));
    EXPECT_EQ(name("TimeLimitTGauge"), QStringLiteral("Totale tijd"));

    QAccessibleInterface* sound =
        QAccessible::queryAccessibleInterface(Control<QWidget>(*form, "SoundBtn"));
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->role(), QAccessible::Button);
    EXPECT_TRUE(sound->state().pressed); // sound is on
    sound->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(Control<TBaseBtn>(*form, "SoundBtn")->ButtonIsDown());
    EXPECT_FALSE(sound->state().pressed);
}
