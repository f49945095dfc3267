#pragma once

class QCoreApplication;
class QTranslator;

// Installs Qt's own Dutch texts (qtbase_nl from the system's Qt
// translations) on `app`, so the standard boxes and context menus speak the
// program's language. Returns the translator, owned by `app`; nothing when
// the file is missing, and Qt's English stays.
QTranslator* InstallQtTranslations(QCoreApplication* app);
