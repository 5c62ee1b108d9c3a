#include "platform/capture_log.h"

Q_LOGGING_CATEGORY(lcCapture, "pictavo.capture", QtWarningMsg)
