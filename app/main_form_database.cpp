#include "app/main_form.h"

// Data of the record database and the picture archive, read during window
// creation. Each step absorbs its own failures.

// FIXME: the picture archive's index is read from zernox2.dat.
void TMainForm::ReadPictureArchiveIndex() {}

// FIXME: the record database, its index, the reference topics and the user
// list are loaded here (with the intro's progress bar).
void TMainForm::OpenRecordDatabase() {
    ResetUserAndTestRun();
    LoadUserList();
}
