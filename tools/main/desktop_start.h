// What scenario_tool does when Explorer starts it: with nothing, it explains
// itself in the window it was given; with two documents dropped on it, it
// previews them in the browser.
#pragma once

#include <string>
#include <vector>

enum class DesktopStart {
    Introduce,  // no arguments: explain what the program does, then wait for a key
    Preview,    // two documents dropped on it: serve them and open the page
    Command,    // anything else: run it as given, then wait for a key
};

// The kind of start, given the arguments and the names of the commands.
DesktopStart desktop_start(const std::vector<std::string>& arguments, const std::vector<std::string>& commands);

// The command line of the preview of two dropped documents, whichever order
// Explorer hands them over in: the line description first.
std::vector<std::string> preview_arguments(const std::vector<std::string>& documents);

// Shown in the window of a program started with no arguments.
extern const char* const kDesktopIntroduction;
