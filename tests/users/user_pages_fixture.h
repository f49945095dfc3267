#pragma once

#include "tests/users/user_store_fixture.h"
#include "users/key_up_filter.h"
#include "users/log_on_page.h"
#include "users/spinner.h"
#include "widgets/base_btn.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <deque>
#include <memory>

// The two user pages built from plain controls, with a host that records
// what the handlers ask of the main window. Signals are wired the way the
// window wires them.
class UserPagesTest : public UserStoreTest, public TUserPagesHost {
protected:
    void SetUp() override;

    // TUserPagesHost
    TUserProfile& User() override { return user_; }
    std::string& CatalogueText() override { return catalogue_; }
    bool LoggedOn() const override { return loggedOn_; }
    void SetLoggedOn() override { loggedOn_ = true; }
    void ClearStatusFlags() override { loggedOn_ = false; }
    void ResetUserAndTestRun() override {
        ClearUser(user_);
        ++resets_;
    }
    void ShowPage(const char* name) override { page_ = name; }
    void PlaySound(std::string_view file) override { sounds_.emplace_back(file); }
    void SetPauseButton(bool pressed) override { pauseDown_ = pressed; }
    void UpdateStatus() override;
    void WriteFailed(const QString& fileName) override { writeErrors_.push_back(fileName); }
    bool Confirm(const QString& question) override {
        questions_.push_back(question);
        const bool yes = !answers_.empty() && answers_.front();
        if (!answers_.empty())
            answers_.pop_front();
        return yes;
    }

    TUserPages Pages() { return TUserPages{*this, logOn_, settings_}; }

    // Person-like actions.
    void TypeName(const QString& text); // clears the list's text, then types
    void TypePasswords(const QString& pw, const QString& cpw);
    void Click(QWidget* button); // a left click on a skinned button
    bool Shown(QWidget* w) const { return !w->isHidden(); }
    QString NameText() const { return users_->currentText(); }

    std::unique_ptr<QWidget> root_;
    QComboBox* users_ = nullptr;
    QLineEdit* pw_ = nullptr;
    QLineEdit* cpw_ = nullptr;
    TBaseBtn* go_ = nullptr;
    TBaseBtn* add_ = nullptr;
    TBaseBtn* del_ = nullptr;
    QLabel* current_ = nullptr;
    TLogOnPageControls logOn_;
    TSettingsPageControls settings_;

    TUserProfile user_;
    std::string catalogue_ = "cached";
    bool loggedOn_ = false;
    int resets_ = 0;
    std::string page_ = "LogOnOff";
    std::vector<std::string> sounds_;
    bool pauseDown_ = true;
    std::vector<QString> writeErrors_;
    std::vector<QString> questions_;
    std::deque<bool> answers_;
};
