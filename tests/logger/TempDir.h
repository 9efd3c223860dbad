#ifndef TESTS_LOGGER_TEMPDIR_H
#define TESTS_LOGGER_TEMPDIR_H

#include <cstdlib>
#include <filesystem>
#include <string>

// A fresh directory under the system's temporary folder, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qvlog.XXXXXX").string();
        char* made = mkdtemp(&pattern[0]);
        if (made != nullptr) {
            path_ = made;
        }
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) {
            std::filesystem::remove_all(path_, ignored);
        }
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

#endif
