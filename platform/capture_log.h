// What the capture decides about each look, for a user's bug report:
// QT_LOGGING_RULES="pictavo.capture.debug=true" pictavo
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcCapture)
