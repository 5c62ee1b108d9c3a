#include "app/command_line.h"

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <xcb/xcb.h>

#ifndef PICTAVO_VERSION
#error "the build sets PICTAVO_VERSION"
#endif

CommandLine parseCommandLine(int argc, const char* const argv[]) {
    CommandLine line;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool isOption = !optionsEnd && arg.size() > 1 && arg[0] == '-';
        if (isOption && arg == "--") {
            optionsEnd = true;
        } else if (isOption && (arg == "--help" || arg == "-h")) {
            // The first of --help and --version wins, as in most programs.
            if (line.action == StartAction::Run)
                line.action = StartAction::Help;
        } else if (isOption && arg == "--version") {
            if (line.action == StartAction::Run)
                line.action = StartAction::Version;
        } else {
            // A usage error outranks the answers: a script that passes a wrong option
            // should fail, not print help and succeed.
            line.action = StartAction::UsageError;
            line.error = isOption ? "unrecognized option '" + std::string(arg) + "'"
                                  : "unexpected argument '" + std::string(arg) + "'";
            return line;
        }
    }
    return line;
}

std::string helpText() {
    return "Usage: pictavo [OPTION]\n"
           "Collect every picture put on the clipboard into a gallery of thumbnails.\n"
           "\n"
           "  -h, --help     show this help and exit\n"
           "      --version  show the version and exit\n"
           "\n"
           "Pictavo needs an X display (XWayland under Wayland); one instance runs at a time.\n"
           "See pictavo(1) for the keys and the mouse.\n";
}

std::string versionText() { return "pictavo " PICTAVO_VERSION "\n"; }

std::optional<std::string> displayProblem() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    // Only plain xcb: with plugin options the display may be named elsewhere.
    if (!platform || std::strcmp(platform, "xcb") != 0)
        return std::nullopt;
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        return "pictavo: no X display to run on (DISPLAY is not set)";
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    if (failed)
        return "pictavo: cannot open the X display '" + std::string(display) + "'";
    return std::nullopt;
}
