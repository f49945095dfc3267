// The Test page taken with the keyboard alone: keys go to whatever has the
// focus, as a person's do, and the file they leave must be the one the same
// test taken with the mouse leaves.
#include "test_page_fixture.h"

#include "markup/parser_control.h"
#include "widgets/base_btn.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace {

class KeyboardTest : public TestPageTest {
protected:
    void ShowActive() {
        form->resize(800, 600);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    static QWidget* Focus() { return QApplication::focusWidget(); }
    // A key as a person types it: to the control with the focus.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget* target = Focus();
        QTest::keyClick(target ? target : form.get(), key, modifiers);
    }
    // Tab (or Shift+Tab) until `w` has the focus; false after a round without.
    bool TabTo(QWidget* w, Qt::KeyboardModifiers modifiers = {}) {
        for (int i = 0; i < 60 && Focus() != w; ++i)
            Key(Qt::Key_Tab, modifiers);
        return Focus() == w;
    }
    GParserControl* View() const { return Control<GParserControl>(*form, "TestView"); }
    std::string CurrentTarget() const {
        const int link = View()->CurrentLink();
        const auto& links = View()->ShownText().Links;
        return link >= 1 && size_t(link) <= links.size() ? links[size_t(link) - 1].HRef : "";
    }
    // Arrow keys move TestView's current link to `target`; Enter follows it.
    bool FollowLink(const std::string& target) {
        if (!TabTo(View()))
            return false;
        for (int i = 0; i < 40; ++i) {
            Key(Qt::Key_Down);
            if (CurrentTarget() == target) {
                Key(Qt::Key_Return);
                return true;
            }
        }
        return false;
    }
    std::string UsersFile() const {
        QFile f(dir.Path() + "User/users.dat");
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    }
    // A fresh window and no answers, for taking the test a second way.
    void Restart(bool directFB) {
        form.reset();
        QFile::remove(dir.Path() + "User/users.dat");
        plat::ClearProfileCache();
        Start(directFB);
    }

    // Test 001 with the keyboard: a wrong start cleared with Backspace, the
    // choices by letter and by digit, Enter for the button that follows.
    void TakeWithKeys(bool directFB) {
        ShowActive();
        ASSERT_TRUE(TabTo(Control<TBaseBtn>(*form, "SelectTestBtn")));
        Key(Qt::Key_Space);
        ASSERT_TRUE(InCatalogue());
        ASSERT_TRUE(FollowLink("SELECTTEST#GETL001"));
        ASSERT_TRUE(FollowLink("STARTTEST"));
        ASSERT_TRUE(Running());
        Key(Qt::Key_B);
        EXPECT_EQ(Answer(), "Keuze: b");
        Key(Qt::Key_Backspace);
        EXPECT_EQ(Answer(), "Keuze: ");
        Key(Qt::Key_A);
        Key(Qt::Key_3);
        EXPECT_EQ(Answer(), "Keuze: ac");
        Ticks(12);
        Key(Qt::Key_Return);
        if (directFB)
            Key(Qt::Key_Return); // past the feedback
        Key(Qt::Key_2);          // question 2: a b, so the second is b
        Ticks(3);
        Key(Qt::Key_Enter);
        if (directFB)
            Key(Qt::Key_Return);
        Key(Qt::Key_A); // question 3: b c, so the first is b
        Ticks(4);
        Key(Qt::Key_Return);
        if (directFB)
            Key(Qt::Key_Return);
    }
    // The same test with the mouse.
    void TakeWithClicks(bool directFB) {
        OpenTest();
        Choose({"B"});
        Click(Control<TBaseBtn>(*form, "DeleteAnswerBtn"));
        Choose({"A", "C"});
        Ticks(12);
        Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
        if (directFB)
            Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
        Choose({"B"});
        Ticks(3);
        Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
        if (directFB)
            Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
        Choose({"B"});
        Ticks(4);
        Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
        if (directFB)
            Click(Control<TBaseBtn>(*form, "NextQuestionBtn"));
    }
};

} // namespace

TEST_F(KeyboardTest, KeysLeaveTheFileThatClicksLeave) {
    for (const bool directFB : {false, true}) {
        SCOPED_TRACE(directFB ? "direct feedback" : "no feedback");
        Restart(directFB);
        TakeWithKeys(directFB);
        EXPECT_FALSE(Running());
        EXPECT_TRUE(InCatalogue());
        const std::string byKeys = UsersFile();
        EXPECT_NE(byKeys.find("getl001003=b<"), std::string::npos) << byKeys;

        Restart(directFB);
        TakeWithClicks(directFB);
        EXPECT_TRUE(InCatalogue());
        EXPECT_EQ(byKeys, UsersFile());
    }
}

TEST_F(KeyboardTest, ReviewWalksOnWithEnter) {
    Start();
    for (const char* key : {"getl001001", "getl001002", "getl001003"})
        Store(key, "b<38870,500><1000>");
    ShowActive();
    ASSERT_TRUE(TabTo(Control<TBaseBtn>(*form, "SelectTestBtn")));
    Key(Qt::Key_Return);
    ASSERT_TRUE(FollowLink("SELECTTEST#GETL001"));
    ASSERT_TRUE(FollowLink("STARTTEST"));
    ASSERT_TRUE(HasFlag(form->StatusFlags(), sfReviewing));
    EXPECT_EQ(form->TestRun().State().QuestionNo, 1);
    // The feedback has no choices: letters change nothing.
    Key(Qt::Key_A);
    EXPECT_EQ(form->TestRun().State().QuestionNo, 1);
    Key(Qt::Key_Return);
    EXPECT_EQ(form->TestRun().State().QuestionNo, 2);
    Key(Qt::Key_Return);
    Key(Qt::Key_Return); // the next button is disabled on the last question
    EXPECT_EQ(form->TestRun().State().QuestionNo, 3);
}

TEST_F(KeyboardTest, KeysThatStandForNothingChangeNothing) {
    Start();
    ShowActive();
    ASSERT_TRUE(TabTo(Control<TBaseBtn>(*form, "SelectTestBtn")));
    Key(Qt::Key_Space);
    const std::string catalogue = ViewText();
    // No test runs: a letter selects no link of the catalogue.
    Key(Qt::Key_A);
    Key(Qt::Key_1);
    EXPECT_EQ(ViewText(), catalogue);
    ASSERT_TRUE(FollowLink("SELECTTEST#GETL001"));
    ASSERT_TRUE(FollowLink("STARTTEST"));
    // Held with Ctrl a letter is a shortcut, not a choice; a sixth choice
    // does not exist.
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_5);
    EXPECT_EQ(Answer(), "Keuze: ");
    // Without an answer there is nothing to delete and no button to follow.
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Return);
    EXPECT_EQ(form->TestRun().State().QuestionNo, 1);
    EXPECT_EQ(Answer(), "Keuze: ");
}

TEST_F(KeyboardTest, TextFieldKeepsItsLettersAndEnterMovesOn) {
    dir.Write("D/IDbRecs.dat",
              dbtest::File({{"Test|getl00000000000", "Getallen"},
                            {"Test|getl00100000000", "Typ\r\n<a href=\"starttest\">Start</a>"},
                            {"Test|getl00100101001ab", "Typ het woord: <INPUT TYPE=\"TEXT\" "
                                                       "NAME=\"woord\" SIZE=\"6\">"}}));
    Start();
    ShowActive();
    ASSERT_TRUE(TabTo(Control<TBaseBtn>(*form, "SelectTestBtn")));
    Key(Qt::Key_Space);
    ASSERT_TRUE(FollowLink("SELECTTEST#GETL001"));
    ASSERT_TRUE(FollowLink("STARTTEST"));
    QLineEdit* field = nullptr;
    for (QLineEdit* edit : form->findChildren<QLineEdit*>())
        if (edit->objectName().compare(QLatin1String("woord"), Qt::CaseInsensitive) == 0)
            field = edit;
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(TabTo(field));
    for (Qt::Key k : {Qt::Key_A, Qt::Key_B, Qt::Key_C, Qt::Key_Backspace})
        Key(k);
    EXPECT_EQ(field->text(), "ab");
    EXPECT_EQ(Answer(), "Keuze: ab"); // the field's text is the answer
    Key(Qt::Key_Return);
    EXPECT_FALSE(Running());
    EXPECT_NE(Stored("getl001001").find("ab<"), std::string::npos);
}

// Every new question and every feedback puts the focus on the text, where a
// screen reader reads it.
TEST_F(KeyboardTest, NewQuestionsAndFeedbackTakeTheFocus) {
    Start(true);
    ShowActive();
    OpenTest();
    EXPECT_EQ(Focus(), View());
    Choose({"A", "C"});
    Control<TBaseBtn>(*form, "InfoBtn")->setFocus();    // elsewhere meanwhile
    Click(Control<TBaseBtn>(*form, "NextQuestionBtn")); // the feedback
    EXPECT_EQ(Focus(), View());
    Control<TBaseBtn>(*form, "InfoBtn")->setFocus();
    Click(Control<TBaseBtn>(*form, "NextQuestionBtn")); // question 2
    EXPECT_EQ(Focus(), View());
}
