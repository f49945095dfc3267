// The program with a scripted session, for tests that need a logged-on user
// in a real process: once the window shows, it logs on ZENX_DRIVER_USER with
// ZENX_DRIVER_PASSWORD, opens the settings page, types ZENX_DRIVER_AGE into
// the age field and stays there (nothing saved yet), then prints "ready".
// Everything else is the program's own entry.
#include "app/main_form.h"
#include "app/program_entry.h"
#include "tests/app/form_controls.h"
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
    TypeInto(Control<QComboBox>(form, "LogOnOffUsersLst"),
             Control<QComboBox>(form, "LogOnOffUsersLst")->lineEdit(),
             qEnvironmentVariable("ZENX_DRIVER_USER"));
    TypeInto(Control<QLineEdit>(form, "LogOnOffPWEdit"), Control<QLineEdit>(form, "LogOnOffPWEdit"),
             qEnvironmentVariable("ZENX_DRIVER_PASSWORD"));
    if (!Click(Control<TBaseBtn>(form, "LogOnOffGoBtn")) ||
        !Click(Control<TBaseBtn>(form, "ConfigBtn"))) {
        std::puts("log-on failed");
        std::fflush(stdout);
        return;
    }
    TypeInto(Control<QLineEdit>(form, "ConfigAgeEdit"), Control<QLineEdit>(form, "ConfigAgeEdit"),
             qEnvironmentVariable("ZENX_DRIVER_AGE"));
    std::puts("ready");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    return RunProgram(argc, argv, Drive);
}
