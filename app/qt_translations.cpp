#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QTranslator* InstallQtTranslations(QCoreApplication* app) {
    if (!app)
        return nullptr;
    // The program is Dutch whatever the desktop's language, so the locale
    // of the system plays no part in the choice.
    auto* translator = new QTranslator(app);
    if (!translator->load(QStringLiteral("qtbase_nl"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}
