#pragma once

// The Test page driven through the main window with the run's clock in the
// test's hand: two tests of one group, Piet (45) logged on, links clicked
// where they are drawn and the answers read back from users.dat.
#include "app/main_form.h"
#include "app/status_flags.h"
#include "form_fixture.h"

#include "markup/parser_control.h"
#include "platform/datetime.h"
#include "platform/profile_file.h"
#include "tests/exam/test_engine_fixture.h"
#include "tests/recdb/db_bytes.h"
#include "widgets/base_btn.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

inline const double kSecond = 1.0 / 86400;

// Two tests of one group. Test 001 has three questions worth 10 points each;
// its first has an explanation after it. Test 002 starts with a question
// whose answer takes no click at all.
inline const std::vector<std::pair<std::string, std::string>> kRecords = {
    {"Test|getl00000000000", "Getallen"},
    {"Test|getl00100000000", "Reeksen\r\n\r\n<a href=\"starttest\">Begin de test</a>"},
    {"Test|getl00100101002ac",
     "Welke twee getallen horen bij de reeks 2, 4, 8?\r\n\r\n"
     "<a href=\"a\">16</a>   <a href=\"b\">12</a>   <a href=\"c\">32</a>"},
    {"Test|getl00100101002ac|uitleg", "Steeds maal twee: 16 en daarna 32."},
    {"Test|getl00100201001b", "Vraag twee\r\n<a href=\"a\">a</a> <a href=\"b\">b</a>"},
    {"Test|getl00100301001c", "Vraag drie\r\n<a href=\"b\">b</a> <a href=\"c\">c</a>"},
    {"Test|getl00200000000", "Blind\r\n<a href=\"starttest\">Start</a>"},
    {"Test|getl00200101000", "Kijk alleen <a href=\"x\">x</a>"},
    {"Test|getl00200201001a", "Laatste <a href=\"a\">a</a>"},
};

class TestPageTest : public FormTest {
protected:
    // 2 June 2006, noon: day 38870, fraction 500.
    double now = plat::EncodeDateTime({2006, 6, 2, 12, 0, 0, 0});
    // The one clock of the program, in the test's hand.
    plat::ScopedClock clock{[this] { return now; }};

    void SetUp() override {
        FormTest::SetUp();
        dir.Write("D/IDbRecs.dat", dbtest::File(kRecords));
        dir.Write("D/iq.dat", enginetest::NormFile());
    }

    // The window as the program makes it, with Piet (45) logged on.
    void Start(bool directFB = false) {
        CreateForm();
        TUserProfile& user = form->UserProfile;
        user.Name = "Piet";
        user.Age = 45;
        user.DirectFB = directFB;
        form->TestRun().SetLoggedOn();
        Control<QLineEdit>(*form, "ConfigAgeEdit")->setText(QStringLiteral("45"));
        form->UpdateStatus();
    }

    // Clicks a link of TestView where it is drawn; false when there is none.
    bool ClickLink(const std::string& target) {
        THyperLinkList& links = Control<GParserControl>(*form, "TestView")->HyperLinks();
        for (int32_t i = 1; i <= links.Count(); ++i) {
            const THyperLinkRec* link = links.At(i);
            if (link->HRef == target) {
                // Scrolled into sight first, as a person would.
                const QPoint at((link->Left + link->Right) / 2, (link->Top + link->Bottom) / 2);
                Control<QScrollArea>(*form, "TestTextCtrl")->ensureVisible(at.x(), at.y());
                QTest::mouseClick(Control<GParserControl>(*form, "TestView"), Qt::LeftButton, {},
                                  at);
                return true;
            }
        }
        return false;
    }
    void Choose(std::initializer_list<const char*> targets) {
        for (const char* t : targets)
            ASSERT_TRUE(ClickLink(t)) << t;
    }
    // `seconds` ticks of TestTimer, one a second, while it runs.
    void Ticks(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            now += kSecond;
            if (Control<QTimer>(*form, "TestTimer")->isActive())
                form->TestTimerTimer();
        }
    }
    void OpenTest(const char* link = "SELECTTEST#GETL001") {
        Click(Control<TBaseBtn>(*form, "SelectTestBtn"));
        ASSERT_TRUE(ClickLink(link));
        ASSERT_TRUE(ClickLink("STARTTEST"));
    }

    std::string ViewText() const {
        return Control<GParserControl>(*form, "TestView")->MarkupText().value_or("");
    }
    std::string Answer() const {
        return Control<QLabel>(*form, "QuestionAnswerLbl")->text().toStdString();
    }
    std::string Remark() const { return Control<QLabel>(*form, "RemarkLbl")->text().toStdString(); }
    bool InCatalogue() const { return ViewText().rfind("Kies een test", 0) == 0; }
    bool Running() const { return HasFlag(form->StatusFlags(), sfTestRunning); }
    std::string Stored(const char* key) const {
        return plat::ReadProfileString(dir.Path() + "User/users.dat", "Piet.Answers", key);
    }
    void Store(const char* key, const char* value) const {
        QDir(dir.Path()).mkpath(QStringLiteral("User"));
        plat::WriteProfileString(dir.Path() + "User/users.dat", "Piet.Answers", key, value);
    }
    // The stored value for an answer given at the current clock.
    std::string Value(const std::string& answer, int ms) const {
        const int64_t day = int64_t(now);
        return answer + "<" + std::to_string(day) + "," +
               std::to_string(int64_t((now - double(day)) * 1000)) + "><" + std::to_string(ms) +
               ">";
    }
};
