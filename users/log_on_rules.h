#pragma once

#include <string>
#include <string_view>

// What the log-on page shows, derived from the state the status update reads.
// Texts are the single-byte texts of the controls.
struct TLogOnInputs {
    bool LoggedOn = false;
    std::string NameText;   // the user list's edit text
    int SelectedIndex = -1; // -1 when the text is none of the entries
    std::string PwText;
    std::string CpwText;
    std::string StoredPw; // Pw of the loaded user
};

struct TLogOnView {
    bool UsersLstEnabled = true;
    bool PwVisible = false; // label and edit
    bool PwEnabled = true;
    bool CpwVisible = false; // label and edit
    bool CpwEnabled = true;
    bool GoBtnVisible = false;
    bool AddBtnVisible = false;
    bool PWDelBtnVisible = false;
    const char* GoBtnCaption = "Aanmelden";
    const char* LogOnOffBtnCaption = "Aanmelden...";
};

TLogOnView LogOnPageRules(const TLogOnInputs& in);

// True when the typed password is the stored one. Passwords are stored cut
// to 255 characters, so a longer typed one is compared the same way.
bool PasswordMatches(std::string_view typed, std::string_view stored);
