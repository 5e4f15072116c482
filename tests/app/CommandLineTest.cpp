#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace {

using app::CommandLine;
using app::parseCommandLine;
using app::UsageError;

TEST(CommandLine, FilesAndPage) {
    const CommandLine none = parseCommandLine({});
    EXPECT_EQ(none.action, CommandLine::Action::Run);
    EXPECT_TRUE(none.files.empty());
    EXPECT_FALSE(none.page);

    const CommandLine line = parseCommandLine({"a.sla", "--page", "3", "b.sla"});
    EXPECT_EQ(line.files, (std::vector<std::string>{"a.sla", "b.sla"}));
    EXPECT_EQ(line.page, 3);
    EXPECT_EQ(parseCommandLine({"--page=12", "x.sla"}).page, 12);
    // After "--" everything is a file, even what looks like an option.
    EXPECT_EQ(parseCommandLine({"--", "--help"}).files, std::vector<std::string>{"--help"});
}

TEST(CommandLine, HelpAndVersion) {
    EXPECT_EQ(parseCommandLine({"--help"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parseCommandLine({"a.sla", "-h"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parseCommandLine({"--version"}).action, CommandLine::Action::Version);
    EXPECT_NE(app::usageText().find("--page N"), std::string::npos);
}

TEST(CommandLine, ReflectWithoutAWindow) {
    using app::Direction;
    const CommandLine plain = parseCommandLine({"--reflect", "top-bottom", "a.sla", "b.sla"});
    EXPECT_EQ(plain.action, CommandLine::Action::Reflect);
    EXPECT_EQ(plain.direction, Direction::TopBottom);
    EXPECT_EQ(plain.files, (std::vector<std::string>{"a.sla", "b.sla"}));
    EXPECT_FALSE(plain.json);
    EXPECT_FALSE(plain.dryRun);

    const CommandLine all =
        parseCommandLine({"--dry-run", "a.sla", "--reflect=left-right", "--json", "--page=2"});
    EXPECT_EQ(all.action, CommandLine::Action::Reflect);
    EXPECT_EQ(all.direction, Direction::LeftRight);
    EXPECT_TRUE(all.json);
    EXPECT_TRUE(all.dryRun);
    EXPECT_EQ(all.page, 2);
    EXPECT_EQ(all.files, std::vector<std::string>{"a.sla"});
    // Help wins over everything else; the window is the default.
    EXPECT_EQ(parseCommandLine({"--reflect", "left-right", "--help"}).action,
              CommandLine::Action::Help);
    EXPECT_EQ(parseCommandLine({"a.sla"}).action, CommandLine::Action::Run);
    EXPECT_STREQ(app::directionName(Direction::TopBottom), "top-bottom");
    EXPECT_NE(app::usageText().find("--reflect"), std::string::npos);
}

TEST(CommandLine, Mistakes) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{{"--page"},
                                                                       {"--page", "0"},
                                                                       {"--page", "-2"},
                                                                       {"--page", "two"},
                                                                       {"--page", "3x"},
                                                                       {"--page="},
                                                                       {"--pages", "3"},
                                                                       {"-x"},
                                                                       {"--reflect"},
                                                                       {"--reflect", "up"},
                                                                       {"--reflect=Left-Right"},
                                                                       {"--json", "a.sla"},
                                                                       {"--dry-run"},
                                                                       {"--reflect-left-right"}}) {
        EXPECT_THROW(parseCommandLine(arguments), UsageError) << arguments.front();
    }
}

}  // namespace
