#include "app/main_form.h"

// Log-on and log-off of the user store.

// FIXME: the user store fills LogOnOffUsersLst.
void TMainForm::LoadUserList() {}

// FIXME: logging off saves the user and plays the log-off sound.
void TMainForm::LogOff() {
    ResetUserAndTestRun();
    StatusFlags = 0;
}

// FIXME: the user store takes the settings page into the record and writes
// it to users.dat.
void TMainForm::SaveUser() {}
