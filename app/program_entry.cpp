#include "app/program_entry.h"

#include "app/about_box.h"
#include "app/intro_form.h"
#include "app/main_form.h"
#include "app/url_launch.h"
#include "platform/ansi.h"
#include "platform/random.h"
#include "platform/single_instance.h"

#include <QApplication>

int RunProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(TMainForm::kClassName));
    // One look on every desktop; the window draws its own skin on top.
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QString className = QString::fromLatin1(TMainForm::kClassName);

    const bool uninstall = argc > 1 && plat::AnsiSameText(argv[1], "uninstall");
    if (plat::PostToInstance(className,
                             uninstall ? plat::msgCloseWindow : plat::msgActivateInstance)) {
        if (!uninstall)
            return 0;
    }
    plat::Randomize();
    if (uninstall) {
        RunUninstaller();
        return 0;
    }

    // The shared 16- and 256-colour palettes are built on first use by the
    // controls that need them; they are plain colour tables, nothing to release.
    ShowIntro();
    QCoreApplication::processEvents();

    TMainForm form;
    form.LoadGauge = IntroProgress();
    if (!form.FormCreate()) {
        DestroyIntro();
        return 1;
    }

    plat::InstanceListener listener;
    QObject::connect(&listener, &plat::InstanceListener::MessageReceived, &form,
                     [&form](uint32_t message) {
                         if (message == plat::msgActivateInstance)
                             form.ActivateInstance();
                         else if (message == plat::msgCloseWindow)
                             form.close();
                     });
    listener.Listen(className);

    form.show();
    const int code = app.exec();
    DestroyAboutBox();
    return code;
}
