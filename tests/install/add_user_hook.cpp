// Preloaded into the installed program by the install test. Once the main
// window shows, it adds the user ZENX_HOOK_USER with the password
// ZENX_HOOK_PASSWORD on the log-on page the way a person would, prints
// "added" (or what failed) and closes the window. It finds the controls by
// their object names, so it needs nothing of the program but Qt.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

void Say(const char* text) {
    std::puts(text);
    std::fflush(stdout);
}

bool Click(QWidget* button) {
    if (!button || button->isHidden() || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(10, 10));
    return true;
}

void AddUserAndClose(QWidget* form) {
    auto* users = form->findChild<QComboBox*>(QStringLiteral("LogOnOffUsersLst"));
    auto* password = form->findChild<QLineEdit*>(QStringLiteral("LogOnOffPWEdit"));
    auto* confirm = form->findChild<QLineEdit*>(QStringLiteral("LogOnOffCPWEdit"));
    if (!users || !users->lineEdit() || !password || !confirm) {
        Say("log-on page not found");
    } else {
        users->lineEdit()->selectAll();
        QTest::keyClick(users, Qt::Key_Backspace);
        QTest::keyClicks(users, qEnvironmentVariable("ZENX_HOOK_USER"));
        QTest::keyClicks(password, qEnvironmentVariable("ZENX_HOOK_PASSWORD"));
        QTest::keyClicks(confirm, qEnvironmentVariable("ZENX_HOOK_PASSWORD"));
        Say(Click(form->findChild<QWidget*>(QStringLiteral("LogOnOffAddBtn"))) ? "added"
                                                                               : "add failed");
    }
    form->close();
}

// Watches the events of every object for the main window being shown; the
// status rules run right after, so the pages are ready a moment later.
class ShowWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!done_ && event->type() == QEvent::Show &&
            watched->objectName() == QLatin1String("MainForm") && watched->isWidgetType()) {
            done_ = true;
            auto* form = static_cast<QWidget*>(watched);
            QTimer::singleShot(300, form, [form] { AddUserAndClose(form); });
        }
        return false;
    }

private:
    bool done_ = false;
};

void Install() {
    qApp->installEventFilter(new ShowWatcher(qApp));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(Install)
