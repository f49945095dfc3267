#include "app/main_form.h"
#include "app/reference_topic_list.h"
#include "app/status_flags.h"
#include "form_fixture.h"

#include "markup/parser_control.h"
#include "platform/registry.h"
#include "platform/screen.h"
#include "platform/shell.h"
#include "recdb/scramble.h"
#include "tests/common/png_bytes.h"
#include "tests/common/temp_program_dir.h"
#include "widgets/background.h"
#include "widgets/base_btn.h"
#include "widgets/bk_control.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

using Records = std::vector<std::pair<std::string, std::string>>;

// A record database file: the count, then each record numbered by its place
// with its texts scrambled.
QByteArray DatabaseFile(const Records& records) {
    QByteArray out;
    const auto put32 = [&](int32_t v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    const auto put16 = [&](uint16_t v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    const auto putText = [&](const std::string& text) {
        for (const char c : text)
            out.append(char(recdb::Unscramble(uint8_t(c))));
    };
    put32(int32_t(records.size()));
    for (size_t i = 0; i < records.size(); ++i) {
        put32(int32_t(i + 1));
        put16(uint16_t(records[i].first.size()));
        put16(uint16_t(records[i].second.size()));
        putText(records[i].first);
        putText(records[i].second);
    }
    return out;
}

std::string LongPage() {
    std::string text = "<b>Soorten testvragen</b>\r\n";
    for (int line = 0; line < 12; ++line) {
        for (int word = 0; word < 14; ++word)
            text += "figurenreeksen ";
        text += "\r\n";
    }
    return text;
}

const std::string kFirstBody =
    "<b>Wat is intelligentie?</b>\r\nHet vermogen om te redeneren. Lees ook "
    "<a href=\"iq\">over het IQ</a>.";

const Records kContent = {
    {"BkInfo|Intelligentie", kFirstBody},             // 1
    {"Test|VOOR00000000000", "Voorbeelden"},          // 2
    {"BkInfo|Zonder tekst", ""},                      // 3
    {"BkInfo|Soorten testvragen", LongPage()},        // 4
    {"BkInfo|Verborgen|x", "staat niet in de lijst"}, // 5
};

class ReferencePage : public ::testing::Test {
protected:
    TempProgramDir dir;
    void SetUp() override { plat::SetScreenOverride({800, 600, 24}); }
    void TearDown() override {
        plat::ClearScreenOverride();
        plat::SetRegistryBackend(nullptr);
        plat::SetShellLauncher({});
    }

    void Install(const Records& records) const {
        dir.Write("D/IDbRecs.dat", DatabaseFile(records));
    }
    static void LogOn(TMainForm& form) {
        form.TestRun().SetLoggedOn();
        Control<QLineEdit>(form, "ConfigAgeEdit")->setText(QStringLiteral("30"));
        form.UpdateStatus();
    }
    static std::string Shown(const TMainForm& form) {
        return Control<GParserControl>(form, "BkInfoView")->MarkupText().value_or("<none>");
    }
};

// Whether any pixel of `rect` in `image` differs from `background`.
bool HasInk(const QImage& image, const QRect& rect, QColor background) {
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixelColor(x, y) != background)
                return true;
    return false;
}

} // namespace

TEST_F(ReferencePage, FirstOpeningShowsTheFirstTopicAndTheLastChoiceIsKept) {
    Install(kContent);
    TMainForm form;
    form.SetWavePlayer(new FakeWavePlayer);
    ASSERT_TRUE(form.FormCreate());
    form.show(); // the scroll boxes take their size
    ASSERT_EQ(Control<QComboBox>(form, "BkInfoIndexLst")->count(), 3);
    EXPECT_EQ(Control<QComboBox>(form, "BkInfoIndexLst")->itemText(1), "3|Zonder tekst");
    EXPECT_EQ(Control<QComboBox>(form, "BkInfoIndexLst")->currentIndex(),
              -1); // nothing chosen before the first visit
    EXPECT_FALSE(Control<GParserControl>(form, "BkInfoView")->MarkupText());

    LogOn(form);
    ASSERT_TRUE(Control<TBaseBtn>(form, "BkInfoBtn")->isEnabled());
    QTest::mouseClick(Control<TBaseBtn>(form, "BkInfoBtn"), Qt::LeftButton);
    EXPECT_EQ(form.ActivePageName(), "BkInfo");
    EXPECT_TRUE(form.StatusFlags() & sfBkInfoVisited);
    EXPECT_EQ(Control<QComboBox>(form, "BkInfoIndexLst")->currentIndex(), 0);
    EXPECT_EQ(Shown(form), kFirstBody);
    // Laid out: the link sits on the second line, the view is as high as its
    // box at least, and the first line carries ink.
    ASSERT_EQ(Control<GParserControl>(form, "BkInfoView")->HyperLinks().Count(), 1);
    const THyperLinkRec* link = Control<GParserControl>(form, "BkInfoView")->HyperLinks().At(1);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->HRef, "IQ");
    EXPECT_EQ(link->Top, Control<GParserControl>(form, "BkInfoView")->BaseLineHeight());
    EXPECT_GT(link->Right, link->Left);
    const int boxHeight = Control<QScrollArea>(form, "BkInfoTextCtrl")->viewport()->height();
    EXPECT_EQ(Control<GParserControl>(form, "BkInfoView")->YMax(), boxHeight);
    const QImage shot = Control<GParserControl>(form, "BkInfoView")->grab().toImage();
    const QColor blank = shot.pixelColor(shot.width() - 2, shot.height() - 2);
    EXPECT_TRUE(HasInk(
        shot, QRect(2, 0, 100, Control<GParserControl>(form, "BkInfoView")->BaseLineHeight()),
        blank));

    // A topic without a body empties the view and leaves it empty.
    Control<QComboBox>(form, "BkInfoIndexLst")->setFocus();
    QTest::keyClick(Control<QComboBox>(form, "BkInfoIndexLst"), Qt::Key_Down);
    EXPECT_EQ(Control<QComboBox>(form, "BkInfoIndexLst")->currentIndex(), 1);
    EXPECT_FALSE(Control<GParserControl>(form, "BkInfoView")->MarkupText());
    EXPECT_EQ(Control<GParserControl>(form, "BkInfoView")->HyperLinks().Count(), 0);
    EXPECT_EQ(Control<GParserControl>(form, "BkInfoView")->height(), 0);

    // A long page makes the view taller than its box, so the box scrolls.
    QTest::keyClick(Control<QComboBox>(form, "BkInfoIndexLst"), Qt::Key_Down);
    EXPECT_EQ(Control<QComboBox>(form, "BkInfoIndexLst")->currentIndex(), 2);
    EXPECT_EQ(Shown(form), LongPage());
    EXPECT_GT(Control<GParserControl>(form, "BkInfoView")->YMax(), boxHeight);
    EXPECT_EQ(Control<GParserControl>(form, "BkInfoView")->height(),
              Control<GParserControl>(form, "BkInfoView")->YMax());

    // Leaving and opening the page again keeps the last choice.
    QTest::mouseClick(Control<TBaseBtn>(form, "LogOnOffBtn"), Qt::LeftButton);
    EXPECT_EQ(form.ActivePageName(), "LogOnOff");
    EXPECT_FALSE(form.StatusFlags() & sfBkInfoVisited);
    QTest::mouseClick(Control<TBaseBtn>(form, "BkInfoBtn"), Qt::LeftButton);
    EXPECT_EQ(Control<QComboBox>(form, "BkInfoIndexLst")->currentIndex(), 2);
    EXPECT_EQ(Shown(form), LongPage());
}

TEST_F(ReferencePage, EntriesWithoutAUsableRecordShowNothingNew) {
    Install(kContent);
    TMainForm form;
    ASSERT_TRUE(form.FormCreate());
    LogOn(form);
    form.BkInfoBtnClick();
    ASSERT_EQ(Shown(form), kFirstBody);
    const auto choose = [&](const char* entry) {
        Control<QComboBox>(form, "BkInfoIndexLst")->addItem(QString::fromLatin1(entry));
        Control<QComboBox>(form, "BkInfoIndexLst")
            ->setCurrentIndex(Control<QComboBox>(form, "BkInfoIndexLst")->count() - 1);
        form.BkInfoIndexLstChange();
    };
    choose("Zonder streep"); // no "|"
    EXPECT_EQ(Shown(form), kFirstBody);
    choose("x|Geen nummer"); // record number 0
    EXPECT_EQ(Shown(form), kFirstBody);
    choose("0|Nul");
    EXPECT_EQ(Shown(form), kFirstBody);
    choose("99|Voorbij het einde"); // emptied; the record cannot be fetched
    EXPECT_FALSE(Control<GParserControl>(form, "BkInfoView")->MarkupText());
    choose("-4|Negatief");
    EXPECT_FALSE(Control<GParserControl>(form, "BkInfoView")->MarkupText());
    choose("2|Een testrecord"); // any record with a body shows
    EXPECT_EQ(Shown(form), "Voorbeelden");
}

TEST_F(ReferencePage, AnEmptyDatabaseGivesAnEmptyListAndView) {
    TMainForm form; // no D\IDbRecs.dat at all
    ASSERT_TRUE(form.FormCreate());
    LogOn(form);
    Control<QComboBox>(form, "BkInfoIndexLst")->addItem(QStringLiteral("1|Los toegevoegd"));
    Control<QComboBox>(form, "BkInfoIndexLst")->setCurrentIndex(-1);
    form.BkInfoBtnClick();
    EXPECT_EQ(form.ActivePageName(), "BkInfo");
    // Without active records nothing is shown, whatever the list holds.
    EXPECT_FALSE(Control<GParserControl>(form, "BkInfoView")->MarkupText());
    EXPECT_EQ(Control<GParserControl>(form, "BkInfoView")->height(), 0);
}

TEST_F(ReferencePage, ViewLiesOnThePageBackground) {
    Install(kContent);
    dir.Write("I/B/bibk6x4", PngBytes(640, 480, QColor(250, 236, 200)));
    dir.Write("I/B/tbk6x4", PngBytes(320, 240, QColor(200, 236, 250)));
    TMainForm form;
    ASSERT_TRUE(form.FormCreate());
    const QImage& page = Control<TBkControl>(form, "BkInfoBk")->Background().Image();
    ASSERT_FALSE(page.isNull());
    EXPECT_EQ(Control<GParserControl>(form, "BkInfoView")->Background().Image().size(),
              page.size());
    // The test text lies on its own page's picture likewise.
    ASSERT_FALSE(Control<TBkControl>(form, "TestBk")->Background().Image().isNull());
    EXPECT_EQ(Control<GParserControl>(form, "TestView")->Background().Image().size(),
              QSize(320, 240));
    EXPECT_TRUE(Control<GParserControl>(form, "HelpView")
                    ->Background()
                    .Image()
                    .isNull()); // no help picture installed
    LogOn(form);
    form.BkInfoBtnClick();
    const QImage shot = Control<GParserControl>(form, "BkInfoView")->grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() - 3, shot.height() - 3), QColor(250, 236, 200));
}

TEST_F(ReferencePage, TopicListDrawsOnlyTheTitleWhiteOnNavyWhenSelected) {
    TMainForm form;
    ASSERT_TRUE(form.FormCreate());
    QComboBox* list = Control<QComboBox>(form, "BkInfoIndexLst");
    EXPECT_FALSE(list->isEditable());
    auto* delegate = dynamic_cast<TTopicItemDelegate*>(list->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    list->addItems({"1|Intelligentie", "123|Intelligentie", "7|Testen"});

    const auto row = [&](int index, bool selected) {
        QImage image(200, 16, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.rect = image.rect();
        option.state = selected ? QStyle::State_Selected : QStyle::State_None;
        delegate->paint(&painter, option, list->model()->index(index, 0));
        painter.end();
        return image;
    };
    const QColor listColour = list->palette().color(QPalette::Base);
    const QImage plain = row(0, false);
    EXPECT_EQ(plain.pixelColor(1, 1), listColour);
    EXPECT_TRUE(HasInk(plain, QRect(5, 0, 60, 16), listColour));
    EXPECT_FALSE(HasInk(plain, QRect(0, 0, 5, 16), listColour)); // the text starts 5 in
    // The record number never shows: two numbers, one picture.
    EXPECT_EQ(plain, row(1, false));
    EXPECT_NE(plain, row(2, false));

    const QImage chosen = row(0, true);
    EXPECT_EQ(chosen.pixelColor(1, 1), QColor(0, 0, 128));
    // Smoothed glyph edges blend into the navy; the stems are (near) white.
    bool white = false;
    for (int x = 5; x < 60 && !white; ++x)
        for (int y = 0; y < 16 && !white; ++y) {
            const QColor c = chosen.pixelColor(x, y);
            white = c.red() > 200 && c.green() > 200 && c.blue() > 200;
        }
    EXPECT_TRUE(white);

    // Rows take the list's item height; the closed box also hides the number.
    EXPECT_EQ(delegate->sizeHint(QStyleOptionViewItem(), list->model()->index(0, 0)).height(), 16);
    list->setCurrentIndex(0);
    const QImage closed0 = list->grab().toImage();
    list->setCurrentIndex(1);
    EXPECT_EQ(closed0, list->grab().toImage());
    list->setCurrentIndex(2);
    EXPECT_NE(closed0, list->grab().toImage());
}

TEST_F(ReferencePage, HelpOpensTheOnlineHelpPageAndMinimizes) {
    plat::SetRegistryBackend(std::make_unique<FakeBrowserRegistry>());
    std::vector<plat::ShellRequest> started;
    int result = 42;
    plat::SetShellLauncher([&](const plat::ShellRequest& r) {
        started.push_back(r);
        return result;
    });
    TMainForm form;
    ASSERT_TRUE(form.FormCreate());
    form.show();
    ASSERT_TRUE(Control<TBaseBtn>(form, "HelpBtn")->isEnabled()); // also before anyone logs on
    QTest::mouseClick(Control<TBaseBtn>(form, "HelpBtn"), Qt::LeftButton);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].program, "/usr/bin/browser");
    const std::string query = "?lngid=31&programlabel=zernox2&programversionnumber=1011"
                              "&show=onlinehelp";
    const std::string& url = started[0].parameters;
    ASSERT_GT(url.size(), query.size());
    EXPECT_EQ(url.substr(url.size() - query.size()), query);
    EXPECT_EQ(url.rfind("http", 0), 0u);
    EXPECT_TRUE(form.windowState() & Qt::WindowMinimized);
    EXPECT_EQ(form.ActivePageName(), "LogOnOff"); // no page of its own

    // A browser that cannot start changes nothing, and the window still goes.
    form.showNormal();
    result = 2;
    QTest::mouseClick(Control<TBaseBtn>(form, "HelpBtn"), Qt::LeftButton);
    EXPECT_EQ(started.size(), 2u);
    EXPECT_TRUE(form.windowState() & Qt::WindowMinimized);
    EXPECT_FALSE(Control<GParserControl>(form, "HelpView")->MarkupText());
}
