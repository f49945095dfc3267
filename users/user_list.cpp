#include "users/user_list.h"

#include "platform/ansi.h"

#include <algorithm>

namespace {

bool Before(const std::string& a, const std::string& b) {
    return plat::AnsiCompareText(a, b) < 0;
}

} // namespace

void SortUserList(TUserList& list) {
    std::stable_sort(list.begin(), list.end(), Before);
}

int FindUserEntry(const TUserList& list, std::string_view name) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (plat::AnsiSameText(list[i], name))
            return int(i);
    return -1;
}

int InsertUserEntry(TUserList& list, std::string name) {
    const auto at = std::upper_bound(list.begin(), list.end(), name, Before);
    const auto inserted = list.insert(at, std::move(name)); // may move the storage
    return int(inserted - list.begin());
}

bool UserNameIsValid(std::string_view name) {
    return std::any_of(name.begin(), name.end(), [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code >= 33 && code <= 125;
    });
}
