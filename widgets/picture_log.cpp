#include "widgets/picture_log.h"

Q_LOGGING_CATEGORY(lcPicture, "zenx.picture")
