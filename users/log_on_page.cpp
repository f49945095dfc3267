#include "users/log_on_page.h"

#include "platform/ansi.h"
#include "users/user_store.h"
#include "widgets/base_btn.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace {

std::string NameText(const QComboBox* list) {
    return list ? CutShortString(plat::ToAnsi(list->currentText())) : std::string();
}

std::string EditText(const QLineEdit* edit) {
    return edit ? plat::ToAnsi(edit->text()) : std::string();
}

void EmptyPasswords(const TLogOnPageControls& page) {
    for (QLineEdit* edit : {page.LogOnOffPWEdit, page.LogOnOffCPWEdit})
        if (edit) {
            const QSignalBlocker quiet(edit);
            edit->clear();
        }
}

void SetShown(QWidget* widget, bool shown) {
    if (widget)
        widget->setVisible(shown);
}

void SetEnabled(QWidget* widget, bool enabled) {
    if (widget)
        widget->setEnabled(enabled);
}

void SetCaption(QWidget* button, const char* caption) {
    if (auto* skinned = qobject_cast<TBaseBtn*>(button))
        skinned->SetCaption(QString::fromLatin1(caption));
    else if (auto* plain = qobject_cast<QAbstractButton*>(button))
        plain->setText(QString::fromLatin1(caption));
}

// Selects entry `index` (-1 for none) without running the change handler.
void Select(QComboBox* list, int index) {
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(index);
}

// After every log-on or log-off: the buttons and the label show the new
// state, the pause button is released and the catalogue is built anew for
// whoever is logged on now.
void AfterLogOnOrOff(const TUserPages& pages) {
    TUserPagesHost& host = pages.Host;
    host.UpdateStatus();
    for (QWidget* button : {pages.LogOn.LogOnOffBtn, pages.LogOn.LogOnOffGoBtn})
        if (button)
            button->update();
    if (pages.LogOn.CurrentUserLbl)
        pages.LogOn.CurrentUserLbl->setText(QStringLiteral("Huidige gebruiker: ") +
                                            plat::FromAnsi(host.User().Name));
    host.SetPauseButton(false);
    host.CatalogueText().clear();
}

// Log-off without saving: deselect, clear user and flags, play the sound.
void ForgetUser(const TUserPages& pages) {
    if (pages.LogOn.LogOnOffUsersLst)
        Select(pages.LogOn.LogOnOffUsersLst, -1);
    pages.Host.ResetUserAndTestRun();
    pages.Host.ClearStatusFlags();
    pages.Host.PlaySound("a\\1.wav");
}

} // namespace

void PrepareUserList(QComboBox* list) {
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setDuplicatesEnabled(true);
    list->setCompleter(nullptr);
}

void FillUserList(QComboBox* list, const TUserList& entries) {
    const QSignalBlocker quiet(list);
    list->clear();
    for (const std::string& entry : entries)
        list->addItem(plat::FromAnsi(entry));
    list->setCurrentIndex(-1);
    list->setEditText(QString());
}

TUserList UserListOf(const QComboBox* list) {
    TUserList entries;
    entries.reserve(std::size_t(list->count()));
    for (int i = 0; i < list->count(); ++i)
        entries.push_back(plat::ToAnsi(list->itemText(i)));
    return entries;
}

int SelectedUserIndex(const QComboBox* list) {
    if (!list)
        return -1;
    const int index = list->currentIndex();
    return index >= 0 && list->itemText(index) == list->currentText() ? index : -1;
}

TLogOnInputs LogOnInputsOf(const TLogOnPageControls& page, const TUserProfile& user,
                           bool loggedOn) {
    TLogOnInputs in;
    in.LoggedOn = loggedOn;
    in.NameText = NameText(page.LogOnOffUsersLst);
    in.SelectedIndex = SelectedUserIndex(page.LogOnOffUsersLst);
    in.PwText = EditText(page.LogOnOffPWEdit);
    in.CpwText = EditText(page.LogOnOffCPWEdit);
    in.StoredPw = user.Pw;
    return in;
}

void ApplyLogOnView(const TLogOnPageControls& page, const TLogOnView& view) {
    SetEnabled(page.LogOnOffUsersLst, view.UsersLstEnabled);
    SetShown(page.LogOnOffPWLbl, view.PwVisible);
    SetShown(page.LogOnOffPWEdit, view.PwVisible);
    SetEnabled(page.LogOnOffPWEdit, view.PwEnabled);
    SetShown(page.LogOnOffCPWLbl, view.CpwVisible);
    SetShown(page.LogOnOffCPWEdit, view.CpwVisible);
    SetEnabled(page.LogOnOffCPWEdit, view.CpwEnabled);
    SetCaption(page.LogOnOffGoBtn, view.GoBtnCaption);
    SetShown(page.LogOnOffGoBtn, view.GoBtnVisible);
    SetShown(page.LogOnOffAddBtn, view.AddBtnVisible);
    SetShown(page.LogOnOffPWDelBtn, view.PWDelBtnVisible);
}

void LoadUserListInto(const TUserPages& pages) {
    if (pages.LogOn.LogOnOffUsersLst)
        FillUserList(pages.LogOn.LogOnOffUsersLst, LoadUserList(UsersFile()));
}

void LoadUserOnPages(const TUserPages& pages, std::string_view name) {
    pages.Host.ResetUserAndTestRun();
    LoadUser(UsersFile(), name, pages.Host.User());
    ShowUserOnPage(pages.Settings, pages.Host.User());
}

bool SaveUserFromPages(const TUserPages& pages) {
    const QString file = UsersFile();
    if (SaveUser(file, SettingsOfPage(pages.Settings), pages.Host.User(),
                 pages.Host.CatalogueText()))
        return true;
    pages.Host.WriteFailed(file);
    return false;
}

void LogOnOffUsersLstChange(const TUserPages& pages) {
    EmptyPasswords(pages.LogOn);
    if (QComboBox* list = pages.LogOn.LogOnOffUsersLst) {
        const int index = SelectedUserIndex(list);
        if (index >= 0)
            LoadUserOnPages(pages, plat::ToAnsi(list->itemText(index)));
    }
    pages.Host.UpdateStatus();
}

void LogOnOffUsersLstKeyUp(const TUserPages& pages) {
    EmptyPasswords(pages.LogOn);
    if (QComboBox* list = pages.LogOn.LogOnOffUsersLst) {
        const int match = FindUserEntry(UserListOf(list), NameText(list));
        if (match >= 0 && SelectedUserIndex(list) != match) {
            const int cursor = list->lineEdit() ? list->lineEdit()->cursorPosition() : 0;
            Select(list, match);
            if (list->lineEdit())
                list->lineEdit()->setCursorPosition(cursor);
        }
        const int index = SelectedUserIndex(list);
        if (index >= 0)
            LoadUserOnPages(pages, plat::ToAnsi(list->itemText(index)));
    }
    pages.Host.UpdateStatus();
}

void LogOnOffPWEditKeyUp(const TUserPages& pages, int key, Qt::KeyboardModifiers modifiers) {
    pages.Host.UpdateStatus();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool plain = !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    // isHidden, not isVisible: the rule hides the button; whether the window
    // itself is on the screen does not matter.
    if (pages.LogOn.LogOnOffGoBtn && !pages.LogOn.LogOnOffGoBtn->isHidden() && enter && plain)
        LogOnOffGoBtnClick(pages);
}

void LogOnOffGoBtnClick(const TUserPages& pages) {
    TUserPagesHost& host = pages.Host;
    QComboBox* list = pages.LogOn.LogOnOffUsersLst;
    const int index = SelectedUserIndex(list);
    if (host.LoggedOn()) {
        // A refused save keeps the user logged on with the page's values, so
        // nothing is lost; the error box has told why.
        if (!SaveUserFromPages(pages))
            return;
        ForgetUser(pages);
    } else if (index < 0) {
        ForgetUser(pages);
        host.ShowPage("Config");
    } else {
        LoadUserOnPages(pages, plat::ToAnsi(list->itemText(index)));
        host.SetLoggedOn();
        host.PlaySound("a\\0.wav");
        host.ShowPage("Config");
    }
    AfterLogOnOrOff(pages);
}

void LogOnOffAddBtnClick(const TUserPages& pages) {
    TUserPagesHost& host = pages.Host;
    QComboBox* list = pages.LogOn.LogOnOffUsersLst;
    const std::string name = NameText(list);
    if (!list || !UserNameIsValid(name)) {
        host.UpdateStatus();
        return;
    }
    TUserList entries = UserListOf(list);
    const int existing = FindUserEntry(entries, name);
    if (existing >= 0) {
        // The name is taken (in some letter case). Adding would overwrite that
        // user's password and settings, so select the user and write nothing.
        EmptyPasswords(pages.LogOn);
        Select(list, existing);
        LoadUserOnPages(pages, entries[std::size_t(existing)]);
        host.UpdateStatus();
        return;
    }
    const std::string password = CutShortString(EditText(pages.LogOn.LogOnOffPWEdit));
    const int index = InsertUserEntry(entries, name);
    {
        const QSignalBlocker quiet(list);
        list->insertItem(index, plat::FromAnsi(name));
        list->setCurrentIndex(index);
    }
    // A new user starts from the cleared record, not from the settings of
    // whoever was loaded before.
    host.ResetUserAndTestRun();
    ShowUserOnPage(pages.Settings, host.User());
    TUserProfile added = host.User();
    added.Name = name;
    added.Pw = password;
    const QString file = UsersFile();
    switch (StoreNewUser(file, SettingsOfPage(pages.Settings), added, host.CatalogueText())) {
    case TAddUserResult::Added:
        host.User() = added;
        // The list as it is on disk now, with users other copies added.
        LoadUserListInto(pages);
        Select(list, FindUserEntry(UserListOf(list), name));
        break;
    case TAddUserResult::NameTaken: {
        // Another copy of the program added this name meanwhile: show the
        // list as it is now and select that user, as for a name on the list.
        LoadUserListInto(pages);
        EmptyPasswords(pages.LogOn);
        const int taken = FindUserEntry(UserListOf(list), name);
        Select(list, taken);
        if (taken >= 0)
            LoadUserOnPages(pages, plat::ToAnsi(list->itemText(taken)));
        break;
    }
    case TAddUserResult::WriteFailed: {
        // The store is as it was; so is the list, with the typed name kept.
        const QSignalBlocker quiet(list);
        list->removeItem(index);
        list->setCurrentIndex(-1);
        list->setEditText(plat::FromAnsi(name));
        host.User() = added;
        host.WriteFailed(file);
        break;
    }
    }
    host.UpdateStatus();
}

void LogOnOffPWDelBtnClick(const TUserPages& pages) {
    TUserPagesHost& host = pages.Host;
    QComboBox* list = pages.LogOn.LogOnOffUsersLst;
    const std::string name = host.User().Name;
    if (!list || !host.Confirm(plat::FromAnsi(name) + QStringLiteral(" verwijderen?")))
        return;
    const QString file = UsersFile();
    if (!RemoveStoredUser(file, name)) {
        host.WriteFailed(file);
        host.UpdateStatus();
        return;
    }
    LoadUserListInto(pages);
    ForgetUser(pages);
    AfterLogOnOrOff(pages);
}

void LogOffForClose(const TUserPages& pages) {
    if (!pages.Host.LoggedOn())
        return;
    SaveUserFromPages(pages);
    ForgetUser(pages);
    AfterLogOnOrOff(pages);
}
