#include "app/user_pages_adapter.h"

#include "app/main_form.h"
#include "app/skin_style.h"
#include "app/status_flags.h"
#include "widgets/base_btn.h"

TUserProfile& TMainFormUserHost::User() {
    return form_.UserProfile;
}

std::string& TMainFormUserHost::CatalogueText() {
    return form_.CatalogueText;
}

bool TMainFormUserHost::LoggedOn() const {
    return HasFlag(form_.StatusFlags, sfLoggedOn);
}

void TMainFormUserHost::SetLoggedOn() {
    SetFlag(form_.StatusFlags, sfLoggedOn);
}

void TMainFormUserHost::ClearStatusFlags() {
    form_.StatusFlags = 0;
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

void TMainFormUserHost::SetPauseButton(bool pressed, const std::string& caption) {
    TBaseBtn* button = form_.PauseTestBtn;
    button->SetButtonIsDown(pressed);
    const QString text = QString::fromLatin1(caption.data(), qsizetype(caption.size()));
    if (button->Caption() != text) {
        button->SetCaption(text);
        skin::CentreCaption(button);
    }
    button->update();
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
