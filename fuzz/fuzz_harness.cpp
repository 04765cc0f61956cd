#include "fuzz/fuzz_harness.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

// Memory-backed when the machine has it: every input writes and deletes files.
fs::path folder_root() {
    std::error_code error;
    if (fs::is_directory("/dev/shm", error)) return "/dev/shm";
    return fs::temp_directory_path();
}

// Folders left by fuzzing processes that were stopped before their clean-up.
void remove_stale_folders(const fs::path& root) {
    const std::string prefix = "scenario-fuzz-";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(root, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        const std::string pid = name.substr(prefix.size());
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        if (!fs::exists("/proc/" + pid, error)) fs::remove_all(entry.path(), error);
    }
}

// Made once and never freed, so the clean-up at exit still finds its name.
const std::string& process_folder() {
    static const std::string* folder = [] {
        remove_stale_folders(folder_root());
        fs::path p = folder_root() / ("scenario-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(p);
        auto* name = new std::string(p.string());
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(process_folder(), ignored);
        });
        return name;
    }();
    return *folder;
}

}  // namespace

const std::string& fresh_program_folder() {
    const std::string& folder = process_folder();
    for (const auto& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
    return folder;
}

Form1 fresh_form() {
    Form1 form(fresh_program_folder());
    form.routeName = "Bresta_Vilcar";
    form.trainCode = "RX907";
    return form;
}

void put_document(const Form1& form, const std::string& name, std::string_view text) {
    platform::write_file(form.file_path(name), text);
}

void fuzz_verdict(const std::vector<std::string>& violations) {
    if (violations.empty()) return;
    for (const std::string& v : violations) std::fprintf(stderr, "invariant broken: %s\n", v.c_str());
    std::abort();
}

void append(std::vector<std::string>& out, const std::vector<std::string>& more) {
    out.insert(out.end(), more.begin(), more.end());
}

#ifdef SCENARIO_FUZZER
// Makes the folder before the first input, so that its name is not taken
// for memory the first input leaked.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fresh_program_folder();
    return 0;
}
#endif
