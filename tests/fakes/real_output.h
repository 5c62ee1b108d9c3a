// The real files, pictures, converter and clock, with the dialogs and messages faked:
// what the output commands need to write real files without anyone at the screen.
#pragma once

#include "fakes/fake_platform.h"
#include "platform/qt/qt_platform.h"

struct RealOutput {
    FakePlatform fake;
    QtClock clock;
    QtFileSystem files;
    QtPictureFiles pictures;
    QtConverter converter{QtConverter::defaultLibraryPath()};
    Platform platform{fake.clipboard, clock,      files,        pictures, fake.dialogs,
                      fake.messages,  fake.shell, fake.printer, converter};
    FakeMainWindow window;
};
