#pragma once

#include "users/settings_values.h"
#include "users/user_list.h"
#include "users/user_profile.h"

#include <QString>
#include <string>
#include <string_view>

// The user store: "User\users.dat" beside the program, an INI text with the
// section "Users" (the list) and per user "<name>.Data" (profile and
// settings), "<name>.Answers" (stored answers) and "<name>.History" (the
// answers of tests taken again, read only by the results page). Every operation opens the
// file by name through the profile-file routines.
//
// Each writing function is one atomic replace of the file under its write
// lock: a kill or a refused write leaves all of the change or none of it,
// and several copies of the program writing at once keep each other's
// changes. A new store is readable by its owner only (it holds passwords).
// Writing functions return false when the write was refused; the caller
// reports WriteErrorText(file).

// Full path of the store (program directory + "User\users.dat").
QString UsersFile();

// "Unable to write to " followed by the file name.
QString WriteErrorText(const QString& file);

// The names of "Users" in sorted order: "Count" entries (missing: none),
// key i giving entry i, a missing key giving an empty entry.
TUserList LoadUserList(const QString& file);

// Rewrites "Users" from `list`: "Count", then "1" to "N" in list order, and
// nothing else in the section.
bool SaveUserList(const QString& file, const TUserList& list);

// Clears `user`, sets the name (cut to 255 characters) and reads the keys of
// "<name>.Data", each missing or unreadable key giving its cleared value.
void LoadUser(const QString& file, std::string_view name, TUserProfile& user);

// Writes the record into "<Name>.Data" in the fixed key order, after giving
// it a Uid when it has none. On failure the record keeps its values.
bool WriteUser(const QString& file, TUserProfile& user);

// Takes the settings page's values into the record, empties
// `catalogueText` when the age changes (the catalogue's IQ figures depend on
// the age group) and writes the record.
bool SaveUser(const QString& file, const TSettingsValues& page, TUserProfile& user,
              std::string& catalogueText);

// Erases "<name>.Answers", "<name>.History" and "<name>.Data".
bool EraseUser(const QString& file, std::string_view name);

enum class TAddUserResult { Added, NameTaken, WriteFailed };

// Adding `user.Name` with the page's settings: the name joins the list as it
// is on disk now and the record is saved, as one step, so a refused write
// leaves neither a listed user without data nor data without a name. A name
// already listed on disk (in any letter case, perhaps added by another copy
// of the program) is not added again and its data stays untouched. `user`
// and `catalogueText` change only when the user was added.
TAddUserResult StoreNewUser(const QString& file, const TSettingsValues& page, TUserProfile& user,
                            std::string& catalogueText);

// Removing a user: EraseUser(name) and removing the name from the list as it
// is on disk now, as one step.
bool RemoveStoredUser(const QString& file, std::string_view name);

// Start-up: creates "User\" (for its owner only) when it is missing and
// removes what writers killed part-way left there. The store's path, or
// empty when the folder cannot be made.
QString PrepareUserStore();

// An identifier from the clock: the day count since 30 December 1899
// followed directly by the thousandths of the day (0 to 999).
std::string MakeUid();

// The sections of a user.
std::string DataSection(std::string_view name);
std::string AnswersSection(std::string_view name);
std::string HistorySection(std::string_view name);
