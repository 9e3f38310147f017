#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "texture-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr)
            root = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        if (!root.empty())
            std::filesystem::remove_all(root, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // The path of `name` inside the directory.
    std::string path(const std::string& name) const { return (root / name).string(); }

private:
    std::filesystem::path root;
};
