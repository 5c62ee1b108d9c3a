#include "app/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
CommandLine parse(std::vector<const char*> args) {
    args.insert(args.begin(), "pictavo");
    return parseCommandLine(int(args.size()), args.data());
}
} // namespace

// The first answer asked for wins; a lone "-" (standard input, to many programs) is an
// argument this program takes none of, and a wrong word outranks any answer.
TEST(CommandLineTest, FirstAnswerWinsAndALoneDashIsAnUnexpectedArgument) {
    EXPECT_EQ(parse({"--version", "--help"}).action, StartAction::Version);
    EXPECT_EQ(parse({"--help", "--version"}).action, StartAction::Help);
    for (const auto& args : {std::vector<const char*>{"-"}, {"--help", "-"}, {"-", "--version"}}) {
        const CommandLine line = parse(args);
        EXPECT_EQ(line.action, StartAction::UsageError);
        EXPECT_EQ(line.error, "unexpected argument '-'");
    }
    EXPECT_EQ(parse({"--", "--help"}).action, StartAction::UsageError);
    EXPECT_EQ(parse({}).action, StartAction::Run);
}
