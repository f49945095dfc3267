#include "users/settings_values.h"

#include "platform/profile_numbers.h"

#include <algorithm>

namespace {

std::string NumberText(uint8_t value) {
    return value == 0 ? std::string() : std::to_string(value);
}

// A negative number typed in a field means "not given", not its low byte: an
// age of -1 must not come back as 255 and unlock the tests.
uint8_t FieldByte(std::string_view text) {
    const int64_t value = ParseWholeNumber(text).value_or(0);
    return value < 0 ? 0 : KeepInByte(value);
}

} // namespace

TSettingsValues SettingsOfUser(const TUserProfile& user) {
    TSettingsValues page;
    page.Male = !user.Gender;
    page.AgeText = NumberText(user.Age);
    page.HairIndex = int(user.HairColor) - 1;
    page.EyeIndex = int(user.EyeColor) - 1;
    page.ShoeSizeText = NumberText(user.ShoeSize);
    page.DirectFB = user.DirectFB;
    page.TimeLimQ = user.TimeLimQ;
    page.TimeLimQt = std::clamp<int>(user.TimeLimQt, kQuestionSecondsMin, kQuestionSecondsMax);
    page.TimeLimT = user.TimeLimT;
    page.TimeLimTt = std::clamp<int>(user.TimeLimTt, kTestMinutesMin, kTestMinutesMax);
    return page;
}

bool TakeSettings(const TSettingsValues& page, TUserProfile& user) {
    const uint8_t oldAge = user.Age;
    user.Gender = !page.Male;
    user.Age = FieldByte(page.AgeText);
    if (page.HairIndex >= 0)
        user.HairColor = KeepInByte(page.HairIndex + 1);
    if (page.EyeIndex >= 0)
        user.EyeColor = KeepInByte(page.EyeIndex + 1);
    user.ShoeSize = FieldByte(page.ShoeSizeText);
    user.DirectFB = page.DirectFB;
    user.TimeLimQ = page.TimeLimQ;
    user.TimeLimQt = uint8_t(std::clamp(page.TimeLimQt, kQuestionSecondsMin, kQuestionSecondsMax));
    user.TimeLimT = page.TimeLimT;
    user.TimeLimTt = uint8_t(std::clamp(page.TimeLimTt, kTestMinutesMin, kTestMinutesMax));
    return user.Age != oldAge;
}

int AgeOfText(std::string_view ageText) {
    return int(ParseWholeNumber(ageText).value_or(0));
}

bool AgeIsGiven(std::string_view ageText) {
    return FieldByte(ageText) > 0;
}

TGenderPair GenderPairAfterClick(bool clickedMale, TGenderPair now) {
    if (clickedMale && now.Male)
        now.Female = false;
    if (!clickedMale && now.Female)
        now.Male = false;
    if (!now.Male && !now.Female)
        now.Male = true;
    return now;
}
