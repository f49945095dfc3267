#pragma once

#include <string>
#include <string_view>
#include <vector>

// The entries of the log-on page's user list, kept sorted alphabetically
// without regard to letter case. Empty entries are kept; they come from a
// "Users" section with a missing key and must survive a save.
using TUserList = std::vector<std::string>;

// Sorts without regard to case; entries that differ only in case keep their
// order, so the first of them stays the one that is found.
void SortUserList(TUserList& list);

// Index of the first entry equal to `name` without regard to case, or -1.
int FindUserEntry(const TUserList& list, std::string_view name);

// Inserts `name` at its sorted place (after equal entries) and returns its
// index.
int InsertUserEntry(TUserList& list, std::string name);

// True when `name` holds at least one character from "!" to "}" (33 to 125).
bool UserNameIsValid(std::string_view name);
