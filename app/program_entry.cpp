#include "app/program_entry.h"

#include "app/main_form.h"
#include "app/url_launch.h"
#include "platform/ansi.h"
#include "platform/random.h"
#include "platform/single_instance.h"

#include <QApplication>

namespace {

// FIXME: the shared 16/256-colour display palette is obtained here and
// released at exit; the intro window shows (and paints) before loading.
void ShowIntro() {}

} // namespace

int RunProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(TMainForm::kClassName));
    const QString className = QString::fromLatin1(TMainForm::kClassName);

    const bool uninstall = argc > 1 && plat::AnsiSameText(argv[1], "uninstall");
    if (plat::PostToInstance(className, uninstall ? plat::msgCloseWindow
                                                  : plat::msgActivateInstance)) {
        if (!uninstall)
            return 0;
    }
    plat::Randomize();
    if (uninstall) {
        RunUninstaller();
        return 0;
    }

    ShowIntro();
    QCoreApplication::processEvents();

    TMainForm form;
    if (!form.FormCreate())
        return 1;

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
    return app.exec();
}
