// The Internet page of the main window against the real exchange server,
// in process: other participants upload first, then Eva downloads their
// statistics, answers the first question of the built content, uploads her
// own answers and downloads again. The feedback of that question shows the
// participants' figures before and after her upload, computed by hand below.
#include "story_fixture.h"
#include "tests/platform/scoped_env.h"

#include "platform/profile_file.h"
#include "server/answer_key.h"
#include "server/exchange_service.h"
#include "server/http_server.h"
#include "server/store.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <httplib.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

const char* const kUploadPath = "/zenx/zenxws.dll?action=zenxdata";
// The first question of the first test of the built content; its answer is b.
const std::string kQuestion = "rede001001";

// Seven participants from two other installations. Counted for kQuestion:
//   Anna  F 15  b right      Jan  M 18  c        Piet M 25  b right
//   Bea   F 40  a            Kees M 35  (none)   Mark M 17  c
//                                                Wim  M 19  b right (second upload)
// Mark's key is in upper case and still counts; Piet's second key is unknown
// to the content and is dropped.
const std::string kFamilyUpload = "[Users]\r\nCount=4\r\n1=Anna\r\n2=Bea\r\n3=Jan\r\n4=Kees\r\n"
                                  "[Anna.Data]\r\nPw=zon\r\nUid=1001\r\nGender=1\r\nAge=15\r\n"
                                  "[Anna.Answers]\r\nrede001001=b<39000,500><4000>\r\n"
                                  "[Bea.Data]\r\nPw=maan\r\nUid=1002\r\nGender=1\r\nAge=40\r\n"
                                  "[Bea.Answers]\r\nrede001001=a<39000,510><6000>\r\n"
                                  "[Jan.Data]\r\nUid=1003\r\nGender=0\r\nAge=18\r\n"
                                  "[Jan.Answers]\r\nrede001001=c<39000,520><3000>\r\n"
                                  "[Kees.Data]\r\nUid=1004\r\nGender=0\r\nAge=35\r\n"
                                  "[Kees.Answers]\r\nrede001001=<39000,530><60000>\r\n";
const std::string kClubUpload = "[Users]\r\nCount=3\r\n1=Piet\r\n2=Mark\r\n3=Wim\r\n"
                                "[Piet.Data]\r\nUid=2001\r\nGender=0\r\nAge=25\r\n"
                                "[Piet.Answers]\r\nrede001001=b<39001,100><5000>\r\n"
                                "rede999001=a<39001,100><5000>\r\n"
                                "[Mark.Data]\r\nUid=2002\r\nAge=17\r\n"
                                "[Mark.Answers]\r\nREDE001001=c<39001,200><7000>\r\n"
                                "[Wim.Data]\r\nUid=2003\r\nGender=0\r\nAge=19\r\n"
                                "[Wim.Answers]\r\nrede001001=a<39001,300><8000>\r\n";
// Wim again from the same installation: his answer is replaced, not added.
const std::string kWimAgain = "[Users]\r\nCount=1\r\n1=Wim\r\n"
                              "[Wim.Data]\r\nUid=2003\r\nGender=0\r\nAge=19\r\n"
                              "[Wim.Answers]\r\nrede001001=b<39002,0><8000>\r\n";

// The real exchange on a free loopback port with a SQLite store of its own.
// Groups of two are shown, so that single participants stay hidden.
class RunningExchange {
public:
    explicit RunningExchange(const QString& contentDir)
        : store_(OpenSqliteStore(data_.path().toStdString())),
          service_(*store_, TAnswerKey::FromContentDir(contentDir), QByteArray(32, 's'),
                   TExchangeOptions{2, std::chrono::milliseconds(0)}) {
        THttpOptions options;
        options.Port = 0;
        options.Rate = 0;
        http_ = std::make_unique<TExchangeHttpServer>(service_, options);
        bound_ = http_->Bind();
        if (!bound_)
            return;
        thread_ = std::thread([this] { http_->Run(); });
        // Stop only takes effect once Run listens, which an answered request
        // proves; until then a Stop would leave Run serving forever.
        Get();
    }
    ~RunningExchange() { Stop(); }

    bool Bound() const { return bound_; }
    int Port() const { return http_->Port(); }
    std::string Host() const { return "127.0.0.1:" + std::to_string(Port()); }

    int Post(const std::string& body) {
        httplib::Client client("127.0.0.1", Port());
        const auto reply = client.Post(kUploadPath, body, "application/x-www-form-urlencoded");
        return reply ? reply->status : -1;
    }
    std::string Get() {
        httplib::Client client("127.0.0.1", Port());
        const auto reply = client.Get("/zenx/iusers.dat");
        return reply && reply->status == 200 ? reply->body : std::string("<failed>");
    }
    void Stop() {
        if (!thread_.joinable())
            return;
        http_->Stop();
        thread_.join();
    }

private:
    QTemporaryDir data_;
    std::unique_ptr<TExchangeStore> store_;
    TExchangeService service_;
    std::unique_ptr<TExchangeHttpServer> http_;
    std::thread thread_;
    bool bound_ = false;
};

class ExchangeStoryTest : public StoryTest {
protected:
    std::unique_ptr<RunningExchange> server;
    std::unique_ptr<ScopedEnv> host;
    // The message boxes the window showed, answered with OK as they appear.
    std::vector<std::string> messages;
    std::vector<std::string> titles;
    std::vector<QWidget*> owners; // each box's parent
    QTimer boxWatcher;

    void SetUp() override {
        StoryTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(QFile::copy(QStringLiteral(VELDUX_LIBRARY), dir.Path() + "libveldux.so"));

        server = std::make_unique<RunningExchange>(dir.Path());
        ASSERT_TRUE(server->Bound());
        host = std::make_unique<ScopedEnv>("ZENX_EXCHANGE_HOST",
                                           QByteArray::fromStdString(server->Host()));

        boxWatcher.setInterval(5);
        QObject::connect(&boxWatcher, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible())
                    continue;
                titles.push_back(box->windowTitle().toStdString());
                owners.push_back(box->parentWidget());
                messages.push_back(box->text().toStdString());
                box->done(QMessageBox::Ok);
            }
        });
        boxWatcher.start();
    }
    void TearDown() override {
        boxWatcher.stop();
        // The window goes before the server it talks to.
        form.reset();
        server.reset();
        host.reset();
        StoryTest::TearDown();
    }

    // On screen from the start, as the program shows its window.
    void BeforeFirstStatus() override {
        form->resize(800, 600);
        form->show();
    }

    void Tick(QCheckBox* box) {
        ASSERT_TRUE(Shown(box) && box->isEnabled()) << box->objectName().toStdString();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    }

    // Adds a user with a password on the log-on page and logs on, then gives
    // gender and age on the settings page and leaves it for the Internet page.
    void LogOnNewUser(const QString& name, bool female, const QString& age, bool directFB) {
        QComboBox* users = Control<QComboBox>(*form, "LogOnOffUsersLst");
        users->lineEdit()->selectAll();
        QTest::keyClick(users, Qt::Key_Backspace);
        QTest::keyClicks(users, name);
        QTest::keyClicks(Control<QLineEdit>(*form, "LogOnOffPWEdit"), "kiwi7");
        QTest::keyClicks(Control<QLineEdit>(*form, "LogOnOffCPWEdit"), "kiwi7");
        Click(Control<TBaseBtn>(*form, "LogOnOffAddBtn"));
        Click(Control<TBaseBtn>(*form, "LogOnOffGoBtn"));
        ASSERT_TRUE(HasFlag(form->StatusFlags(), sfLoggedOn));
        Click(Control<TBaseBtn>(*form, "ConfigBtn"));
        if (female)
            Tick(Control<QCheckBox>(*form, "ConfigFemaleChkBx"));
        if (directFB != Control<QCheckBox>(*form, "ConfigDirectFBChkBx")->isChecked())
            Tick(Control<QCheckBox>(*form, "ConfigDirectFBChkBx"));
        TypeInto(Control<QLineEdit>(*form, "ConfigAgeEdit"), age);
        Click(Button("InternetBtn"));
        ASSERT_EQ(form->ActivePageName(), "Internet");
    }

    std::string Internet(const char* section, const std::string& key) const {
        return plat::ReadProfileString(dir.Path() + "User/iusers.dat", section, key, "<none>");
    }
    static std::string After(const std::string& text, const std::string& from) {
        const size_t at = text.find(from);
        return at == std::string::npos ? std::string() : text.substr(at);
    }
};

// Percentages rounded half up, groups under two participants left empty.
//   before Eva: women 1/2 = 50, men 2/5 = 40, 17-21 1/3 = 33, >30 0/2 = 0;
//               answers of 7: none 1 -> 14, a 1 -> 14, b 3 -> 43, c 2 -> 29
//   with Eva (F 15, b): women 2/3 = 67, 14-16 2/2 = 100;
//               answers of 8: none 12.5 -> 13, a 13, b 50, c 25
const std::string kScoresBefore =
    "Vrouwen 50%\r\nMannen 40%\r\n\r\n"
    "<b>Leeftijdscategorie:</b>\r\n\r\n"
    "14-16 jaar \r\n17-21 jaar 33%\r\n22-30 jaar \r\n>30 jaar 0%\r\n"
    "\r\nAantal deelnemers: 7\r\n"
    "Gegeven antwoorden: geen antwoord 14%, a 14%, b 43%, c 29%\r\n\r\n";
const std::string kScoresAfter =
    "Vrouwen 67%\r\nMannen 40%\r\n\r\n"
    "<b>Leeftijdscategorie:</b>\r\n\r\n"
    "14-16 jaar 100%\r\n17-21 jaar 33%\r\n22-30 jaar \r\n>30 jaar 0%\r\n"
    "\r\nAantal deelnemers: 8\r\n"
    "Gegeven antwoorden: geen antwoord 13%, a 13%, b 50%, c 25%\r\n\r\n";

TEST_F(ExchangeStoryTest, UploadedAnswersComeBackInTheFeedback) {
    ASSERT_EQ(server->Post(kFamilyUpload), 200);
    ASSERT_EQ(server->Post(kClubUpload), 200);
    ASSERT_EQ(server->Post(kWimAgain), 200);
    Start();
    LogOnNewUser("Eva", true, "15", true);

    // The others' statistics first.
    Click(Button("InternetDownloadBtn"));
    EXPECT_EQ(messages, Texts{"Downloaden is succesvol afgerond"});
    EXPECT_EQ(Internet("Women.Answers", kQuestion), "50");
    EXPECT_EQ(Internet("Counts", kQuestion), "7");
    EXPECT_EQ(Internet("Choices", kQuestion), "-=14;a=14;b=43;c=29");
    EXPECT_EQ(Internet("Counts", "rede999001"), "<none>");

    // Eva answers b; the direct feedback shows the others' figures.
    Click(Button("SelectTestBtn"));
    ASSERT_TRUE(ClickLink("SELECTTEST#REDE001")) << ViewText();
    ASSERT_TRUE(ClickLink("STARTTEST")) << ViewText();
    ASSERT_TRUE(Running());
    ASSERT_TRUE(ClickLink("B")) << ViewText();
    Ticks(4);
    ASSERT_EQ(Button("NextQuestionBtn")->Caption(), "Feedback");
    Click(Button("NextQuestionBtn"));
    std::string text = ViewText();
    EXPECT_NE(text.find("\r\nU gaf het goede antwoord b\r\n"), std::string::npos) << text;
    EXPECT_EQ(After(text, "Vrouwen "), kScoresBefore) << text;

    // The rest of the test with any answers, each followed by its feedback.
    Click(Button("NextQuestionBtn"));
    for (int q = 2; Running() && q <= 20; ++q) {
        for (int tries = 0; tries < 4 && !Shown(Button("NextQuestionBtn")); ++tries)
            AnswerSomething();
        ASSERT_TRUE(Shown(Button("NextQuestionBtn"))) << "question " << q << "\n" << ViewText();
        Ticks(3);
        Click(Button("NextQuestionBtn")); // the feedback
        Click(Button("NextQuestionBtn")); // on
    }
    ASSERT_FALSE(Running());
    EXPECT_EQ(plat::ReadProfileString(dir.Path() + "User/users.dat", "Eva.Answers", kQuestion),
              "b<39155,395><4000>"); // 14 March 2007, 9:30:04

    // Her upload counts once among the others'.
    messages.clear();
    Click(Button("InternetBtn"));
    Click(Button("InternetUpLoadBtn"));
    EXPECT_EQ(messages, Texts{"Uploaden is succesvol afgerond"});
    Click(Button("InternetDownloadBtn"));
    EXPECT_EQ(messages,
              (Texts{"Uploaden is succesvol afgerond", "Downloaden is succesvol afgerond"}));
    EXPECT_EQ(titles, (Texts{"Informatie", "Informatie", "Informatie"}));
    EXPECT_EQ(Internet("Women.Answers", kQuestion), "67");
    EXPECT_EQ(Internet("Men.Answers", kQuestion), "40");
    EXPECT_EQ(Internet("Age 14-16.Answers", kQuestion), "100");
    EXPECT_EQ(Internet("Age 17-21.Answers", kQuestion), "33");
    EXPECT_EQ(Internet("Age 22-30.Answers", kQuestion), "<none>");
    EXPECT_EQ(Internet("Age >30.Answers", kQuestion), "0");
    EXPECT_EQ(Internet("Counts", kQuestion), "8");
    EXPECT_EQ(Internet("Choices", kQuestion), "-=13;a=13;b=50;c=25");
    // Her other answers have nobody beside her and stay on the server.
    EXPECT_EQ(Internet("Counts", "rede001002"), "<none>");
    EXPECT_EQ(Internet("Women.Answers", "rede001002"), "<none>");
    EXPECT_EQ(server->Get(), dir.Read("User/iusers.dat").toStdString());

    // The review of the finished test shows the new figures.
    Click(Button("SelectTestBtn"));
    ASSERT_TRUE(ClickLink("SELECTTEST#REDE001"));
    ASSERT_TRUE(ClickLink("STARTTEST"));
    ASSERT_TRUE(HasFlag(form->StatusFlags(), sfReviewing));
    ASSERT_EQ(form->TestRun().State().QuestionNo, 1);
    text = ViewText();
    EXPECT_NE(text.find("\r\nU gaf het goede antwoord b\r\n"), std::string::npos) << text;
    EXPECT_EQ(After(text, "Vrouwen "), kScoresAfter) << text;
    EXPECT_TRUE(writeErrors.empty());
}

TEST_F(ExchangeStoryTest, StoppedServerMeansNoConnection) {
    server->Stop();
    Start();
    LogOnNewUser("Jan", false, "40", false);
    const QByteArray before = dir.Read("User/users.dat");

    Click(Button("InternetUpLoadBtn"));
    Click(Button("InternetDownloadBtn"));
    EXPECT_EQ(messages, (Texts{"Geen verbinding", "Geen verbinding"}));
    EXPECT_EQ(titles, (Texts{"Informatie", "Informatie"}));
    // Opened from the Internet page, owned by the window, so never behind it.
    EXPECT_EQ(owners, (std::vector<QWidget*>{form.get(), form.get()}));
    EXPECT_EQ(dir.Read("User/users.dat"), before);
    EXPECT_FALSE(dir.Exists("User/iusers.dat"));
}

} // namespace
