#include "users/user_profile.h"

std::string CutShortString(std::string_view text) {
    return std::string(text.substr(0, kMaxShortString));
}

void ClearUser(TUserProfile& user) {
    user = TUserProfile{};
}
