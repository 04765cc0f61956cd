#include "tools/main/desktop_start.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kCommands = {"check", "compile", "serve", "help"};

TEST(DesktopStart, TellsAnIntroductionADropAndACommandApart) {
    struct Case {
        std::vector<std::string> arguments;
        DesktopStart start;
    } cases[] = {
        {.arguments = {}, .start = DesktopStart::Introduce},
        {.arguments = {"C:\\Routes\\Città_linea.txt", "C:\\Routes\\Città_R1-.txt"}, .start = DesktopStart::Preview},
        {.arguments = {"a.txt", "b.txt"}, .start = DesktopStart::Preview},
        {.arguments = {"C:\\Routes\\Città_linea.txt"}, .start = DesktopStart::Command},
        {.arguments = {"a.txt", "b.txt", "c.txt"}, .start = DesktopStart::Command},
        {.arguments = {"help", "check"}, .start = DesktopStart::Command},
        {.arguments = {"check", "a.txt"}, .start = DesktopStart::Command},
        {.arguments = {"a.txt", "--version"}, .start = DesktopStart::Command},
        {.arguments = {"a.txt", ""}, .start = DesktopStart::Command},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        EXPECT_EQ(desktop_start(c.arguments, kCommands), c.start);
    }
}

TEST(DesktopStart, PreviewsTheLineDescriptionFirstWhicheverOrderTheyCome) {
    struct Case {
        std::vector<std::string> dropped;
        std::string line, train;
    } cases[] = {
        {.dropped = {"D:\\r\\V_linea.txt", "D:\\r\\V_R1-.txt"}, .line = "D:\\r\\V_linea.txt", .train = "D:\\r\\V_R1-.txt"},
        {.dropped = {"D:\\r\\V_R1-.txt", "D:\\r\\V_LINEA.TXT"}, .line = "D:\\r\\V_LINEA.TXT", .train = "D:\\r\\V_R1-.txt"},
        // Names off the convention stay in the order given.
        {.dropped = {"first.txt", "second.txt"}, .line = "first.txt", .train = "second.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(preview_arguments(c.dropped),
                  (std::vector<std::string>{"serve", c.line, c.train, "--port", "0", "--open"}));
    }
}

}  // namespace
