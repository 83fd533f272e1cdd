// Helpers of the host tests: a scratch folder removed at the end, whole-file reads and writes,
// and specifications and references of paths.
#pragma once

#include "HostFiles.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "hosttest.XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back(0);
        mPath = mkdtemp(name.data());
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(mPath, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(mPath, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return mPath; }
    std::string operator/(const std::string& name) const { return mPath + "/" + name; }

private:
    std::string mPath;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// The names in a folder, sorted.
inline std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline FSSpec SpecOf(const std::string& path)
{
    FSSpec spec{};
    size_t slash = path.find_last_of('/');
    std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    std::string name = path.substr(slash + 1);
    std::memcpy(spec.parentPath, folder.c_str(), folder.size() + 1);
    spec.name[0] = uint8_t(name.size());
    std::memcpy(spec.name + 1, name.data(), name.size());
    spec.vRefNum = kHostVolumeRefNum;
    return spec;
}

inline const UInt8* PathBytes(const std::string& path)
{
    return reinterpret_cast<const UInt8*>(path.c_str());
}

// A length-prefixed copy of a text (for names).
inline std::vector<uint8_t> Pascal(const std::string& text)
{
    std::vector<uint8_t> p;
    p.reserve(1 + text.size());
    p.push_back(uint8_t(text.size()));
    for (char c : text)
        p.push_back(uint8_t(c));
    return p;
}

// A prefix followed by a number, as names in bulk.
inline std::string Numbered(const char* prefix, int n)
{
    std::string text(prefix);
    text += std::to_string(n);
    return text;
}
