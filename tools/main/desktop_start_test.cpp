#include "tools/main/desktop_start.h"

#include <gtest/gtest.h>

#include <string_view>

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

// The window Explorer opens is 80 columns wide: no line of the introduction wraps.
TEST(DesktopStart, TheIntroductionFitsAConsoleWindow) {
    std::string_view text = kDesktopIntroduction;
    size_t lines = 0;
    for (size_t start = 0; start < text.size(); ++lines) {
        const size_t end = text.find('\n', start);
        ASSERT_NE(end, std::string_view::npos) << "the text ends with a line end";
        EXPECT_LT(end - start, 80u) << text.substr(start, end - start);
        start = end + 1;
    }
    EXPECT_LT(lines, 25u);
}
