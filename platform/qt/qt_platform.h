// The Qt implementations of every platform interface, built together.
#pragma once

#include "platform/platform.h"
#include "platform/qt/clipboard/qt_clipboard.h"
#include "platform/qt/files/qt_converter.h"
#include "platform/qt/files/qt_file_system.h"
#include "platform/qt/files/qt_picture_files.h"
#include "platform/qt/qt_clock.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_jobs.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_printer.h"
#include "platform/qt/qt_shell.h"

#include <QIcon>

class QtPlatform {
public:
    QtPlatform();
    Platform& platform() { return m_platform; }

    QtClipboard clipboard;
    QtClock clock;
    QtFileSystem files;
    QtPictureFiles pictures;
    QtDialogs dialogs;
    QtMessageBox messages;
    QtShell shell;
    QtPrinter printer;
    QtConverter converter;
    // Last, so it goes first: its running work uses the members above.
    QtJobs jobs;

private:
    Platform m_platform;
};

/** The program's icon, 32 and 16 pixels. */
QIcon appIcon();
/** Raises Qt's image allocation limit to fit the largest picture the program takes. */
void configureImageLimits();
