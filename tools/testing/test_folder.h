// A fresh temporary folder for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;
    // Names of the files in the folder, sorted.
    std::vector<std::string> list() const;

private:
    std::string path_;
};

// Every entry of a folder (not its subfolders' entries) by name, with the
// bytes of a file and its modification time: two equal snapshots show that
// nothing in the folder was made, removed, written or replaced in between.
using FolderSnapshot = std::map<std::string, std::pair<std::string, std::filesystem::file_time_type>>;
FolderSnapshot folder_snapshot(const std::string& path);
