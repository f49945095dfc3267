#pragma once

#include "users/log_on_rules.h"
#include "users/settings_page.h"
#include "users/user_list.h"
#include "users/user_pages_host.h"

#include <Qt>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

// The controls of the log-on page ("LogOnOff") and the two outside it that
// log-on changes.
struct TLogOnPageControls {
    QComboBox* LogOnOffUsersLst = nullptr; // editable
    QLabel* LogOnOffPWLbl = nullptr;
    QLineEdit* LogOnOffPWEdit = nullptr;
    QLabel* LogOnOffCPWLbl = nullptr;
    QLineEdit* LogOnOffCPWEdit = nullptr;
    QWidget* LogOnOffGoBtn = nullptr;
    QWidget* LogOnOffAddBtn = nullptr;
    QWidget* LogOnOffPWDelBtn = nullptr;
    QWidget* LogOnOffBtn = nullptr; // navigation button, repainted after log-on/off
    QLabel* CurrentUserLbl = nullptr;
};

// Both pages as the handlers see them.
struct TUserPages {
    TUserPagesHost& Host;
    TLogOnPageControls LogOn;
    TSettingsPageControls Settings;
};

// ---- The user list ------------------------------------------------------
// The list's entries and selection live in the combo box. An entry counts as
// selected only while the edit text is exactly that entry: typing another
// text deselects it, as the status rules expect.

// Makes the combo box behave as the classic editable list: no completion
// while typing (typing "A" must not become "Anna"), Enter adds no entry,
// equal entries allowed.
void PrepareUserList(QComboBox* list);
void FillUserList(QComboBox* list, const TUserList& entries); // clears the text too
TUserList UserListOf(const QComboBox* list);
int SelectedUserIndex(const QComboBox* list);

// ---- Status -------------------------------------------------------------
TLogOnInputs LogOnInputsOf(const TLogOnPageControls& page, const TUserProfile& user, bool loggedOn);
// Applies the page part of the status rules to the controls; LogOnOffGoBtn
// gets its caption when it is a skinned button.
void ApplyLogOnView(const TLogOnPageControls& page, const TLogOnView& view);

// ---- Store operations of the main window ---------------------------------
// LoadUserList: fills the list from the store.
void LoadUserListInto(const TUserPages& pages);
// LoadUser: clears user and test run, reads the user and shows it on the
// settings page.
void LoadUserOnPages(const TUserPages& pages, std::string_view name);
// SaveUser: takes the settings page and writes the record; a refused write
// is reported through the host. Returns false then.
bool SaveUserFromPages(const TUserPages& pages);

// ---- Handlers -----------------------------------------------------------
// Wire LogOnOffUsersLstChange to changes the person makes (the combo box's
// `activated` and its line edit's `textEdited`): the handlers below change
// the list themselves with its signals blocked, as the classic controls do.
void LogOnOffUsersLstChange(const TUserPages& pages);
void LogOnOffUsersLstKeyUp(const TUserPages& pages);
// Shared by both password edits.
void LogOnOffPWEditKeyUp(const TUserPages& pages, int key, Qt::KeyboardModifiers modifiers);
void LogOnOffGoBtnClick(const TUserPages& pages);
void LogOnOffAddBtnClick(const TUserPages& pages);
void LogOnOffPWDelBtnClick(const TUserPages& pages);

// The log-off of closing the program while someone is logged on. A refused
// save is reported and the log-off goes on.
void LogOffForClose(const TUserPages& pages);
