// The program with a scripted session, for tests that need a logged-on user
// in a real process: once the window shows, it logs on ZENX_DRIVER_USER with
// ZENX_DRIVER_PASSWORD, opens the settings page, types ZENX_DRIVER_AGE into
// the age field and stays there (nothing saved yet), then prints "ready".
// Everything else is the program's own entry.
#include "app/main_form.h"
#include "app/program_entry.h"
#include "widgets/base_btn.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <cstdio>

namespace {

void TypeInto(QWidget* field, QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

bool Click(TBaseBtn* button) {
    if (button->isHidden() || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    return true;
}

void Drive(TMainForm& form) {
    TypeInto(form.LogOnOffUsersLst, form.LogOnOffUsersLst->lineEdit(),
             qEnvironmentVariable("ZENX_DRIVER_USER"));
    TypeInto(form.LogOnOffPWEdit, form.LogOnOffPWEdit,
             qEnvironmentVariable("ZENX_DRIVER_PASSWORD"));
    if (!Click(form.LogOnOffGoBtn) || !Click(form.ConfigBtn)) {
        std::puts("log-on failed");
        std::fflush(stdout);
        return;
    }
    TypeInto(form.ConfigAgeEdit, form.ConfigAgeEdit, qEnvironmentVariable("ZENX_DRIVER_AGE"));
    std::puts("ready");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    return RunProgram(argc, argv, Drive);
}
