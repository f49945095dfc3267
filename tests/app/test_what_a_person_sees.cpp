// What a person sees of the window's standard boxes and controls: Dutch
// buttons, boxes owned by the main window and in front of it, headings that
// stop short of the heading band's figures, a scroll handle darker than its
// groove and framed edit fields.
#include "form_fixture.h"

#include "app/heading_label.h"
#include "app/qt_translations.h"
#include "app/skin_style.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QTranslator>
#include <functional>

namespace {

// What a box showed while it was open.
struct SeenBox {
    QString title;
    QString text;
    QStringList buttons; // captions without their mnemonic marks
    QWidget* parent = nullptr;
    bool onTop = false;
};

class FrontBoxTest : public FormTest {
protected:
    QTranslator* dutch = nullptr;
    std::vector<SeenBox> seen;

    void SetUp() override {
        FormTest::SetUp();
        dutch = InstallQtTranslations(qApp);
        ASSERT_NE(dutch, nullptr) << "qtbase_nl.qm missing (qt6-translations-l10n)";
    }
    void TearDown() override {
        if (dutch) {
            QCoreApplication::removeTranslator(dutch);
            delete dutch;
        }
        FormTest::TearDown();
    }

    // Runs `open`, which shows one modal box; the box is recorded and
    // answered with `answer` as soon as it is up.
    void WhileOpen(QMessageBox::StandardButton answer, const std::function<void()>& open) {
        QTimer::singleShot(0, [this, answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            SeenBox s{box->windowTitle(),
                      box->text(),
                      {},
                      box->parentWidget(),
                      box->windowFlags().testFlag(Qt::WindowStaysOnTopHint)};
            for (QAbstractButton* b : box->buttons())
                s.buttons << b->text().remove('&');
            seen.push_back(s);
            box->button(answer)->click();
        });
        open();
    }
};

TEST_F(FrontBoxTest, ConfirmBoxSpeaksDutchAndBelongsToTheWindow) {
    CreateForm();
    ASSERT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    bool answer = true;
    WhileOpen(QMessageBox::No, [&] { answer = form->AskConfirmBox("Anna verwijderen?"); });
    EXPECT_FALSE(answer);
    WhileOpen(QMessageBox::Yes, [&] { answer = form->AskConfirmBox("Anna verwijderen?"); });
    EXPECT_TRUE(answer);

    ASSERT_EQ(seen.size(), 2u);
    for (const SeenBox& s : seen) {
        EXPECT_EQ(s.title, "Confirm"); // the caption stays as designed
        EXPECT_EQ(s.text, "Anna verwijderen?");
        EXPECT_TRUE(s.buttons.contains("Ja") && s.buttons.contains("Nee"))
            << s.buttons.join(',').toStdString();
        EXPECT_FALSE(s.buttons.contains("Yes") || s.buttons.contains("No"));
        EXPECT_EQ(s.parent, form.get());
        EXPECT_TRUE(s.onTop);
    }
}

// The write error and the exchange's messages, asked for by controls deep in
// the pages, open over the main window itself.
TEST_F(FrontBoxTest, EveryBoxOfTheWindowIsOwnedByIt) {
    TMainForm plain; // with its own boxes, as the program creates it
    ASSERT_TRUE(plain.FormCreate());
    WhileOpen(QMessageBox::Ok, [&] { plain.ShowWriteErrorBox("/x/User/users.dat"); });
    WhileOpen(QMessageBox::No, [&] { plain.AskConfirmBox("Bob verwijderen?"); });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, "Unable to write to /x/User/users.dat");
    for (const SeenBox& s : seen) {
        EXPECT_EQ(s.parent, &plain) << s.text.toStdString();
        EXPECT_TRUE(s.onTop) << s.text.toStdString();
    }
}

// The three layouts, as the screen size chooses them.
const plat::ScreenInfo kScreens[] = {{640, 480, 24}, {1024, 768, 24}, {1280, 1024, 24}};

class LookTest : public FormTest, public ::testing::WithParamInterface<plat::ScreenInfo> {
protected:
    void SetUp() override {
        FormTest::SetUp();
        plat::SetScreenOverride(GetParam());
        CreateForm();
    }
    double Scale() const { return form->width() / 640.0; }
};

TEST_P(LookTest, LongHeadingsStopShortOfTheHeadingFigures) {
    auto* heading = dynamic_cast<THeadingLabel*>(Control<QLabel>(*form, "TestHeaderLbl"));
    ASSERT_NE(heading, nullptr);
    const QString title = QString::fromUtf8("Logisch redeneren - Figurenreeksen voortzetten");
    heading->setText(title);
    EXPECT_EQ(heading->text(), title);
    const QString shown = heading->ShownText();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    EXPECT_LE(heading->fontMetrics().horizontalAdvance(shown), heading->contentsRect().width());
    // The square of the figure series starts at x 381 of the designed page.
    EXPECT_LT(heading->geometry().right(), skin::kTestHeadingDecorationLeft * Scale());

    heading->setText("Tests");
    EXPECT_EQ(heading->ShownText(), "Tests");

    // Every page's heading is drawn the same way and stays on its page.
    for (const char* name : {"LogOnOffHeaderLbl", "ConfigHeaderLbl", "InternetHeaderLbl",
                             "BkInfoHeaderLbl", "HelpHeaderLbl"}) {
        auto* other = dynamic_cast<THeadingLabel*>(Control<QLabel>(*form, name));
        ASSERT_NE(other, nullptr) << name;
        // Pages not yet shown keep a default size; the page set has the real one.
        EXPECT_LT(other->geometry().right(), Control<QWidget>(*form, "MainPages")->width()) << name;
        other->setText(title + title);
        EXPECT_LE(other->fontMetrics().horizontalAdvance(other->ShownText()),
                  other->contentsRect().width())
            << name;
    }
}

TEST_P(LookTest, MarkupScrollHandleIsDarkerThanItsGroove) {
    // A bar of its own, dressed as the markup views' bars are: the scroll
    // boxes reset the range of theirs whenever they are laid out.
    QScrollBar bar(Qt::Vertical);
    skin::StyleMarkupScrollBar(&bar);
    bar.setRange(0, 1000);
    bar.setPageStep(100);
    bar.setValue(0);
    bar.resize(bar.sizeHint().width(), 300);
    const QImage image = bar.grab().toImage();
    const int x = image.width() / 2;
    // The handle sits at the top for value 0; the bottom is bare groove.
    const QColor handle = image.pixelColor(x, 10);
    const QColor groove = image.pixelColor(x, image.height() - 10);
    EXPECT_EQ(handle, skin::kScrollHandle);
    EXPECT_EQ(groove, skin::kScrollGroove);
    EXPECT_LT(handle.lightness() + 60, groove.lightness());

    for (const char* name : {"TestTextCtrl", "BkInfoTextCtrl", "HelpTextCtrl"})
        EXPECT_EQ(Control<QScrollArea>(*form, name)->verticalScrollBar()->styleSheet(),
                  bar.styleSheet())
            << name;
}

TEST_P(LookTest, EditFieldsShowAFrameAndTheirFocus) {
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* name = Control<QComboBox>(*form, "LogOnOffUsersLst");
    auto* password = Control<QLineEdit>(*form, "LogOnOffPWEdit");
    password->show();
    auto framePixel = [](QWidget* w) { return w->grab().toImage().pixelColor(0, w->height() / 2); };
    name->setFocus();
    ASSERT_TRUE(name->hasFocus());
    EXPECT_EQ(framePixel(name), skin::kFieldFocusFrame);
    EXPECT_EQ(framePixel(password), skin::kFieldFrame);
    password->setFocus();
    EXPECT_EQ(framePixel(name), skin::kFieldFrame);
    EXPECT_EQ(framePixel(password), skin::kFieldFocusFrame);
    // The frame stands out from the white inside of the field.
    EXPECT_LT(skin::kFieldFrame.lightness(), skin::kField.lightness() - 60);
}

INSTANTIATE_TEST_SUITE_P(Layouts, LookTest, ::testing::ValuesIn(kScreens));

} // namespace
