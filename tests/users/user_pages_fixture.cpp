#include "tests/users/user_pages_fixture.h"

#include <QTest>

namespace {

template <typename W> W* Make(QWidget* parent, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

} // namespace

void UserPagesTest::SetUp() {
    UserStoreTest::SetUp();
    root_ = std::make_unique<QWidget>();
    QWidget* r = root_.get();
    users_ = Make<QComboBox>(r, "LogOnOffUsersLst");
    PrepareUserList(users_);
    pw_ = Make<QLineEdit>(r, "LogOnOffPWEdit");
    cpw_ = Make<QLineEdit>(r, "LogOnOffCPWEdit");
    pw_->setEchoMode(QLineEdit::Password);
    cpw_->setEchoMode(QLineEdit::Password);
    go_ = Make<TBaseBtn>(r, "LogOnOffGoBtn");
    add_ = Make<TBaseBtn>(r, "LogOnOffAddBtn");
    del_ = Make<TBaseBtn>(r, "LogOnOffPWDelBtn");
    for (TBaseBtn* b : {go_, add_, del_})
        b->resize(100, 30);
    current_ = Make<QLabel>(r, "CurrentUserLbl");
    logOn_ = {users_,  Make<QLabel>(r, "LogOnOffPWLbl"),
              pw_,     Make<QLabel>(r, "LogOnOffCPWLbl"),
              cpw_,    go_,
              add_,    del_,
              nullptr, current_};
    settings_ = {Make<QLabel>(r, "ConfigName"),
                 Make<QCheckBox>(r, "ConfigMaleChkBx"),
                 Make<QCheckBox>(r, "ConfigFemaleChkBx"),
                 Make<QLineEdit>(r, "ConfigAgeEdit"),
                 Make<QComboBox>(r, "ConfigHairLst"),
                 Make<QComboBox>(r, "ConfigEyesLst"),
                 Make<QLineEdit>(r, "ConfigShoeSizeEdit"),
                 Make<QCheckBox>(r, "ConfigDirectFBChkBx"),
                 Make<QCheckBox>(r, "ConfigTimeLimitQChkBx"),
                 Make<TSpinner>(r, "ConfigTimeLimitQChkBxSpnnr"),
                 Make<QCheckBox>(r, "ConfigTimeLimitTChkBx"),
                 Make<TSpinner>(r, "ConfigTimeLimitTChkBxSpnnr")};
    PrepareSettingsPage(settings_);

    QObject::connect(users_, &QComboBox::activated, r, [this] { LogOnOffUsersLstChange(Pages()); });
    QObject::connect(users_->lineEdit(), &QLineEdit::textEdited, r,
                     [this] { LogOnOffUsersLstChange(Pages()); });
    TKeyUpFilter::Install(users_,
                          [this](int, Qt::KeyboardModifiers) { LogOnOffUsersLstKeyUp(Pages()); });
    for (QLineEdit* edit : {pw_, cpw_})
        TKeyUpFilter::Install(edit, [this](int key, Qt::KeyboardModifiers modifiers) {
            LogOnOffPWEditKeyUp(Pages(), key, modifiers);
        });
    QObject::connect(go_, &TBaseBtn::OnClick, r, [this] { LogOnOffGoBtnClick(Pages()); });
    QObject::connect(add_, &TBaseBtn::OnClick, r, [this] { LogOnOffAddBtnClick(Pages()); });
    QObject::connect(del_, &TBaseBtn::OnClick, r, [this] { LogOnOffPWDelBtnClick(Pages()); });
    for (QCheckBox* box : {settings_.ConfigMaleChkBx, settings_.ConfigFemaleChkBx})
        QObject::connect(box, &QCheckBox::clicked, r,
                         [this, box] { ConfigGenderChkBxClick(settings_, box); });

    ClearUser(user_);
    LoadUserListInto(Pages());
    UpdateStatus();
}

void UserPagesTest::UpdateStatus() {
    ApplyLogOnView(logOn_, LogOnPageRules(LogOnInputsOf(logOn_, user_, loggedOn_)));
}

void UserPagesTest::TypeName(const QString& text) {
    users_->lineEdit()->selectAll();
    QTest::keyClick(users_, Qt::Key_Backspace);
    QTest::keyClicks(users_, text);
}

void UserPagesTest::TypePasswords(const QString& pw, const QString& cpw) {
    pw_->clear();
    cpw_->clear();
    QTest::keyClicks(pw_, pw);
    QTest::keyClicks(cpw_, cpw);
}

void UserPagesTest::Click(QWidget* button) {
    ASSERT_TRUE(Shown(button)) << button->objectName().toStdString();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
}
