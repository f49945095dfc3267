#pragma once

#include "app/main_form.h"
#include "platform/ansi.h"
#include "platform/registry.h"
#include "platform/wave_player.h"

#include <QString>
#include <QStringList>

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
