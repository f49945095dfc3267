#pragma once

#include "users/user_profile.h"

#include <string>
#include <string_view>

// Ranges of the two time-limit spin fields.
constexpr int kQuestionSecondsMin = 1;
constexpr int kQuestionSecondsMax = 90;
constexpr int kTestMinutesMin = 1;
constexpr int kTestMinutesMax = 255;

// What the settings page holds, without its widgets: the record is shown by
// filling the page from these values and taken back from them.
struct TSettingsValues {
    bool Male = true; // "Man" checked; otherwise "Vrouw" is
    std::string AgeText;
    int HairIndex = -1; // selected colour of the (hidden) hair list, -1 for none
    int EyeIndex = -1;
    std::string ShoeSizeText;
    bool DirectFB = false;
    bool TimeLimQ = false;
    int TimeLimQt = 10;
    bool TimeLimT = false;
    int TimeLimTt = 10;
};

// The page showing `user`: age and shoe size empty when 0, list selections
// one below the stored colour, time limits clamped to their ranges.
TSettingsValues SettingsOfUser(const TUserProfile& user);

// Takes the page into the record. Returns true when the stored age changed.
bool TakeSettings(const TSettingsValues& page, TUserProfile& user);

// The age field read as a whole number, 0 when it holds none.
int AgeOfText(std::string_view ageText);
// True when the age field would be saved as an age above 0, which tests and
// the internet page need. Judged on the stored value, so that 256 (saved as
// 0) or -1 does not unlock what the saved record would lock again.
bool AgeIsGiven(std::string_view ageText);

// The gender pair after a click: `male`/`female` are the boxes' states with
// the clicked box already toggled. Exactly one is checked afterwards, "Man"
// when the click left neither checked.
struct TGenderPair {
    bool Male = true;
    bool Female = false;
};
TGenderPair GenderPairAfterClick(bool clickedMale, TGenderPair now);
