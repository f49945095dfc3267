#pragma once

#include "app/main_form.h"
#include "form_controls.h"
#include "platform/ansi.h"
#include "platform/profile_file.h"
#include "platform/registry.h"
#include "platform/screen.h"
#include "platform/wave_player.h"
#include "tests/common/temp_program_dir.h"
#include "widgets/base_btn.h"

#include <QString>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// A wave player that only records what it is asked to do.
class FakeWavePlayer : public plat::WavePlayer {
public:
    QStringList calls; // "open <file name>", "play", "stop", "close"
    bool open = false;

    bool Open(const QString& file) override {
        calls << "open " + file.section('/', -1);
        open = true;
        return true;
    }
    bool Play() override {
        calls << "play";
        return open;
    }
    void Stop() override { calls << "stop"; }
    void Close() override {
        calls << "close";
        open = false;
    }
    bool IsOpen() const override { return open; }
    // The device reports the end of a play.
    void Finish(plat::WaveStatus status) { emit Notify(status); }
};

// The main window with the steps of the user store and the reference pages
// counted.
class CountingForm : public TMainForm {
public:
    int saves = 0;
    int topics = 0;

protected:
    void SaveUser() override { ++saves; }
    void ShowSelectedBkInfoTopic() override { ++topics; }
};

// A registry that knows one web browser, "/usr/bin/browser %1".
class FakeBrowserRegistry : public plat::RegistryBackend {
public:
    bool KeyExists(plat::RegRoot, std::string_view key) override {
        return plat::AnsiUpper(key) == ".HTML";
    }
    std::optional<std::string> ReadString(plat::RegRoot, std::string_view key,
                                          std::string_view) override {
        const std::string k = plat::AnsiUpper(key);
        if (k == ".HTML")
            return "browser";
        if (k == "BROWSER\\SHELL\\OPEN\\COMMAND")
            return "/usr/bin/browser %1";
        return std::nullopt;
    }
};

// The main window in a program directory of the test's own on an 800 x 600
// screen, with a recording wave player, no waits and write errors recorded.
// Fixtures write their content into `dir` before CreateForm.
class FormTest : public ::testing::Test {
protected:
    TempProgramDir dir;
    std::unique_ptr<TMainForm> form;
    FakeWavePlayer* player = nullptr;
    std::vector<QString> writeErrors;

    void SetUp() override {
        plat::SetScreenOverride({800, 600, 24});
        plat::ClearProfileCache();
        for (const char* name : {"a/0.wav", "a/1.wav", "a/2.wav", "a/3.wav"})
            dir.Write(name, "RIFF....WAVE");
    }
    void TearDown() override {
        form.reset();
        plat::detail::SetProfileWriteHook({});
        plat::ClearProfileCache();
        plat::ClearScreenOverride();
    }

    // Creates the window as the program does; users.dat is read then.
    void CreateForm() {
        form = std::make_unique<TMainForm>();
        ASSERT_TRUE(form->FormCreate());
        player = new FakeWavePlayer();
        form->SetWavePlayer(player);
        form->WaitMs = [](int) {};
        form->ShowWriteErrorBox = [this](const QString& file) { writeErrors.push_back(file); };
    }

    static bool Shown(const QWidget* w) { return !w->isHidden(); }
    void Click(TBaseBtn* button) {
        ASSERT_TRUE(Shown(button) && button->isEnabled()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    }
};
