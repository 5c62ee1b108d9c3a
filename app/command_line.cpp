#include "app/command_line.h"

#include <QCommandLineParser>
#include <QStringList>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

#ifndef PICTAVO_VERSION
#error "the build sets PICTAVO_VERSION"
#endif

namespace {

struct Parsed {
    bool wrong = false;      // an unknown option, an option given a value, or an argument
    bool unexpected = false; // of those, an argument
    QStringList answers;     // the answers asked for, in order
};

Parsed parse(const QStringList& words) {
    QCommandLineParser parser;
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    parser.addOption(QCommandLineOption(QStringLiteral("version")));
    Parsed parsed;
    parsed.wrong = !parser.parse(words);
    parsed.unexpected = !parser.positionalArguments().isEmpty();
    parsed.wrong = parsed.wrong || parsed.unexpected;
    parsed.answers = parser.optionNames();
    return parsed;
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const argv[]) {
    // Latin-1 keeps every byte: a word that is not UTF-8 is named back exactly as given.
    QStringList words{QStringLiteral("pictavo")};
    for (int i = 1; i < argc; ++i)
        words.append(QString::fromLatin1(argv[i]));
    CommandLine line;
    const Parsed all = parse(words);
    if (!all.wrong) {
        // The first of --help and --version wins, as in most programs.
        if (!all.answers.isEmpty())
            line.action = all.answers.first() == QLatin1String("version") ? StartAction::Version
                                                                          : StartAction::Help;
        return line;
    }
    // A usage error outranks the answers: a script that passes a wrong option should fail,
    // not print help and succeed. The message names the first wrong word: the shortest
    // wrong beginning of the line ends with it.
    qsizetype good = 1;
    qsizetype bad = words.size();
    while (bad - good > 1) {
        const qsizetype middle = good + (bad - good) / 2;
        (parse(words.first(middle)).wrong ? bad : good) = middle;
    }
    const std::string word = words.at(bad - 1).toLatin1().toStdString();
    line.action = StartAction::UsageError;
    line.error = parse(words.first(bad)).unexpected ? "unexpected argument '" + word + "'"
                                                    : "unrecognized option '" + word + "'";
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
        return "no X display to run on (DISPLAY is not set)";
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const bool failed = xcb_connection_has_error(connection) != 0;
    xcb_disconnect(connection);
    if (failed)
        return "cannot open the X display '" + std::string(display) + "'";
    return std::nullopt;
}
