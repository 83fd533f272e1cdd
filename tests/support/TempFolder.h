// A fresh empty folder for one test, removed with everything in it when the test ends. Its path
// has no symbolic links, so it compares equal to the paths the host gives back.
#pragma once

#include <filesystem>
#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return mPath; }
    // The full path of name inside the folder.
    std::string File(const std::string& name) const { return (mPath / name).string(); }

    // Writes a file of that name inside the folder and answers its full path.
    std::string Create(const std::string& name, const std::string& bytes = "") const;

    // Writes or reads a whole file's bytes.
    static void WriteFile(const std::string& path, const std::string& bytes);
    static std::string ReadFile(const std::string& path);

private:
    std::filesystem::path mPath;
};
