#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

// The participant groups of the internet comparison. Every participant is in
// one gender group; age groups hold only participants whose age falls in one
// of them (an age of 0 was never given, and ages under 14 have no group).
enum class TGroup : int { Women, Men, Age14to16, Age17to21, Age22to30, AgeOver30 };

inline constexpr std::size_t kGroupCount = 6;

// Section names of iusers.dat without ".Answers", in TGroup order.
inline constexpr std::array<std::string_view, kGroupCount> kGroupNames = {
    "Women", "Men", "Age 14-16", "Age 17-21", "Age 22-30", "Age >30"};

inline TGroup GenderGroup(bool female) {
    return female ? TGroup::Women : TGroup::Men;
}

inline std::optional<TGroup> AgeGroup(int age) {
    if (age >= 14 && age <= 16)
        return TGroup::Age14to16;
    if (age >= 17 && age <= 21)
        return TGroup::Age17to21;
    if (age >= 22 && age <= 30)
        return TGroup::Age22to30;
    if (age > 30)
        return TGroup::AgeOver30;
    return std::nullopt;
}
