// The log-on and settings pages driven through the main window: whole
// stories from adding a user to removing it, checked on the controls, the
// window's state and users.dat on disk.
#include "app/main_form.h"
#include "app/status_flags.h"
#include "form_fixture.h"

#include "platform/profile_file.h"
#include "platform/screen.h"
#include "tests/common/temp_program_dir.h"
#include "users/spinner.h"
#include "users/user_store.h"
#include "widgets/base_btn.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <deque>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Section = std::vector<std::pair<std::string, std::string>>;
using Names = std::vector<std::string>;

class UserPagesFormTest : public FormTest {
protected:
    std::vector<QString> questions;
    std::deque<bool> answers;

    // Creates the window as the program does; users.dat is read then.
    void Start() {
        CreateForm();
        form->AskConfirmBox = [this](const QString& question) {
            questions.push_back(question);
            const bool yes = !answers.empty() && answers.front();
            if (!answers.empty())
                answers.pop_front();
            return yes;
        };
        form->UpdateStatus();
    }

    QString File() const { return UsersFile(); }
    QByteArray Disk() const { return dir.Read("User/users.dat"); }
    void PutStore(const QByteArray& content) const { dir.Write("User/users.dat", content); }
    std::string Stored(std::string_view section, std::string_view key) const {
        return plat::ReadProfileString(File(), section, key, "<none>");
    }

    static bool Shown(const QWidget* w) { return !w->isHidden(); }

    // What a person does.
    void TypeName(const QString& text) {
        QComboBox* list = Control<QComboBox>(*form, "LogOnOffUsersLst");
        list->lineEdit()->selectAll();
        QTest::keyClick(list, Qt::Key_Backspace);
        QTest::keyClicks(list, text);
    }
    void TypePasswords(const QString& pw, const QString& cpw) {
        Control<QLineEdit>(*form, "LogOnOffPWEdit")->clear();
        Control<QLineEdit>(*form, "LogOnOffCPWEdit")->clear();
        QTest::keyClicks(Control<QLineEdit>(*form, "LogOnOffPWEdit"), pw);
        if (Shown(Control<QLineEdit>(*form, "LogOnOffCPWEdit")))
            QTest::keyClicks(Control<QLineEdit>(*form, "LogOnOffCPWEdit"), cpw);
    }
    static void TypeInto(QWidget* field, const QString& text) {
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->selectAll();
        else if (auto* spinner = qobject_cast<TSpinner*>(field))
            spinner->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    static void Leave(QWidget* field) {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(field, &out);
    }
    using FormTest::Click;
    static void Click(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton); }

    // Adds a user with the same password in both edits.
    void AddUser(const QString& name, const QString& pw = QString()) {
        TypeName(name);
        TypePasswords(pw, pw);
        Click(Control<TBaseBtn>(*form, "LogOnOffAddBtn"));
    }
    void LogOnAs(const QString& name, const QString& pw = QString()) {
        TypeName(name);
        TypePasswords(pw, pw);
        Click(Control<TBaseBtn>(*form, "LogOnOffGoBtn"));
    }
    bool LoggedOn() const { return HasFlag(form->StatusFlags(), sfLoggedOn); }
    bool Played(const char* file) const {
        return player->calls.contains(QStringLiteral("open ") + file);
    }
    std::string CurrentUser() const {
        return Control<QLabel>(*form, "CurrentUserLbl")->text().toStdString();
    }
};

TEST_F(UserPagesFormTest, AddLogOnSetSettingsLeaveLogOffAndLogOnAgain) {
    Start();
    EXPECT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->count(), 0);
    EXPECT_FALSE(Shown(Control<QLineEdit>(*form, "LogOnOffPWEdit")) ||
                 Shown(Control<TBaseBtn>(*form, "LogOnOffAddBtn")));
    EXPECT_FALSE(Control<TBaseBtn>(*form, "ConfigBtn")->isEnabled());

    TypeName("Anna");
    TypePasswords("geheim", "geheiM");
    EXPECT_FALSE(Shown(Control<TBaseBtn>(*form, "LogOnOffAddBtn"))); // the two passwords differ
    AddUser("Anna", "geheim");
    EXPECT_TRUE(writeErrors.empty());
    EXPECT_EQ(plat::ReadProfileSection(File(), "Users"), (Section{{"Count", "1"}, {"1", "Anna"}}));
    EXPECT_EQ(Stored("Anna.Data", "Pw"), "geheim");
    EXPECT_NE(Stored("Anna.Data", "Uid"), "");
    EXPECT_FALSE(LoggedOn()); // one more click logs on
    ASSERT_TRUE(Shown(Control<TBaseBtn>(*form, "LogOnOffGoBtn")));

    form->CatalogueText = "cached";
    player->calls.clear();
    Click(Control<TBaseBtn>(*form, "LogOnOffGoBtn"));
    EXPECT_EQ(form->StatusFlags(), sfLoggedOn);
    EXPECT_EQ(form->ActivePageName(), "Config");
    EXPECT_TRUE(Played("0.wav"));
    EXPECT_EQ(CurrentUser(), "Huidige gebruiker: Anna");
    EXPECT_EQ(Control<TBaseBtn>(*form, "LogOnOffBtn")->Caption(), "Afmelden...");
    EXPECT_EQ(Control<TBaseBtn>(*form, "LogOnOffGoBtn")->Caption(), "Afmelden");
    EXPECT_EQ(Control<QLabel>(*form, "ConfigName")->text(), "Anna");
    EXPECT_TRUE(form->CatalogueText.empty());
    EXPECT_FALSE(Control<QComboBox>(*form, "LogOnOffUsersLst")->isEnabled() ||
                 Control<QLineEdit>(*form, "LogOnOffPWEdit")->isEnabled());
    EXPECT_TRUE(Control<TBaseBtn>(*form, "ConfigBtn")->isEnabled() &&
                Control<TBaseBtn>(*form, "BkInfoBtn")->isEnabled());
    EXPECT_FALSE(Control<TBaseBtn>(*form, "SelectTestBtn")->isEnabled() ||
                 Control<TBaseBtn>(*form, "InternetBtn")->isEnabled()); // no age

    // Opened with its button: saved when left.
    player->calls.clear();
    Click(Control<TBaseBtn>(*form, "ConfigBtn"));
    EXPECT_TRUE(Played("3.wav"));
    EXPECT_TRUE(form->StatusFlags() & sfConfigVisited);
    Click(Control<QCheckBox>(*form, "ConfigFemaleChkBx"));
    EXPECT_TRUE(Control<QCheckBox>(*form, "ConfigFemaleChkBx")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(*form, "ConfigMaleChkBx")->isChecked());

    // The age unlocks the catalogue and the internet page as it is typed.
    for (const char* refused : {"0", "abc", "256"}) {
        TypeInto(Control<QLineEdit>(*form, "ConfigAgeEdit"), refused);
        EXPECT_FALSE(Control<TBaseBtn>(*form, "SelectTestBtn")->isEnabled()) << refused;
        EXPECT_FALSE(Control<TBaseBtn>(*form, "InternetBtn")->isEnabled()) << refused;
    }
    TypeInto(Control<QLineEdit>(*form, "ConfigAgeEdit"), "41");
    EXPECT_TRUE(Control<TBaseBtn>(*form, "SelectTestBtn")->isEnabled());
    EXPECT_TRUE(Control<TBaseBtn>(*form, "InternetBtn")->isEnabled());

    // The spin fields: letters refused, out of range clamped on leaving,
    // the Up key adds one.
    TSpinner* seconds = Control<TSpinner>(*form, "ConfigTimeLimitQChkBxSpnnr");
    TSpinner* minutes = Control<TSpinner>(*form, "ConfigTimeLimitTChkBxSpnnr");
    EXPECT_EQ(seconds->Value(), 10);
    EXPECT_EQ(minutes->Value(), 10);
    QSignalSpy refusedKeys(seconds, &TSpinner::KeyRefused);
    Click(Control<QCheckBox>(*form, "ConfigTimeLimitQChkBx"));
    TypeInto(seconds, "12x0");
    EXPECT_EQ(refusedKeys.count(), 1);
    EXPECT_EQ(seconds->Text(), "120");
    Leave(seconds);
    EXPECT_EQ(seconds->Text(), "90");
    Click(Control<QCheckBox>(*form, "ConfigTimeLimitTChkBx"));
    TypeInto(minutes, "45");
    QTest::keyClick(minutes, Qt::Key_Up);
    EXPECT_EQ(minutes->Value(), 46);
    EXPECT_EQ(Stored("Anna.Data", "Age"), "0"); // nothing written while on the page

    form->CatalogueText = "cached";
    Click(Control<TBaseBtn>(*form, "LogOnOffBtn"));
    EXPECT_EQ(form->ActivePageName(), "LogOnOff");
    EXPECT_FALSE(form->StatusFlags() & sfConfigVisited);
    EXPECT_TRUE(form->CatalogueText.empty()); // new age group, new IQ figures
    EXPECT_TRUE(writeErrors.empty());
    const Section saved = plat::ReadProfileSection(File(), "Anna.Data");
    ASSERT_EQ(saved.size(), 12u);
    EXPECT_EQ(saved[0], (std::pair<std::string, std::string>{"Pw", "geheim"}));
    EXPECT_EQ(Stored("Anna.Data", "Gender"), "1");
    EXPECT_EQ(Stored("Anna.Data", "Age"), "41");
    EXPECT_EQ(Stored("Anna.Data", "TimeLimQ"), "1");
    EXPECT_EQ(Stored("Anna.Data", "TimeLimQt"), "90");
    EXPECT_EQ(Stored("Anna.Data", "TimeLimT"), "1");
    EXPECT_EQ(Stored("Anna.Data", "TimeLimTt"), "46");
    EXPECT_EQ(Stored("Anna.Data", "DirectFB"), "0");

    // Saved once: later page changes without a visit write nothing.
    const QByteArray once = Disk();
    Control<QLineEdit>(*form, "ConfigAgeEdit")->setText("55");
    Click(Control<TBaseBtn>(*form, "InternetBtn"));
    Click(Control<TBaseBtn>(*form, "LogOnOffBtn"));
    EXPECT_EQ(Disk(), once);
    Control<QLineEdit>(*form, "ConfigAgeEdit")->setText("41");

    // Log-off: saved, sound, no user, page stays.
    player->calls.clear();
    Click(Control<TBaseBtn>(*form, "LogOnOffGoBtn"));
    EXPECT_EQ(form->StatusFlags(), 0);
    EXPECT_TRUE(Played("1.wav"));
    EXPECT_EQ(CurrentUser(), "Huidige gebruiker: ");
    EXPECT_EQ(form->ActivePageName(), "LogOnOff");
    EXPECT_EQ(Control<TBaseBtn>(*form, "LogOnOffGoBtn")->Caption(), "Aanmelden");
    EXPECT_EQ(Control<TBaseBtn>(*form, "LogOnOffBtn")->Caption(), "Aanmelden...");
    EXPECT_TRUE(Control<QComboBox>(*form, "LogOnOffUsersLst")->isEnabled());
    EXPECT_FALSE(Control<TBaseBtn>(*form, "ConfigBtn")->isEnabled() ||
                 Control<TBaseBtn>(*form, "SelectTestBtn")->isEnabled());
    EXPECT_EQ(form->UserProfile.Name, "");
    EXPECT_EQ(Disk(), once);

    // Typing the name in other letters selects the entry and shows her values.
    Control<QLineEdit>(*form, "ConfigAgeEdit")->clear(); // loading her fills it again
    TypeName("anna");
    EXPECT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->currentText(), "Anna");
    EXPECT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->currentIndex(), 0);
    EXPECT_FALSE(Shown(Control<QLineEdit>(*form, "LogOnOffCPWEdit")));
    EXPECT_EQ(Control<QLineEdit>(*form, "ConfigAgeEdit")->text(), "41");
    EXPECT_TRUE(Control<QCheckBox>(*form, "ConfigFemaleChkBx")->isChecked());
    EXPECT_EQ(seconds->Value(), 90);
    EXPECT_EQ(minutes->Value(), 46);

    // A wrong password: no button, and Enter does nothing.
    QTest::keyClicks(Control<QLineEdit>(*form, "LogOnOffPWEdit"), "Geheim");
    EXPECT_FALSE(Shown(Control<TBaseBtn>(*form, "LogOnOffGoBtn")));
    QTest::keyClick(Control<QLineEdit>(*form, "LogOnOffPWEdit"), Qt::Key_Return);
    EXPECT_FALSE(LoggedOn());
    Control<QLineEdit>(*form, "LogOnOffPWEdit")->clear();
    QTest::keyClicks(Control<QLineEdit>(*form, "LogOnOffPWEdit"), "geheim");
    EXPECT_TRUE(Shown(Control<TBaseBtn>(*form, "LogOnOffGoBtn")));
    QTest::keyClick(Control<QLineEdit>(*form, "LogOnOffPWEdit"), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_FALSE(LoggedOn());
    QTest::keyClick(Control<QLineEdit>(*form, "LogOnOffPWEdit"), Qt::Key_Enter);
    EXPECT_TRUE(LoggedOn());
    EXPECT_EQ(form->UserProfile.Age, 41);
    EXPECT_TRUE(form->UserProfile.Gender);
    EXPECT_EQ(form->UserProfile.TimeLimQt, 90);
    EXPECT_TRUE(Control<TBaseBtn>(*form, "SelectTestBtn")->isEnabled());
    EXPECT_TRUE(Control<TBaseBtn>(*form, "InternetBtn")->isEnabled());
}

TEST_F(UserPagesFormTest, UserListAtStartAndAnAgeOfZero) {
    // Entry 2 is missing: an empty entry, kept. Bert's age of 0 locks tests.
    PutStore("[Users]\r\nCount=3\r\n1=bert\r\n3=Anna\r\n"
             "[bert.Data]\r\nPw=b\r\nAge=0\r\nTimeLimQt=0\r\nTimeLimTt=300\r\n");
    Start();
    ASSERT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->count(), 3);
    EXPECT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->itemText(0), "");
    EXPECT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->itemText(1), "Anna");
    EXPECT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->itemText(2), "bert");
    EXPECT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->currentText(), "");

    LogOnAs("Bert", "b");
    ASSERT_TRUE(LoggedOn());
    EXPECT_EQ(form->UserProfile.Name, "bert"); // the entry keeps its letters
    EXPECT_EQ(Control<QLineEdit>(*form, "ConfigAgeEdit")->text(), "");
    EXPECT_EQ(Control<TSpinner>(*form, "ConfigTimeLimitQChkBxSpnnr")->Value(), 1);  // 0 shown as 1
    EXPECT_EQ(Control<TSpinner>(*form, "ConfigTimeLimitTChkBxSpnnr")->Value(), 44); // 300 is 44
    EXPECT_FALSE(Control<TBaseBtn>(*form, "SelectTestBtn")->isEnabled());
    EXPECT_FALSE(Control<TBaseBtn>(*form, "InternetBtn")->isEnabled());
    TypeInto(Control<QLineEdit>(*form, "ConfigAgeEdit"), "0");
    EXPECT_FALSE(Control<TBaseBtn>(*form, "SelectTestBtn")->isEnabled());
    EXPECT_FALSE(Control<TBaseBtn>(*form, "InternetBtn")->isEnabled());

    // The page shown by log-on is saved at log-off.
    Click(Control<TBaseBtn>(*form, "LogOnOffGoBtn"));
    EXPECT_EQ(Stored("bert.Data", "TimeLimQt"), "1");
    EXPECT_EQ(Stored("bert.Data", "Age"), "0");
    EXPECT_EQ(plat::ReadProfileSection(File(), "Users"),
              (Section{{"Count", "3"}, {"1", "bert"}, {"3", "Anna"}}));
}

TEST_F(UserPagesFormTest, RemovingAUserAfterConfirmLeavesNoSectionsBehind) {
    Start();
    AddUser("Anna", "a");
    AddUser("Bob", "b");
    ASSERT_TRUE(plat::WriteProfileString(File(), "Bob.Answers", "PSY0001001", "A"));
    LogOnAs("Bob", "b");
    ASSERT_TRUE(LoggedOn());
    ASSERT_TRUE(Shown(Control<TBaseBtn>(*form, "LogOnOffPWDelBtn")));
    const QByteArray before = Disk();

    answers = {false};
    Click(Control<TBaseBtn>(*form, "LogOnOffPWDelBtn"));
    EXPECT_EQ(questions, std::vector<QString>{"Bob verwijderen?"});
    EXPECT_TRUE(LoggedOn());
    EXPECT_EQ(Disk(), before);

    form->CatalogueText = "cached";
    player->calls.clear();
    answers = {true};
    Click(Control<TBaseBtn>(*form, "LogOnOffPWDelBtn"));
    EXPECT_FALSE(LoggedOn());
    EXPECT_EQ(form->StatusFlags(), 0);
    EXPECT_TRUE(Played("1.wav"));
    EXPECT_TRUE(form->CatalogueText.empty());
    EXPECT_EQ(CurrentUser(), "Huidige gebruiker: ");
    ASSERT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->count(), 1);
    EXPECT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->itemText(0), "Anna");
    EXPECT_EQ(plat::ReadProfileSections(File()), (Names{"Users", "Anna.Data"}));
    EXPECT_EQ(plat::ReadProfileSection(File(), "Users"), (Section{{"Count", "1"}, {"1", "Anna"}}));
    EXPECT_TRUE(writeErrors.empty());
}

TEST_F(UserPagesFormTest, OddNameReachesOnlyItsOwnSections) {
    Start();
    AddUser("Jan", "j");
    LogOnAs("Jan", "j");
    TypeInto(Control<QLineEdit>(*form, "ConfigAgeEdit"), "50");
    Click(Control<TBaseBtn>(*form, "LogOnOffGoBtn"));
    ASSERT_EQ(Stored("Jan.Data", "Age"), "50");
    const Section jan = plat::ReadProfileSection(File(), "Jan.Data");

    const QString odd = " Jan]=;x ";
    AddUser(odd, " p ");
    ASSERT_TRUE(writeErrors.empty());
    EXPECT_TRUE(Disk().contains("[ Jan]=;x .Data]"));
    LogOnAs(odd, " p ");
    ASSERT_TRUE(LoggedOn());
    EXPECT_EQ(form->UserProfile.Name, " Jan]=;x ");
    EXPECT_EQ(CurrentUser(), "Huidige gebruiker:  Jan]=;x ");
    EXPECT_EQ(Control<QLabel>(*form, "ConfigName")->text(), odd);
    Click(Control<TBaseBtn>(*form, "ConfigBtn"));
    TypeInto(Control<QLineEdit>(*form, "ConfigAgeEdit"), "22");
    Click(Control<QCheckBox>(*form, "ConfigFemaleChkBx"));
    Click(Control<TBaseBtn>(*form, "LogOnOffBtn")); // leaving saves
    EXPECT_EQ(Stored(" Jan]=;x .Data", "Age"), "22");
    EXPECT_EQ(Stored(" Jan]=;x .Data", "Gender"), "1");
    EXPECT_EQ(Stored(" Jan]=;x .Data", "Pw"), " p ");
    EXPECT_EQ(plat::ReadProfileSection(File(), "Jan.Data"), jan);
    Click(Control<TBaseBtn>(*form, "LogOnOffGoBtn"));
    ASSERT_FALSE(LoggedOn());

    // Jan's own log-on still finds his values.
    LogOnAs("Jan", "j");
    ASSERT_TRUE(LoggedOn());
    EXPECT_EQ(Control<QLineEdit>(*form, "ConfigAgeEdit")->text(), "50");
    EXPECT_TRUE(Control<QCheckBox>(*form, "ConfigMaleChkBx")->isChecked());
    Click(Control<TBaseBtn>(*form, "LogOnOffGoBtn"));

    LogOnAs(odd, " p ");
    ASSERT_TRUE(LoggedOn());
    answers = {true};
    Click(Control<TBaseBtn>(*form, "LogOnOffPWDelBtn"));
    EXPECT_EQ(questions, std::vector<QString>{" Jan]=;x  verwijderen?"});
    EXPECT_EQ(plat::ReadProfileSections(File()), (Names{"Users", "Jan.Data"}));
    EXPECT_EQ(plat::ReadProfileSection(File(), "Users"), (Section{{"Count", "1"}, {"1", "Jan"}}));
    EXPECT_EQ(plat::ReadProfileSection(File(), "Jan.Data"), jan);
}

TEST_F(UserPagesFormTest, AddingATakenNameSelectsThatUserAndWritesNothing) {
    const QByteArray before = "[Users]\r\nCount=1\r\n1=Anna\r\n"
                              "[Anna.Data]\r\nPw=a\r\nUid=5\r\nAge=40\r\nDirectFB=1\r\n";
    PutStore(before);
    Start();
    // The text changes without a key released in the list (pasted, say).
    Control<QComboBox>(*form, "LogOnOffUsersLst")->lineEdit()->setText("ANNA");
    QTest::keyClicks(Control<QLineEdit>(*form, "LogOnOffPWEdit"), "x");
    QTest::keyClicks(Control<QLineEdit>(*form, "LogOnOffCPWEdit"), "x");
    ASSERT_TRUE(Shown(Control<TBaseBtn>(*form, "LogOnOffAddBtn")));
    Click(Control<TBaseBtn>(*form, "LogOnOffAddBtn"));
    EXPECT_EQ(Disk(), before);
    EXPECT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->count(), 1);
    EXPECT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->currentText(), "Anna");
    EXPECT_EQ(form->UserProfile.Pw, "a");
    EXPECT_EQ(Control<QLineEdit>(*form, "ConfigAgeEdit")->text(), "40");
    EXPECT_TRUE(Control<QCheckBox>(*form, "ConfigDirectFBChkBx")->isChecked());
    EXPECT_FALSE(
        Shown(Control<TBaseBtn>(*form, "LogOnOffGoBtn"))); // her own password is still asked
    EXPECT_FALSE(LoggedOn());
    QTest::keyClicks(Control<QLineEdit>(*form, "LogOnOffPWEdit"), "a");
    EXPECT_TRUE(Shown(Control<TBaseBtn>(*form, "LogOnOffGoBtn")));

    // Typing on makes it a new name again.
    QTest::keyClicks(Control<QComboBox>(*form, "LogOnOffUsersLst"), "x");
    EXPECT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->currentText(), "Annax");
    EXPECT_TRUE(Shown(Control<QLineEdit>(*form, "LogOnOffCPWEdit")) &&
                Shown(Control<TBaseBtn>(*form, "LogOnOffAddBtn")));
    EXPECT_FALSE(Shown(Control<TBaseBtn>(*form, "LogOnOffGoBtn")));
}

TEST_F(UserPagesFormTest, RefusedWritesShowTheErrorAndLeaveTheFileAsItWas) {
    Start();
    AddUser("Anna", "a");
    const QByteArray before = Disk();

    plat::detail::SetProfileWriteHook([](plat::detail::ProfileWriteStage) { return false; });
    AddUser("Bob", "b");
    EXPECT_EQ(writeErrors, std::vector<QString>{File()});
    EXPECT_EQ(WriteErrorText(writeErrors[0]), "Unable to write to " + File());
    EXPECT_EQ(Disk(), before);
    EXPECT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->count(), 1);
    EXPECT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->currentText(), "Bob");
    EXPECT_TRUE(Shown(Control<TBaseBtn>(*form, "LogOnOffAddBtn"))); // can be tried again

    // Leaving the settings page: reported, the record keeps the page's values.
    plat::detail::SetProfileWriteHook({});
    LogOnAs("Anna", "a");
    Click(Control<TBaseBtn>(*form, "ConfigBtn"));
    TypeInto(Control<QLineEdit>(*form, "ConfigAgeEdit"), "33");
    plat::detail::SetProfileWriteHook([](plat::detail::ProfileWriteStage) { return false; });
    Click(Control<TBaseBtn>(*form, "InternetBtn"));
    EXPECT_EQ(writeErrors.size(), 2u);
    EXPECT_EQ(form->UserProfile.Age, 33);
    EXPECT_EQ(Disk(), before);

    // Log-off cannot save either: the user stays logged on, nothing is lost.
    Click(Control<TBaseBtn>(*form, "LogOnOffBtn"));
    Click(Control<TBaseBtn>(*form, "LogOnOffGoBtn"));
    EXPECT_EQ(writeErrors.size(), 3u);
    EXPECT_TRUE(LoggedOn());
    EXPECT_EQ(Disk(), before);
    plat::detail::SetProfileWriteHook({});
    Click(Control<TBaseBtn>(*form, "LogOnOffGoBtn"));
    EXPECT_FALSE(LoggedOn());
    EXPECT_EQ(Stored("Anna.Data", "Age"), "33");
}

TEST_F(UserPagesFormTest, ClosingTheWindowLogsOffAndSaves) {
    Start();
    AddUser("Anna");
    LogOnAs("Anna");
    ASSERT_TRUE(LoggedOn());
    TypeInto(Control<QLineEdit>(*form, "ConfigAgeEdit"), "29");
    player->calls.clear();
    form->close();
    EXPECT_EQ(Stored("Anna.Data", "Age"), "29");
    EXPECT_EQ(form->StatusFlags(), 0);
    EXPECT_TRUE(Played("1.wav"));
}

TEST_F(UserPagesFormTest, ClosingSavesEvenAUserWhoseEntryIsEmpty) {
    // "Count" 1 without key "1": one empty entry, a user without a name.
    PutStore("[Users]\r\nCount=1\r\n");
    Start();
    ASSERT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->count(), 1);
    TypeName("");
    ASSERT_EQ(Control<QComboBox>(*form, "LogOnOffUsersLst")->currentIndex(), 0);
    Click(Control<TBaseBtn>(*form, "LogOnOffGoBtn"));
    ASSERT_TRUE(LoggedOn());
    TypeInto(Control<QLineEdit>(*form, "ConfigAgeEdit"), "30");
    form->close();
    EXPECT_FALSE(LoggedOn());
    EXPECT_EQ(Stored(".Data", "Age"), "30");
}

// The boxes the window shows when no test answers them.
TEST_F(UserPagesFormTest, StandardBoxesCarryTheirTexts) {
    Start();
    form->ShowWriteErrorBox = {};
    form->AskConfirmBox = {};
    TMainForm plain; // its own boxes, as created
    QString title, text;
    auto answerNext = [&](QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [&, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            box->button(button)->click();
        });
    };
    answerNext(QMessageBox::No);
    EXPECT_FALSE(plain.AskConfirmBox("Bob verwijderen?"));
    EXPECT_EQ(title, "Confirm");
    EXPECT_EQ(text, "Bob verwijderen?");
    answerNext(QMessageBox::Yes);
    EXPECT_TRUE(plain.AskConfirmBox("Bob verwijderen?"));
    answerNext(QMessageBox::Ok);
    plain.ShowWriteErrorBox("/x/User/users.dat");
    EXPECT_EQ(text, "Unable to write to /x/User/users.dat");
}

} // namespace
