// Test helper for the Windows build: shows the wait window exactly as the
// compiler does, then keeps it on screen for a bounded time (first argument,
// in seconds, at most 60) without processing any message, so that a picture
// of it can be taken. Never shipped.
#include <windows.h>

#include <cstdlib>

#include "platform/platform.h"

int main(int argc, char** argv) {
    int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    if (seconds < 1) seconds = 1;
    if (seconds > 60) seconds = 60;
    platform::show_wait_window("Attendere");
    ::Sleep(static_cast<DWORD>(seconds) * 1000);
    platform::end_process(0);
}
