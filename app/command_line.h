// The command line, read before anything touches the display or the instance lock, so
// that --help and --version answer anywhere and a missing display ends with a word.
#pragma once

#include <optional>
#include <string>

enum class StartAction { Run, Help, Version, UsageError };

struct CommandLine {
    StartAction action = StartAction::Run;
    std::string error; // for UsageError: what was wrong, one line
};

CommandLine parseCommandLine(int argc, const char* const argv[]);

/** The text of --help. */
std::string helpText();
/** The text of --version. */
std::string versionText();

/**
 * Why the program cannot reach its display, as one line; nullopt when it can or when
 * the chosen platform is not X. Qt itself would abort without a word of its own.
 */
std::optional<std::string> displayProblem();
