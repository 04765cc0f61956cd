// A fresh temporary folder for one test, removed afterwards.
#pragma once

#include <string>
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
