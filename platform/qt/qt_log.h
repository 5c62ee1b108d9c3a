// The program's word on its error output. Under Qt's default message pattern each line
// reads "pictavo: …", as users and scripts have always seen it; QT_MESSAGE_PATTERN and
// QT_LOGGING_RULES reshape or silence it like any Qt program's.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcPictavo)
