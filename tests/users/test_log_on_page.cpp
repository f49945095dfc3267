#include "tests/users/user_pages_fixture.h"

#include <QApplication>
#include <QTest>

namespace {

using Section = std::vector<std::pair<std::string, std::string>>;

TEST_F(UserPagesTest, NewUserWithEmptyPasswordsIsAddedAndLogsOn) {
    EXPECT_FALSE(Shown(pw_) || Shown(cpw_) || Shown(go_) || Shown(add_));
    TypeName("   ");
    EXPECT_FALSE(Shown(pw_) || Shown(add_)); // blanks are no name
    TypeName("Anna");
    EXPECT_TRUE(Shown(pw_) && Shown(cpw_) && Shown(add_));
    EXPECT_FALSE(Shown(go_));

    Click(add_);
    EXPECT_TRUE(writeErrors_.empty());
    EXPECT_EQ(UserListOf(users_), TUserList{"Anna"});
    EXPECT_EQ(SelectedUserIndex(users_), 0);
    EXPECT_FALSE(loggedOn_);
    EXPECT_TRUE(Shown(go_));
    EXPECT_FALSE(Shown(add_) || Shown(cpw_));
    EXPECT_EQ(plat::ReadProfileString(File(), "Users", "1"), "Anna");
    EXPECT_EQ(plat::ReadProfileString(File(), "Anna.Data", "Pw", "-"), "");
    EXPECT_FALSE(plat::ReadProfileString(File(), "Anna.Data", "Uid").empty());

    Click(go_);
    EXPECT_TRUE(loggedOn_);
    EXPECT_EQ(page_, "Config");
    EXPECT_EQ(sounds_, std::vector<std::string>{"a\\0.wav"});
    EXPECT_EQ(current_->text(), "Huidige gebruiker: Anna");
    EXPECT_EQ(go_->Caption(), "Afmelden");
    EXPECT_TRUE(Shown(del_));
    EXPECT_FALSE(users_->isEnabled() || pw_->isEnabled());
    EXPECT_FALSE(pauseDown_);
    EXPECT_EQ(catalogue_, "");
    EXPECT_EQ(settings_.ConfigName->text(), "Anna");

    // Log-off saves the page and leaves the label without a name.
    settings_.ConfigAgeEdit->setText("31");
    Click(go_);
    EXPECT_FALSE(loggedOn_);
    EXPECT_EQ(sounds_.back(), "a\\1.wav");
    EXPECT_EQ(current_->text(), "Huidige gebruiker: ");
    EXPECT_EQ(go_->Caption(), "Aanmelden");
    EXPECT_EQ(SelectedUserIndex(users_), -1);
    EXPECT_EQ(plat::ReadProfileString(File(), "Anna.Data", "Age"), "31");
}

TEST_F(UserPagesTest, PasswordDecidesAndEnterLogsOnWithoutModifiers) {
    TypeName("Bob");
    TypePasswords("geheim", "geheiM");
    EXPECT_FALSE(Shown(add_));
    TypePasswords("geheim", "geheim");
    Click(add_);
    Click(go_);
    ASSERT_TRUE(loggedOn_);
    Click(go_); // log off
    ASSERT_FALSE(loggedOn_);

    TypeName("Bob");
    EXPECT_EQ(SelectedUserIndex(users_), 0);
    EXPECT_FALSE(Shown(cpw_));
    QTest::keyClicks(pw_, "Geheim");
    EXPECT_FALSE(Shown(go_)); // wrong password: no button, no message
    QTest::keyClick(pw_, Qt::Key_Return);
    EXPECT_FALSE(loggedOn_);

    pw_->clear();
    QTest::keyClicks(pw_, "geheim");
    EXPECT_TRUE(Shown(go_));
    QTest::keyClick(pw_, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_FALSE(loggedOn_);
    QTest::keyClick(pw_, Qt::Key_Return);
    EXPECT_TRUE(loggedOn_);
    EXPECT_EQ(user_.Name, "Bob");
}

TEST_F(UserPagesTest, TypedNameInOtherCaseSelectsTheEntry) {
    Put("[Users]\r\nCount=2\r\n1=Anna\r\n2=Bob\r\n[Anna.Data]\r\nPw=a\r\nAge=40\r\n");
    LoadUserListInto(Pages());
    TypeName("anna");
    EXPECT_EQ(SelectedUserIndex(users_), 0);
    EXPECT_EQ(NameText(), "Anna");
    EXPECT_EQ(user_.Name, "Anna");
    EXPECT_EQ(settings_.ConfigAgeEdit->text(), "40");
    EXPECT_FALSE(Shown(go_));
    QTest::keyClicks(pw_, "a");
    EXPECT_TRUE(Shown(go_));

    // A prefix of an entry stays as typed, and Enter adds nothing (with focus,
    // where a combo box would complete the text).
    root_->show();
    QApplication::setActiveWindow(root_.get());
    users_->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(root_.get()));
    ASSERT_EQ(QApplication::focusWidget(), users_); // keys reach the list, not its edit
    TypeName("A");
    EXPECT_EQ(NameText(), "A");
    EXPECT_EQ(SelectedUserIndex(users_), -1);
    QTest::keyClick(users_, Qt::Key_Return);
    EXPECT_EQ(users_->count(), 2);

    // Typing on deselects it again.
    TypeName("anna");
    QTest::keyClicks(users_, "x");
    EXPECT_EQ(SelectedUserIndex(users_), -1);
    EXPECT_EQ(pw_->text(), "");
    EXPECT_TRUE(Shown(add_));
}

TEST_F(UserPagesTest, AddingATakenNameSelectsThatUserAndWritesNothing) {
    const QByteArray before = "[Users]\r\nCount=1\r\n1=Anna\r\n"
                              "[Anna.Data]\r\nPw=a\r\nUid=5\r\nAge=40\r\nDirectFB=1\r\n";
    Put(before);
    LoadUserListInto(Pages());
    // The text changes without a key released in the list (pasted, say).
    users_->lineEdit()->setText("ANNA");
    EXPECT_EQ(SelectedUserIndex(users_), -1);
    TypePasswords("", "");
    UpdateStatus();
    ASSERT_TRUE(Shown(add_));
    settings_.ConfigAgeEdit->setText("12");
    Click(add_);
    EXPECT_EQ(Get(), before);
    EXPECT_EQ(UserListOf(users_), TUserList{"Anna"});
    EXPECT_EQ(SelectedUserIndex(users_), 0);
    EXPECT_EQ(user_.Name, "Anna");
    EXPECT_EQ(user_.Pw, "a");
    EXPECT_EQ(settings_.ConfigAgeEdit->text(), "40");
    EXPECT_FALSE(Shown(go_)); // her password is still needed
}

TEST_F(UserPagesTest, NewUserStartsFromTheClearedRecordNotFromTheLastOne) {
    Put("[Users]\r\nCount=1\r\n1=Anna\r\n"
        "[Anna.Data]\r\nPw=\r\nGender=1\r\nAge=40\r\nDirectFB=1\r\nTimeLimQ=1\r\n"
        "TimeLimQt=45\r\nTimeLimT=1\r\nTimeLimTt=20\r\n");
    LoadUserListInto(Pages());
    TypeName("Anna"); // her settings are now on the page
    ASSERT_EQ(settings_.ConfigAgeEdit->text(), "40");
    TypeName("Bert");
    TypePasswords("b", "b");
    Click(add_);
    ASSERT_TRUE(writeErrors_.empty());
    const auto value = [&](const char* key) {
        return plat::ReadProfileString(File(), "Bert.Data", key, "-");
    };
    for (const char* key : {"Gender", "Age", "DirectFB", "TimeLimQ", "TimeLimT"})
        EXPECT_EQ(value(key), "0") << key;
    EXPECT_EQ(value("TimeLimQt"), "10");
    EXPECT_EQ(value("TimeLimTt"), "10");
    EXPECT_EQ(value("Pw"), "b");
    EXPECT_EQ(settings_.ConfigAgeEdit->text(), "");
    EXPECT_EQ(plat::ReadProfileString(File(), "Anna.Data", "Age"), "40");
}

TEST_F(UserPagesTest, AddingANameAnotherCopyJustAddedSelectsItsUser) {
    LoadUserListInto(Pages()); // empty when this copy started
    Put("[Users]\r\nCount=2\r\n1=Carl\r\n2=Dora\r\n[Dora.Data]\r\nPw=theirs\r\nAge=50\r\n");
    const QByteArray before = Get();
    TypeName("dora");
    TypePasswords("mine", "mine");
    ASSERT_TRUE(Shown(add_));
    Click(add_);
    EXPECT_EQ(Get(), before);
    EXPECT_TRUE(writeErrors_.empty());
    EXPECT_EQ(UserListOf(users_), (TUserList{"Carl", "Dora"}));
    EXPECT_EQ(SelectedUserIndex(users_), 1);
    EXPECT_EQ(user_.Pw, "theirs");
    EXPECT_FALSE(Shown(go_)); // her password is needed, not the typed one

    // An added user joins the list as it is on disk now.
    TypeName("Emil");
    Click(add_);
    EXPECT_EQ(UserListOf(users_), (TUserList{"Carl", "Dora", "Emil"}));
    EXPECT_EQ(users_->currentText(), "Emil");
}

TEST_F(UserPagesTest, SettingsAreTakenWhenSaved) {
    TypeName("Carla");
    Click(add_);
    Click(go_);
    settings_.ConfigFemaleChkBx->click();
    EXPECT_TRUE(settings_.ConfigFemaleChkBx->isChecked());
    EXPECT_FALSE(settings_.ConfigMaleChkBx->isChecked());
    settings_.ConfigAgeEdit->setText("300");
    settings_.ConfigTimeLimitQChkBx->setChecked(true);
    settings_.ConfigTimeLimitQChkBxSpnnr->SetText("120");
    settings_.ConfigTimeLimitTChkBxSpnnr->SetValue(45);
    catalogue_ = "cached";
    ASSERT_TRUE(SaveUserFromPages(Pages()));
    EXPECT_EQ(catalogue_, "");
    const auto data = plat::ReadProfileSection(File(), "Carla.Data");
    auto value = [&](const char* key) {
        return plat::ReadProfileString(File(), "Carla.Data", key);
    };
    EXPECT_EQ(data.size(), 12u);
    EXPECT_EQ(value("Gender"), "1");
    EXPECT_EQ(value("Age"), "44");
    EXPECT_EQ(value("TimeLimQ"), "1");
    EXPECT_EQ(value("TimeLimQt"), "90");
    EXPECT_EQ(value("TimeLimTt"), "45");

    // Hidden values come back unchanged.
    ASSERT_TRUE(plat::WriteProfileString(File(), "Carla.Data", "HairColor", "3"));
    ASSERT_TRUE(plat::WriteProfileString(File(), "Carla.Data", "ShoeSize", "39"));
    LoadUserOnPages(Pages(), "Carla");
    ASSERT_TRUE(SaveUserFromPages(Pages()));
    EXPECT_EQ(value("HairColor"), "3");
    EXPECT_EQ(value("ShoeSize"), "39");
}

TEST_F(UserPagesTest, RemovingAsksAndLeavesNoSectionsBehind) {
    for (const char* name : {"Anna", "Bob"}) {
        TypeName(name);
        Click(add_);
    }
    ASSERT_TRUE(plat::WriteProfileString(File(), "Bob.Answers", "PSY0001001", "A"));
    TypeName("bob");
    Click(go_);
    ASSERT_TRUE(loggedOn_);
    const QByteArray before = Get();

    answers_ = {false};
    Click(del_);
    EXPECT_EQ(questions_, std::vector<QString>{"Bob verwijderen?"});
    EXPECT_TRUE(loggedOn_);
    EXPECT_EQ(Get(), before);

    answers_ = {true};
    Click(del_);
    EXPECT_FALSE(loggedOn_);
    EXPECT_EQ(UserListOf(users_), TUserList{"Anna"});
    EXPECT_EQ(current_->text(), "Huidige gebruiker: ");
    EXPECT_EQ(plat::ReadProfileSections(File()), (std::vector<std::string>{"Users", "Anna.Data"}));
    EXPECT_EQ(plat::ReadProfileSection(File(), "Users"), (Section{{"Count", "1"}, {"1", "Anna"}}));
}

TEST_F(UserPagesTest, OddNameGoesThroughAddLogOnSettingsAndRemoval) {
    const QString odd = " Jan]=;x ";
    TypeName("Jan");
    TypePasswords("j", "j");
    Click(add_);
    settings_.ConfigAgeEdit->setText("50");
    ASSERT_TRUE(SaveUserFromPages(Pages()));

    TypeName(odd);
    TypePasswords(" p ", " p ");
    Click(add_);
    ASSERT_TRUE(writeErrors_.empty());
    EXPECT_EQ(UserListOf(users_), (TUserList{" Jan]=;x ", "Jan"}));
    Click(go_);
    ASSERT_TRUE(loggedOn_);
    EXPECT_EQ(user_.Name, " Jan]=;x ");
    settings_.ConfigAgeEdit->setText("22");
    Click(go_); // log-off saves

    EXPECT_EQ(LoadUserList(File()), (TUserList{" Jan]=;x ", "Jan"}));
    TUserProfile jan;
    LoadUser(File(), "Jan", jan);
    EXPECT_EQ(jan.Pw, "j");
    EXPECT_EQ(jan.Age, 50);
    TUserProfile oddUser;
    LoadUser(File(), " Jan]=;x ", oddUser);
    EXPECT_EQ(oddUser.Pw, " p ");
    EXPECT_EQ(oddUser.Age, 22);

    TypeName(odd);
    QTest::keyClicks(pw_, " p ");
    Click(go_);
    ASSERT_TRUE(loggedOn_);
    answers_ = {true};
    Click(del_);
    EXPECT_EQ(LoadUserList(File()), TUserList{"Jan"});
    EXPECT_EQ(plat::ReadProfileSections(File()), (std::vector<std::string>{"Users", "Jan.Data"}));
    LoadUser(File(), "Jan", jan);
    EXPECT_EQ(jan.Age, 50);
}

TEST_F(UserPagesTest, RefusedWritesAreReportedAndChangeNothing) {
    TypeName("Anna");
    Click(add_);
    const QByteArray before = Get();

    plat::detail::SetProfileWriteHook([](auto) { return false; });
    TypeName("Bob");
    Click(add_);
    EXPECT_EQ(writeErrors_, std::vector<QString>{File()});
    EXPECT_EQ(Get(), before);
    EXPECT_EQ(UserListOf(users_), TUserList{"Anna"});
    EXPECT_EQ(NameText(), "Bob");
    EXPECT_TRUE(Shown(add_)); // can be tried again

    plat::detail::SetProfileWriteHook({});
    TypeName("Anna");
    Click(go_);
    settings_.ConfigAgeEdit->setText("33");
    plat::detail::SetProfileWriteHook([](auto) { return false; });
    Click(go_); // log-off cannot save: the user stays logged on
    EXPECT_EQ(writeErrors_.size(), 2u);
    EXPECT_TRUE(loggedOn_);
    EXPECT_EQ(user_.Age, 33);
    EXPECT_EQ(Get(), before);
    plat::detail::SetProfileWriteHook({});
    Click(go_);
    EXPECT_FALSE(loggedOn_);
    EXPECT_EQ(plat::ReadProfileString(File(), "Anna.Data", "Age"), "33");
}

TEST_F(UserPagesTest, GenderPairAndPageShowing) {
    QCheckBox* male = settings_.ConfigMaleChkBx;
    QCheckBox* female = settings_.ConfigFemaleChkBx;
    EXPECT_TRUE(male->isChecked());
    female->click();
    EXPECT_TRUE(!male->isChecked() && female->isChecked());
    female->click();
    EXPECT_TRUE(male->isChecked() && !female->isChecked());
    male->click();
    EXPECT_TRUE(male->isChecked() && !female->isChecked());

    TUserProfile shown;
    shown.Name = "Dirk";
    shown.TimeLimQt = 0;
    shown.TimeLimTt = 0;
    shown.HairColor = 9; // beyond the list
    ShowUserOnPage(settings_, shown);
    EXPECT_EQ(settings_.ConfigAgeEdit->text(), "");
    EXPECT_EQ(settings_.ConfigTimeLimitQChkBxSpnnr->Text(), "1");
    EXPECT_EQ(settings_.ConfigTimeLimitTChkBxSpnnr->Text(), "1");
    EXPECT_EQ(settings_.ConfigHairLst->currentIndex(), -1);
    EXPECT_TRUE(settings_.ConfigHairLst->isHidden());
    TakeSettings(SettingsOfPage(settings_), shown);
    EXPECT_EQ(shown.HairColor, 9);
    EXPECT_EQ(shown.TimeLimQt, 1);
}

} // namespace
