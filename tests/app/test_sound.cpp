#include "app/main_form.h"
#include "form_fixture.h"

#include "platform/screen.h"
#include "tests/common/temp_program_dir.h"
#include "widgets/base_btn.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

class SoundTest : public ::testing::Test {
protected:
    TempProgramDir dir;
    CountingForm* form = nullptr;
    FakeWavePlayer* player = nullptr;

    void SetUp() override {
        plat::SetScreenOverride({800, 600, 24});
        for (const char* name : {"a/0.wav", "a/1.wav", "a/2.wav", "a/3.wav"})
            dir.Write(name, "RIFF....WAVE");
        form = new CountingForm();
        ASSERT_TRUE(form->FormCreate());
        player = new FakeWavePlayer();
        form->SetWavePlayer(player);
    }
    void TearDown() override {
        delete form;
        plat::ClearScreenOverride();
    }

    static void Enter(QWidget* w) {
        QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(w, &e);
    }
    static void Leave(QWidget* w) {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(w, &e);
    }
};

} // namespace

TEST_F(SoundTest, EachSoundStartsFromItsBeginning) {
    form->PlaySound("a\\2.wav");
    form->PlaySound("a\\2.wav");
    EXPECT_EQ(player->calls, QStringList({"open 2.wav", "play", "open 2.wav", "play"}));
    player->calls.clear();
    // Another file: the playing one is stopped and closed first.
    form->PlaySound("a\\3.wav");
    EXPECT_EQ(player->calls, QStringList({"stop", "close", "open 3.wav", "play"}));
}

TEST_F(SoundTest, SilenceWhenSwitchedOffAndTheNextEventStopsWhatPlays) {
    form->PlaySound("a\\0.wav");
    player->calls.clear();
    QTest::mouseClick(Control<TBaseBtn>(*form, "SoundBtn"), Qt::LeftButton);
    EXPECT_FALSE(form->SoundOn());
    // Switching off does not by itself stop the sound.
    EXPECT_TRUE(player->calls.isEmpty());
    Control<TBaseBtn>(*form, "LogOnOffBtn")->setEnabled(true);
    Enter(Control<TBaseBtn>(*form, "LogOnOffBtn"));
    EXPECT_EQ(player->calls, QStringList({"stop", "close"}));
    player->calls.clear();
    form->ConfigBtnClick();
    EXPECT_FALSE(player->calls.contains("play"));
    QTest::mouseClick(Control<TBaseBtn>(*form, "SoundBtn"), Qt::LeftButton);
    EXPECT_TRUE(form->SoundOn());
    form->PlaySound("a\\1.wav");
    EXPECT_TRUE(player->calls.contains("play"));
}

TEST_F(SoundTest, MissingFileIsSilentAndStopsTheSound) {
    form->PlaySound("a\\0.wav");
    player->calls.clear();
    form->PlaySound("a\\9.wav");
    EXPECT_EQ(player->calls, QStringList({"stop", "close"}));
}

TEST_F(SoundTest, NothingToStopBeforeTheFirstSound) {
    form->StopSound();
    form->PlaySound("a\\9.wav");
    EXPECT_TRUE(player->calls.isEmpty());
}

TEST_F(SoundTest, OnlyASuccessfulEndClosesTheDevice) {
    form->PlaySound("a\\3.wav");
    player->calls.clear();
    player->Finish(plat::WaveStatus::Aborted);
    player->Finish(plat::WaveStatus::Failed);
    EXPECT_TRUE(player->calls.isEmpty());
    player->Finish(plat::WaveStatus::Successful);
    EXPECT_EQ(player->calls, QStringList({"stop", "close"}));
}

TEST_F(SoundTest, DestroyingAButtonOfTheWindowStopsTheSound) {
    form->PlaySound("a\\2.wav");
    player->calls.clear();
    delete form->findChild<TBaseBtn*>(QStringLiteral("InfoBtn"));
    EXPECT_EQ(player->calls, QStringList({"stop", "close"}));
    // Still so after the player is replaced: the buttons reach the window's
    // current player, not the one they started with.
    auto* second = new FakeWavePlayer();
    form->SetWavePlayer(second);
    player = second;
    form->PlaySound("a\\3.wav");
    second->calls.clear();
    delete form->findChild<TBaseBtn*>(QStringLiteral("MinimizeBtn"));
    EXPECT_EQ(second->calls, QStringList({"stop", "close"}));
}

TEST_F(SoundTest, HoverUnderlinesAndSoundsOnlyEnabledButtons) {
    TBaseBtn* help = Control<TBaseBtn>(*form, "HelpBtn");
    TBaseBtn* config = Control<TBaseBtn>(*form, "ConfigBtn");
    help->setEnabled(true);
    config->setEnabled(false);

    Enter(config);
    EXPECT_FALSE(config->font().underline());
    EXPECT_TRUE(player->calls.isEmpty());

    Enter(help);
    EXPECT_TRUE(help->font().underline());
    EXPECT_EQ(player->calls, QStringList({"open 2.wav", "play"}));
    Leave(help);
    EXPECT_FALSE(help->font().underline());

    // Disabled while the pointer is on it: the underline stays until the
    // pointer leaves at a moment when the button is enabled again.
    Enter(help);
    help->setEnabled(false);
    Leave(help);
    EXPECT_TRUE(help->font().underline());
    help->setEnabled(true);
    Enter(help);
    Leave(help);
    EXPECT_FALSE(help->font().underline());
}

TEST_F(SoundTest, PageButtonsPlayThePageSound) {
    form->TestRun().SetLoggedOn();
    Control<QLineEdit>(*form, "ConfigAgeEdit")->setText("20");
    form->UpdateStatus();
    TMainForm* f = form;
    const std::function<void()> clicks[] = {
        [f] { f->ConfigBtnClick(); }, [f] { f->InternetBtnClick(); },
        [f] { f->SelectTestBtnClick(); }, [f] { f->BkInfoBtnClick(); }};
    for (const auto& click : clicks) {
        player->calls.clear();
        click();
        EXPECT_TRUE(player->calls.contains("open 3.wav"));
    }
    player->calls.clear();
    form->LogOnOffBtnClick();
    EXPECT_TRUE(player->calls.isEmpty());
}
