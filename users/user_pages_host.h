#pragma once

#include "users/user_profile.h"

#include <QString>
#include <string>
#include <string_view>

class QWidget;

// What the log-on and settings page handlers need of the main window besides
// the page controls: its state, page switching, sounds, status update and
// message boxes. The window implements it; tests implement it with fakes.
class TUserPagesHost {
public:
    virtual ~TUserPagesHost() = default;

    virtual TUserProfile& User() = 0;         // UserProfile
    virtual std::string& CatalogueText() = 0; // emptied to rebuild the catalogue
    virtual bool LoggedOn() const = 0;        // sfLoggedOn
    virtual void SetLoggedOn() = 0;           // sets sfLoggedOn
    virtual void ClearStatusFlags() = 0;      // StatusFlags = 0
    virtual void ResetUserAndTestRun() = 0;   // ClearUser and the test-run fields
    virtual void ShowPage(const char* name) = 0;
    virtual void PlaySound(std::string_view relativeFile) = 0;
    virtual void SetPauseButton(bool pressed) = 0; // with its caption, repainted
    virtual void UpdateStatus() = 0;
    // "Unable to write to " + file name in the standard error box.
    virtual void WriteFailed(const QString& fileName) = 0;
    // The "Confirm" box with Yes and No; true for Yes.
    virtual bool Confirm(const QString& question) = 0;
};
