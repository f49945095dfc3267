#include "app/program_entry.h"

#include "app/about_box.h"
#include "app/intro_form.h"
#include "app/main_form.h"
#include "app/program_log.h"
#include "app/qt_translations.h"
#include "app/termination_signals.h"
#include "app/url_launch.h"
#include "app/window_requests.h"
#include "markup/parser_control_accessible.h"
#include "platform/ansi.h"
#include "platform/paths.h"
#include "platform/random.h"
#include "platform/single_instance.h"
#include "widgets/accessible_factories.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {

// The holder of the instance lock listens right after taking it, so a
// failed post is a matter of moments; keep trying for a while.
bool PostToRunningInstance(const QString& className, uint32_t message, bool keepTrying) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (plat::PostToInstance(className, message))
            return true;
        if (!keepTrying || waited.elapsed() > 10000)
            return false;
        QThread::msleep(50);
    }
}

// Tests make the start-up take longer, to reach the program while it loads.
// Window messages run meanwhile, as they do while the database loads.
void TestLoadingDelay() {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("ZENX_TEST_LOAD_DELAY_MS", &ok);
    if (!ok || ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(std::min(ms, 60000), &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int RunProgram(int argc, char** argv, const std::function<void(TMainForm&)>& whenShown) {
    InstallProgramLog(); // Qt may have something to say while it starts
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(TMainForm::kClassName));
    // One look on every desktop; the window draws its own skin on top.
    QApplication::setStyle(QStringLiteral("Fusion"));
    // Standard boxes and context menus in Dutch, like the rest of the window.
    InstallQtTranslations(&app);
    const QString className = QString::fromLatin1(TMainForm::kClassName);
    const bool uninstall = argc > 1 && plat::AnsiSameText(argv[1], "uninstall");

    // The instance is claimed before anything is loaded: a second start
    // while this one loads finds it and hands over instead of opening a
    // window of its own.
    plat::InstanceListener listener;
    const plat::InstanceClaim claim = listener.Claim(className);
    if (claim != plat::InstanceClaim::Claimed) {
        const bool other = claim == plat::InstanceClaim::HeldByOther;
        const bool posted = PostToRunningInstance(
            className, uninstall ? plat::msgCloseWindow : plat::msgActivateInstance, other);
        // A live holder of the lock is the program, answering or not.
        if (!uninstall && (posted || other))
            return 0;
    }

    // Another start's messages and the system's requests to end wait here
    // until the window is shown.
    TWindowRequests requests;
    QObject::connect(&listener, &plat::InstanceListener::MessageReceived,
                     [&requests](uint32_t message) { requests.Receive(message); });
    TTerminationSignals termination;
    QObject::connect(&termination, &TTerminationSignals::Received,
                     [&requests](int) { requests.Receive(plat::msgCloseWindow); });

    plat::Randomize();
    if (uninstall) {
        RunUninstaller();
        return 0;
    }
    // Where the content, User\ and T\ live: beside the program, or for an
    // installed copy in the installation and the user's own folders.
    plat::ChooseDataLocation();

    // Screen readers get the interfaces of the program's own controls from
    // the first window on.
    InstallAccessibleFactories();
    InstallMarkupAccessibility();
    // The shared 16- and 256-colour palettes are built on first use by the
    // controls that need them; they are plain colour tables, nothing to release.
    ShowIntro();
    QCoreApplication::processEvents();
    TestLoadingDelay();

    TMainForm form;
    form.LoadGauge = IntroProgress();
    if (!form.FormCreate()) {
        DestroyIntro();
        return 1;
    }

    form.show();
    // From inside the message loop, so that a close that waited can end it.
    QTimer::singleShot(0, &form, [&form, &requests, &whenShown] {
        if (whenShown)
            whenShown(form);
        requests.SetReady({[&form] { form.ActivateInstance(); },
                           [&form] {
                               // The close button's path. Once the window has
                               // closed, leave even from inside a dialog's loop.
                               if (form.close())
                                   QCoreApplication::quit();
                           }});
    });
    const int code = app.exec();
    DestroyAboutBox();
    return code;
}
