#pragma once

#include <QLoggingCategory>

// Pictures that fail to load. The program writes these lines to standard
// error; everything else about pictures stays silent.
Q_DECLARE_LOGGING_CATEGORY(lcPicture)
