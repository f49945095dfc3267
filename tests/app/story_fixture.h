#pragma once

#include "app/main_form.h"
#include "app/status_flags.h"
#include "form_fixture.h"

#include "markup/parser_control.h"
#include "platform/datetime.h"
#include "platform/profile_file.h"
#include "platform/screen.h"
#include "tests/common/temp_program_dir.h"
#include "widgets/base_btn.h"

#include <QAbstractButton>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

// The main window on the content the build compiles, in a program directory
// of its own, driven by mouse and keyboard as a user would. Sound, waits and
// the clock are the test's; write errors are recorded and questions to
// confirm are answered with no.
class StoryTest : public FormTest {
protected:
    static constexpr double kSecond = 1.0 / 86400;

    double now = plat::EncodeDateTime({2007, 3, 14, 9, 30, 0, 0});
    // The one clock of the program, in the test's hand.
    plat::ScopedClock clock{[this] { return now; }};

    void SetUp() override {
        FormTest::SetUp();
        // The content exactly as the build left it next to the program.
        const QString built = QStringLiteral(ZENX_CONTENT_DIR "/");
        for (const char* name : {"D/IDbRecs.dat", "D/iq.dat", "zernox2.dat"}) {
            QFile file(built + name);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
            const QByteArray bytes = file.readAll();
            ASSERT_FALSE(bytes.isEmpty()) << name;
            dir.Write(name, bytes);
        }
    }

    void Start() {
        CreateForm();
        form->AskConfirmBox = [](const QString&) { return false; };
        BeforeFirstStatus();
        form->UpdateStatus();
    }
    // A story's own wiring of the new window, before its first status.
    virtual void BeforeFirstStatus() {}

    // The window's controls the stories use most, found by name.
    GParserControl* TestView() const { return Control<GParserControl>(*form, "TestView"); }
    TBaseBtn* Button(const char* name) const { return Control<TBaseBtn>(*form, name); }

    static void TypeInto(QWidget* field, const QString& text) {
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    void ClickLinkAt(const THyperLinkRec* link) {
        QTest::mouseClick(TestView(), Qt::LeftButton, {},
                          QPoint((link->Left + link->Right) / 2, (link->Top + link->Bottom) / 2));
    }
    // Clicks a link of TestView where it is drawn; false when there is none.
    // A link broken over lines has several pieces: the widest is clicked.
    bool ClickLink(const std::string& target) {
        THyperLinkList& links = TestView()->HyperLinks();
        const THyperLinkRec* best = nullptr;
        for (int32_t i = 1; i <= links.Count(); ++i) {
            const THyperLinkRec* link = links.At(i);
            if (link->HRef == target &&
                (!best || link->Right - link->Left > best->Right - best->Left))
                best = link;
        }
        if (best)
            ClickLinkAt(best);
        return best != nullptr;
    }
    // Gives some answer the way the page asks for one: a choice link, else a
    // radio button or check box, else a typed number.
    void AnswerSomething() {
        THyperLinkList& links = TestView()->HyperLinks();
        if (links.Count() > 0) {
            ClickLinkAt(links.At(1));
            return;
        }
        for (QAbstractButton* button : TestView()->findChildren<QAbstractButton*>()) {
            if (Shown(button) && button->isEnabled()) {
                QTest::mouseClick(button, Qt::LeftButton, {},
                                  QPoint(button->width() / 2, button->height() / 2));
                return;
            }
        }
        for (QLineEdit* edit : TestView()->findChildren<QLineEdit*>()) {
            if (Shown(edit) && edit->isEnabled()) {
                QTest::keyClicks(edit, "7");
                return;
            }
        }
    }
    // Lets the clock run on, second by second, as the test timer sees it.
    void Ticks(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            now += kSecond;
            if (Control<QTimer>(*form, "TestTimer")->isActive())
                form->TestTimerTimer();
        }
    }
    std::string ViewText() const { return TestView()->MarkupText().value_or(""); }
    bool Running() const { return HasFlag(form->StatusFlags(), sfTestRunning); }
};
