// Everything through which the logic reaches the desktop; tests pass fakes.
#pragma once

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/converter.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/picture_files.h"
#include "platform/printer.h"
#include "platform/shell.h"

struct Platform {
    IClipboard& clipboard;
    IClock& clock;
    IFileSystem& files;
    IPictureFiles& pictures;
    IDialogs& dialogs;
    IMessageBox& messages;
    IShell& shell;
    IPrinter& printer;
    IConverter& converter;
};
