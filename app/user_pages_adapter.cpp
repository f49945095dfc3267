#include "app/user_pages_adapter.h"

#include "app/main_form.h"
#include "app/status_flags.h"

TUserProfile& TMainFormUserHost::User() {
    return form_.UserProfile;
}

std::string& TMainFormUserHost::CatalogueText() {
    return form_.CatalogueText;
}

bool TMainFormUserHost::LoggedOn() const {
    return form_.TestRun().State().Has(sfLoggedOn);
}

void TMainFormUserHost::SetLoggedOn() {
    form_.TestRun().SetLoggedOn();
}

void TMainFormUserHost::ClearStatusFlags() {
    form_.ClearStatusFlags();
}

void TMainFormUserHost::ResetUserAndTestRun() {
    form_.ResetUserAndTestRun();
}

void TMainFormUserHost::ShowPage(const char* name) {
    form_.ShowPage(QString::fromLatin1(name));
}

void TMainFormUserHost::PlaySound(std::string_view relativeFile) {
    form_.PlaySound(relativeFile);
}

void TMainFormUserHost::SetPauseButton(bool pressed) {
    form_.SetPauseButton(pressed);
}

void TMainFormUserHost::UpdateStatus() {
    form_.UpdateStatus();
}

void TMainFormUserHost::WriteFailed(const QString& fileName) {
    if (form_.ShowWriteErrorBox)
        form_.ShowWriteErrorBox(fileName);
}

bool TMainFormUserHost::Confirm(const QString& question) {
    return form_.AskConfirmBox && form_.AskConfirmBox(question);
}
