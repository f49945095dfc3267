// One user's whole story on the content the build compiles: add and log on,
// set an age, pick the first test of the catalogue, answer every question and
// find the result on disk and in the catalogue.
#include "story_fixture.h"

#include "exam/content_model.h"
#include "exam/iq_score.h"
#include "exam/stored_answers.h"
#include "platform/profile_file.h"
#include "recdb/db_rec_file.h"
#include "recdb/open_database.h"
#include "recdb/record_index.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class WholeStoryTest : public StoryTest {
protected:
    std::vector<QString> questions; // asked to confirm, each answered with no

    void BeforeFirstStatus() override {
        form->AskConfirmBox = [this](const QString& question) {
            questions.push_back(question);
            return false;
        };
    }

    // The first test link of the catalogue, e.g. "SELECTTEST#REDE001".
    std::string FirstTestLink() {
        THyperLinkList& links = TestView()->HyperLinks();
        for (int32_t i = 1; i <= links.Count(); ++i) {
            if (links.At(i)->HRef.rfind("SELECTTEST#", 0) == 0)
                return links.At(i)->HRef;
        }
        return {};
    }
    QString UsersDat() const { return dir.Path() + "User/users.dat"; }
};

} // namespace

TEST_F(WholeStoryTest, NewUserTakesTheFirstTestOfTheBuiltContent) {
    Start();
    form->resize(800, 600);
    form->show();
    QCoreApplication::processEvents();

    // Add Eva with a password on the log-on page, then log on.
    QComboBox* users = Control<QComboBox>(*form, "LogOnOffUsersLst");
    users->lineEdit()->selectAll();
    QTest::keyClick(users, Qt::Key_Backspace);
    QTest::keyClicks(users, "Eva");
    QTest::keyClicks(Control<QLineEdit>(*form, "LogOnOffPWEdit"), "kiwi7");
    ASSERT_TRUE(Shown(Control<QLineEdit>(*form, "LogOnOffCPWEdit")));
    QTest::keyClicks(Control<QLineEdit>(*form, "LogOnOffCPWEdit"), "kiwi7");
    Click(Button("LogOnOffAddBtn"));
    EXPECT_EQ(plat::ReadProfileString(UsersDat(), "Eva.Data", "Pw"), "kiwi7");
    Click(Control<TBaseBtn>(*form, "LogOnOffGoBtn"));
    ASSERT_TRUE(HasFlag(form->StatusFlags(), sfLoggedOn));
    EXPECT_EQ(Control<QLabel>(*form, "CurrentUserLbl")->text(), "Huidige gebruiker: Eva");

    // The age opens the catalogue; leaving the settings page saves it.
    Click(Button("ConfigBtn"));
    EXPECT_FALSE(Button("SelectTestBtn")->isEnabled());
    TypeInto(Control<QLineEdit>(*form, "ConfigAgeEdit"), "35");
    ASSERT_TRUE(Button("SelectTestBtn")->isEnabled());
    Click(Button("SelectTestBtn"));
    EXPECT_EQ(form->ActivePageName(), "Test");
    EXPECT_EQ(plat::ReadProfileString(UsersDat(), "Eva.Data", "Age"), "35");
    ASSERT_EQ(ViewText().rfind("Kies een test", 0), 0u) << ViewText();

    // Nothing answered yet: the first test has no IQ.
    const std::string link = FirstTestLink();
    ASSERT_FALSE(link.empty());
    const std::string testKey = QString::fromStdString(link.substr(11)).toLower().toStdString();
    const std::string entry = "<a href=\"selecttest#" + testKey + "\">";
    const auto catalogueLine = [&] {
        const std::string text = ViewText();
        const size_t at = text.find(entry);
        if (at == std::string::npos)
            return std::string();
        const size_t end = text.find("</i>", at);
        return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    };
    EXPECT_NE(catalogueLine().find(" beantwoord] IQ=n.b."), std::string::npos) << catalogueLine();

    ASSERT_TRUE(ClickLink(link));
    ASSERT_TRUE(ClickLink("STARTTEST")) << ViewText();
    ASSERT_TRUE(Running());
    const QRegularExpressionMatch first = QRegularExpression("^Vraag 1 van (\\d+) ")
                                              .match(Control<QLabel>(*form, "RemarkLbl")->text());
    ASSERT_TRUE(first.hasMatch()) << Control<QLabel>(*form, "RemarkLbl")->text().toStdString();
    const int count = first.captured(1).toInt();
    ASSERT_GT(count, 0);

    // Every question gets an answer; the run ends after the last.
    for (int q = 1; q <= count && Running(); ++q) {
        ASSERT_EQ(form->TestRun().State().QuestionNo, q);
        for (int tries = 0; tries < 4 && !Shown(Control<TBaseBtn>(*form, "NextQuestionBtn"));
             ++tries)
            AnswerSomething();
        ASSERT_TRUE(Shown(Button("NextQuestionBtn"))) << "question " << q << "\n" << ViewText();
        Ticks(3 + q);
        Click(Button("NextQuestionBtn"));
    }
    EXPECT_FALSE(Running());
    EXPECT_FALSE(Control<QTimer>(*form, "TestTimer")->isActive());
    EXPECT_EQ(ViewText().rfind("Kies een test", 0), 0u);
    EXPECT_TRUE(writeErrors.empty());

    // One stored value per question, each with its answer time.
    const auto answers = plat::ReadProfileSection(UsersDat(), "Eva.Answers");
    ASSERT_EQ(int(answers.size()), count);
    for (int q = 1; q <= count; ++q) {
        char key[32];
        std::snprintf(key, sizeof key, "%s%03d", testKey.c_str(), q);
        const std::string value = plat::ReadProfileString(UsersDat(), "Eva.Answers", key);
        EXPECT_NE(value.find("><" + std::to_string((3 + q) * 1000) + ">"), std::string::npos)
            << key << "=" << value;
    }

    // The catalogue shows the finished test, scored as the rules score it on
    // a database opened afresh from the same program directory.
    const std::string line = catalogueLine();
    EXPECT_NE(line.find("[" + std::to_string(count) + " vragen, " + std::to_string(count) +
                        " beantwoord]"),
              std::string::npos)
        << line;
    TiDbRecFile db;
    TRecordIndex index;
    std::vector<std::string> topics;
    ASSERT_TRUE(OpenRecordDatabase(db, index, topics));
    TTestContent content(db, index);
    EXPECT_EQ(content.QuestionCount(testKey), count);
    const std::string iq = GetTestIQ(content, testKey, "Eva", 35);
    EXPECT_NE(iq, kIQNoNorm);
    EXPECT_NE(line.find("IQ=" + iq), std::string::npos) << line << " / " << iq;
    const TTestScore score = ScoreTest(content, testKey, TAnswerSnapshot::Load("Eva"));
    EXPECT_EQ(score.Questions, count);
    // "n.b." exactly when no point was earned.
    EXPECT_EQ(iq == kIQNotScored, score.Earned == 0) << iq << " " << score.Earned;

    // The program directory still starts a window that knows Eva and her age.
    form.reset();
    plat::ClearProfileCache();
    Start();
    EXPECT_GE(Control<QComboBox>(*form, "LogOnOffUsersLst")->findText("Eva"), 0);
    EXPECT_EQ(plat::ReadProfileString(UsersDat(), "Eva.Data", "Age"), "35");
    EXPECT_EQ(int(plat::ReadProfileSection(UsersDat(), "Eva.Answers").size()), count);
}
