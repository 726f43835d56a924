// Checks of a program started as a user starts it: a process of its own, on the display of
// its environment. Both programs open their display the same way.
#pragma once

#include "tests/upgrade/ProgramProcess.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Without a reachable display the program says so on standard error, naming the display
// and the README's section for machines without a screen, and fails.
inline void ExpectNoDisplayIsAnError(const std::string& programName, const char* programPath)
{
    using Environment = std::vector<std::pair<std::string, std::optional<std::string>>>;
    const struct {
        Environment environment;
        std::string message;
    } cases[] = {
        {{{"DISPLAY", std::nullopt}, {"VENDARO_HEADLESS", std::nullopt}},
         programName + ": cannot open display (DISPLAY is not set)\n"},
        {{{"DISPLAY", ""}, {"VENDARO_HEADLESS", "0"}}, programName + ": cannot open display (DISPLAY is not set)\n"},
        {{{"DISPLAY", ":987"}, {"VENDARO_HEADLESS", std::nullopt}}, programName + ": cannot open display :987\n"},
    };
    for (const auto& c : cases) {
        const ProgramOutcome outcome = RunProgram(programPath, c.environment);
        ASSERT_TRUE(outcome.exited) << c.message;
        EXPECT_NE(outcome.status, 0) << c.message;
        EXPECT_EQ(outcome.errors.rfind(c.message, 0), 0u) << outcome.errors;
        EXPECT_EQ(outcome.errors.substr(c.message.size()),
                  programName + ": to use it on a machine without a screen, see \"Without a screen of your own\" in "
                                "README.md\n");
    }
}

// Headless only on the explicit switch: then it runs, ends with status 0 and prints nothing.
inline void ExpectHeadlessOnlyWhenAskedFor(const char* programPath)
{
    for (const char* display : {"", ":987"}) {
        const ProgramOutcome outcome = RunProgram(programPath, {{"DISPLAY", display}, {"VENDARO_HEADLESS", "1"}});
        ASSERT_TRUE(outcome.exited) << display;
        EXPECT_EQ(outcome.status, 0) << display;
        EXPECT_EQ(outcome.errors, "") << display;
    }
}
