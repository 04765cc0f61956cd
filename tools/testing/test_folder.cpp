#include "tools/testing/test_folder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

TestFolder::TestFolder() {
    std::string pattern = (fs::temp_directory_path() / "scenario-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TestFolder::~TestFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

void TestFolder::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file(name));
}

std::string TestFolder::read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file(name));
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool TestFolder::exists(const std::string& name) const { return fs::exists(file(name)); }

std::vector<std::string> TestFolder::list() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

FolderSnapshot folder_snapshot(const std::string& path) {
    FolderSnapshot snapshot;
    for (const auto& entry : fs::directory_iterator(path)) {
        std::string bytes;
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        snapshot[entry.path().filename().string()] = {bytes, fs::last_write_time(entry.path())};
    }
    return snapshot;
}
