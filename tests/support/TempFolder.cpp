#include "TempFolder.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <cstdlib>

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "fwtest-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    mPath = std::filesystem::canonical(pattern);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
}

std::string TempFolder::Create(const std::string& name, const std::string& bytes) const
{
    std::string path = File(name);
    WriteFile(path, bytes);
    return path;
}

void TempFolder::WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string TempFolder::ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
