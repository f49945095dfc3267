#pragma once

class QCoreApplication;

// Installs Qt's own Dutch texts (qtbase_nl from the system's Qt
// translations) on `app`, so the standard boxes and context menus speak the
// program's language. False when the file is missing; Qt's English stays.
bool InstallQtTranslations(QCoreApplication* app);
