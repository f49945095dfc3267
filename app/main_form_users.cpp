// The log-on and settings pages in the main window: the user store's steps
// that the window takes at fixed moments, and the pages' event wiring. The
// handlers themselves live in users/ and reach the window through
// TMainFormUserHost.
#include "app/main_form.h"

#include "app/message_boxes.h"
#include "app/user_pages_adapter.h"
#include "users/key_up_filter.h"
#include "users/log_on_page.h"
#include "users/spinner.h"
#include "widgets/base_btn.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

TUserPages TMainForm::UserPages() {
    const TLogOnPageControls logOn{
        LogOnOffUsersLst, LogOnOffPWLbl,  LogOnOffPWEdit,   LogOnOffCPWLbl, LogOnOffCPWEdit,
        LogOnOffGoBtn,    LogOnOffAddBtn, LogOnOffPWDelBtn, LogOnOffBtn,    CurrentUserLbl};
    const TSettingsPageControls settings{ConfigName,
                                         ConfigMaleChkBx,
                                         ConfigFemaleChkBx,
                                         ConfigAgeEdit,
                                         ConfigHairLst,
                                         ConfigEyesLst,
                                         ConfigShoeSizeEdit,
                                         ConfigDirectFBChkBx,
                                         ConfigTimeLimitQChkBx,
                                         ConfigTimeLimitQChkBxSpnnr,
                                         ConfigTimeLimitTChkBx,
                                         ConfigTimeLimitTChkBxSpnnr};
    return TUserPages{*userHost_, logOn, settings};
}

void TMainForm::WireUserPages() {
    userHost_ = std::make_unique<TMainFormUserHost>(*this);
    ShowWriteErrorBox = [this](const QString& fileName) { ShowWriteErrorInFront(this, fileName); };
    AskConfirmBox = [this](const QString& question) { return AskConfirmInFront(this, question); };

    PrepareUserList(LogOnOffUsersLst);
    PrepareSettingsPage(UserPages().Settings);

    // LogOnOffUsersLstChange: a choice from the drop-down or typed text. The
    // handlers change the list with its signals blocked, so only what the
    // person does arrives here.
    connect(LogOnOffUsersLst, &QComboBox::activated, this,
            [this] { LogOnOffUsersLstChange(UserPages()); });
    connect(LogOnOffUsersLst->lineEdit(), &QLineEdit::textEdited, this,
            [this] { LogOnOffUsersLstChange(UserPages()); });
    // The combo box takes the keys for its line edit, so it sees every release.
    TKeyUpFilter::Install(LogOnOffUsersLst, [this](int, Qt::KeyboardModifiers) {
        LogOnOffUsersLstKeyUp(UserPages());
    });
    for (QLineEdit* edit : {LogOnOffPWEdit, LogOnOffCPWEdit})
        TKeyUpFilter::Install(edit, [this](int key, Qt::KeyboardModifiers modifiers) {
            LogOnOffPWEditKeyUp(UserPages(), key, modifiers);
        });
    connect(LogOnOffGoBtn, &TBaseBtn::OnClick, this, [this] { LogOnOffGoBtnClick(UserPages()); });
    connect(LogOnOffAddBtn, &TBaseBtn::OnClick, this, [this] { LogOnOffAddBtnClick(UserPages()); });
    connect(LogOnOffPWDelBtn, &TBaseBtn::OnClick, this,
            [this] { LogOnOffPWDelBtnClick(UserPages()); });

    for (QCheckBox* box : {ConfigMaleChkBx, ConfigFemaleChkBx})
        connect(box, &QCheckBox::clicked, this,
                [this, box] { ConfigGenderChkBxClick(UserPages().Settings, box); });
    // ConfigAgeEditChange: the age unlocks the catalogue and the internet
    // page at once, also when a loaded user's age is put in the field.
    connect(ConfigAgeEdit, &QLineEdit::textChanged, this, [this] { UpdateStatus(); });
}

void TMainForm::LoadUserList() {
    LoadUserListInto(UserPages());
}

// Closing while someone is logged on: save, log off, play the log-off sound.
void TMainForm::LogOff() {
    LogOffForClose(UserPages());
}

// The settings page was left after ConfigBtn opened it.
void TMainForm::SaveUser() {
    SaveUserFromPages(UserPages());
}
