#include "users/log_on_rules.h"

#include "users/user_list.h"
#include "users/user_profile.h"

bool PasswordMatches(std::string_view typed, std::string_view stored) {
    return typed.substr(0, kMaxShortString) == stored;
}

TLogOnView LogOnPageRules(const TLogOnInputs& in) {
    TLogOnView view;
    const bool filled = UserNameIsValid(in.NameText);
    const bool selected = in.SelectedIndex >= 0;
    view.UsersLstEnabled = !in.LoggedOn;
    view.PwVisible = filled;
    view.PwEnabled = !in.LoggedOn;
    view.CpwVisible = !selected && filled;
    view.CpwEnabled = !in.LoggedOn;
    view.GoBtnCaption = in.LoggedOn ? "Afmelden" : "Aanmelden";
    view.LogOnOffBtnCaption = in.LoggedOn ? "Afmelden..." : "Aanmelden...";
    view.GoBtnVisible = selected && PasswordMatches(in.PwText, in.StoredPw);
    view.AddBtnVisible =
        !selected && filled && PasswordMatches(in.PwText, CutShortString(in.CpwText));
    view.PWDelBtnVisible = in.LoggedOn && view.GoBtnVisible;
    return view;
}
