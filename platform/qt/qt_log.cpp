#include "platform/qt/qt_log.h"

Q_LOGGING_CATEGORY(lcPictavo, "pictavo", QtWarningMsg)
