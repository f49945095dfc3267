#include "markup/markup_view_host.h"
#include "tests/markup/markup_fixture.h"
#include "widgets/hand_cursors.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace markuptest;

namespace {

const char* kFields = "pick <INPUT TYPE=RADIO NAME=r1 VALUE=a><INPUT TYPE=radio NAME=r2 VALUE=b>"
                      "<INPUT TYPE=CHECKBOX NAME=c1 VALUE=x>"
                      "<INPUT TYPE=TEXT NAME=t1 VALUE=Hello SIZE=3> end";

template <typename T> T* Field(Host& host, const char* name) {
    return qobject_cast<T*>(host.view->Inputs().Find(name));
}

qint64 CursorKey(const QCursor& cursor) {
    return cursor.shape() == Qt::BitmapCursor ? cursor.pixmap().cacheKey() : -cursor.shape();
}

} // namespace

TEST(ParserControl, InputFieldsSitInTheTextAndTakeTheirRoom) {
    Host host;
    host.view->SetMarkupText(kFields);
    const int m = LineHeight();
    const int x = 2 + Width("pick ");
    ASSERT_EQ(host.view->Inputs().Count(), 4);
    EXPECT_EQ(Field<QRadioButton>(host, "R1")->geometry(), QRect(x, 0, m, m));
    EXPECT_EQ(Field<QRadioButton>(host, "R2")->geometry(), QRect(x + m, 0, m, m));
    EXPECT_EQ(Field<QCheckBox>(host, "C1")->geometry(), QRect(x + 2 * m, 0, m, m));
    QLineEdit* text = Field<QLineEdit>(host, "T1");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->geometry(), QRect(x + 3 * m, 0, 3 * m, m));
    EXPECT_EQ(text->text(), QStringLiteral("hello"));
    EXPECT_EQ(text->objectName(), QStringLiteral("T1"));
}

TEST(ParserControl, EveryPassMovesTheSameFieldsAndANameKeepsItsFirstKind) {
    Host host;
    host.view->SetMarkupText("<INPUT TYPE=RADIO NAME=q VALUE=a><INPUT TYPE=CHECKBOX NAME=q>"
                             "<A HREF=x>after</A> words to wrap <INPUT TYPE=CHECKBOX NAME=c>");
    ASSERT_EQ(host.view->Inputs().Count(), 2);
    // The check box of the radio's name is left out and takes no room.
    EXPECT_EQ(host.view->HyperLinks().At(1)->Left, 2 + LineHeight());
    QWidget* c = host.view->Inputs().Find("C");
    const QRect before = c->geometry();
    host.view->resize(60, host.view->height());
    host.Paint();
    EXPECT_EQ(host.view->Inputs().Find("C"), c);
    EXPECT_NE(c->geometry(), before);
    EXPECT_GT(c->y(), before.y()); // fields go where the wrapped words put them
    // A new text frees the old fields.
    host.view->SetMarkupText("none");
    EXPECT_EQ(host.view->Inputs().Count(), 0);
}

TEST(ParserControl, InputsReportTheirValuesAndNothingWhileDisabled) {
    Host host;
    host.parent.show();
    host.Listen();
    host.view->SetMarkupText(kFields);
    Field<QRadioButton>(host, "R2")->click();
    Field<QRadioButton>(host, "R1")->click();
    Field<QCheckBox>(host, "C1")->click();
    Field<QCheckBox>(host, "C1")->click();
    QLineEdit* text = Field<QLineEdit>(host, "T1");
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Exclam);
    EXPECT_EQ(host.reports, std::vector<std::string>({"B", "A", "X", "", "hello!"}));
    EXPECT_FALSE(Field<QRadioButton>(host, "R2")->isChecked());

    host.reports.clear();
    host.view->DisableInputs();
    EXPECT_FALSE(host.view->InputsEnabled());
    EXPECT_FALSE(Field<QRadioButton>(host, "R2")->isEnabled());
    Field<QRadioButton>(host, "R2")->click();
    Field<QCheckBox>(host, "C1")->click();
    host.view->SetMarkupText("<A HREF=x>link</A>");
    host.Click(4, 2);
    EXPECT_TRUE(host.reports.empty());
    // Fields made while disabled are disabled too.
    host.view->SetMarkupText(kFields);
    EXPECT_FALSE(Field<QCheckBox>(host, "C1")->isEnabled());
    host.view->EnableInputs();
    EXPECT_TRUE(Field<QCheckBox>(host, "C1")->isEnabled());
    host.view->SetMarkupText("<A HREF=x>link</A>");
    host.Click(4, 2);
    EXPECT_EQ(host.reports, std::vector<std::string>({"X"}));
}

TEST(ParserControl, ClearInputsUnchecksAndEmptiesEveryField) {
    Host host;
    host.parent.show();
    host.view->SetMarkupText(kFields);
    Field<QRadioButton>(host, "R1")->click();
    Field<QCheckBox>(host, "C1")->click();
    host.view->ClearInputs();
    EXPECT_FALSE(Field<QRadioButton>(host, "R1")->isChecked());
    EXPECT_FALSE(Field<QCheckBox>(host, "C1")->isChecked());
    EXPECT_TRUE(Field<QLineEdit>(host, "T1")->text().isEmpty());
    // The radio buttons still exclude each other afterwards.
    Field<QRadioButton>(host, "R1")->click();
    Field<QRadioButton>(host, "R2")->click();
    EXPECT_FALSE(Field<QRadioButton>(host, "R1")->isChecked());
}

TEST(ParserControl, AReceiverMayReplaceTheTextWhileItIsBeingReported) {
    Host host;
    host.parent.show();
    host.view->OnHyperLinkClick = [&](QObject*, const std::string& href) {
        host.reports.push_back(href);
        host.view->SetMarkupText("<INPUT TYPE=TEXT NAME=t1 VALUE=new>");
    };
    host.view->SetMarkupText("<INPUT TYPE=TEXT NAME=t1 VALUE=old>");
    Field<QLineEdit>(host, "T1")->setText(QStringLiteral("typed"));
    QCoreApplication::processEvents();
    host.view->SetMarkupText("<A HREF=go>link</A>");
    host.Click(4, 2);
    EXPECT_EQ(host.reports, std::vector<std::string>({"typed", "GO"}));
}

TEST(ParserControl, TheCursorShowsLinksOnlyToAReceiver) {
    RegisterHandCursors();
    Host host;
    host.view->SetMarkupText("<A HREF=x>link</A> plain text");
    host.Move(4, 2);
    EXPECT_EQ(host.view->cursor().shape(), Qt::ArrowCursor);
    host.Click(4, 2); // nothing to report to: no harm

    host.Listen();
    host.Move(4, 2);
    EXPECT_EQ(CursorKey(host.view->cursor()), CursorKey(CustomCursor(crHandCursor)));
    host.Move(250, 2);
    EXPECT_EQ(CursorKey(host.view->cursor()), CursorKey(CustomCursor(crHandNoFingersCursor)));
    host.view->SetMarkupText("no links");
    host.Move(4, 2);
    EXPECT_EQ(host.view->cursor().shape(), Qt::ArrowCursor);
}

TEST(ParserControl, HostedViewsScrollTheirTextAndKeepTheBackgroundInPlace) {
    QWidget page;
    page.resize(640, 480);
    auto* box = new QScrollArea(&page);
    box->setGeometry(kMarkupScrollBoxRect);
    std::vector<std::string> pictureIndex;
    GParserControl* view = CreateMarkupView(box, QStringLiteral("TestView"), &pictureIndex);
    page.show();
    EXPECT_EQ(view->objectName(), QStringLiteral("TestView"));
    EXPECT_EQ(box->widget(), view);
    EXPECT_EQ(view->dX(), -20);
    EXPECT_EQ(view->dY(), -30);
    EXPECT_FALSE(view->DrawFocused());
    EXPECT_EQ(view->font().pointSize(), 10);
    EXPECT_TRUE(view->HyperLinkFont().underline());
    EXPECT_EQ(view->width(), box->viewport()->width());

    QImage picture(640, 480, QImage::Format_RGB32);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            picture.setPixel(x, y, qRgb(x % 256, y % 256, 77));
    view->Background().SetImage(picture);

    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "\r\n";
    view->SetMarkupText(text);
    EXPECT_GT(view->height(), box->viewport()->height());
    EXPECT_GT(box->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(box->verticalScrollBar()->singleStep(), 16);

    // The picture lines up with the page: box point (10, 10) shows picture
    // point (30, 40), before and after scrolling.
    const QRgb expected = picture.pixel(30, 40);
    EXPECT_EQ(box->viewport()->grab().toImage().pixel(10, 10) | 0xff000000, expected);
    box->verticalScrollBar()->setValue(48);
    QCoreApplication::processEvents();
    EXPECT_EQ(box->viewport()->grab().toImage().pixel(10, 10) | 0xff000000, expected);

    // The view follows the box's width.
    box->resize(300, 255);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->width(), box->viewport()->width());
    box->move(40, 50);
    PlaceMarkupView(view, box);
    EXPECT_EQ(view->dX(), -40);
    EXPECT_EQ(view->dY(), -50);
}
