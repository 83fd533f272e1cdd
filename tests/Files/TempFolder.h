// A fresh folder under the temporary folder, removed with everything in it at the end of a test.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "fwfiles-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            mPath = std::filesystem::canonical(pattern).string();
    }
    ~TempFolder()
    {
        std::error_code ignored;
        if (!mPath.empty())
            std::filesystem::remove_all(mPath, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return mPath; }
    std::string PathOf(const std::string& name) const { return mPath + "/" + name; }

    // Writes a file with the given contents and answers its path.
    std::string WriteFile(const std::string& name, const std::string& contents = "") const
    {
        std::ofstream(PathOf(name), std::ios::binary) << contents;
        return PathOf(name);
    }

private:
    std::string mPath;
};
