#pragma once

#include "users/user_pages_host.h"

class TMainForm;

// The main window as the log-on and settings page handlers see it: its user
// record, flags, pages, sounds and message boxes.
class TMainFormUserHost final : public TUserPagesHost {
public:
    explicit TMainFormUserHost(TMainForm& form) : form_(form) {}

    TUserProfile& User() override;
    std::string& CatalogueText() override;
    bool LoggedOn() const override;
    void SetLoggedOn() override;
    void ClearStatusFlags() override;
    void ResetUserAndTestRun() override;
    void ShowPage(const char* name) override;
    void PlaySound(std::string_view relativeFile) override;
    void SetPauseButton(bool pressed) override;
    void UpdateStatus() override;
    void WriteFailed(const QString& fileName) override;
    bool Confirm(const QString& question) override;

private:
    TMainForm& form_;
};
