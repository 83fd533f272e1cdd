// Path and name helpers of the host's file calls.
#include "HostPathNames.h"

#include "HostMacRoman.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

// "/Volumes/Root" or "/Volumes/Root/..." names the root of the one volume.
bool stripVolumePrefix(std::string& path)
{
    std::string prefix = std::string("/Volumes/") + kHostVolumeName;
    if (path.compare(0, prefix.size(), prefix) != 0)
        return false;
    if (path.size() == prefix.size()) {
        path = "/";
        return true;
    }
    if (path[prefix.size()] != '/')
        return false;
    path.erase(0, prefix.size());
    return true;
}

} // namespace

std::string HostAbsolutePath(std::string_view path)
{
    std::string result(path);
    if (result.empty() || result[0] != '/') {
        char cwd[PATH_MAX];
        std::string folder = getcwd(cwd, sizeof cwd) != nullptr ? cwd : "/";
        result = result.empty() ? folder : HostJoinPath(folder, result);
    }
    stripVolumePrefix(result);
    return result;
}

OSErr HostCanonicalPath(std::string_view path, std::string& out)
{
    std::string absolute = HostAbsolutePath(path);
    if (absolute.size() >= PATH_MAX)
        return bdNamErr;
    char resolved[PATH_MAX];
    if (realpath(absolute.c_str(), resolved) == nullptr)
        return HostOSErrFromErrno(errno);
    out = resolved;
    if (out.size() >= kHostPathCapacity)
        return bdNamErr;
    return noErr;
}

std::string HostFolderOfPath(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return std::string();
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string HostNameOfPath(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string HostJoinPath(const std::string& folder, const std::string& name)
{
    if (name.empty())
        return folder;
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

bool HostFileNameFromUtf16(const UniChar* name, size_t length, std::string& out)
{
    out.clear();
    if (name == nullptr || length == 0)
        return false;
    for (size_t i = 0; i < length; ++i) {
        uint32_t c = name[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= length || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF)
                return false;
            c = 0x10000 + ((c - 0xD800) << 10) + (name[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
        if (c == 0 || c == '/')
            return false;
        HostAppendUtf8(out, c);
    }
    return out != "." && out != ".." && out.size() <= 255;
}

void HostFileNameToUtf16(std::string_view text, HFSUniStr255& out)
{
    out.length = 0;
    for (char32_t c : HostFileNameCharacters(text)) {
        if (c >= 0x10000) {
            if (out.length + 2 > 255)
                break;
            c -= 0x10000;
            out.unicode[out.length++] = UniChar(0xD800 + (c >> 10));
            out.unicode[out.length++] = UniChar(0xDC00 + (c & 0x3FF));
        } else {
            if (out.length + 1 > 255)
                break;
            out.unicode[out.length++] = UniChar(c);
        }
    }
}

bool HostStorePath(const std::string& path, char (&buffer)[kHostPathCapacity])
{
    if (path.size() >= kHostPathCapacity || path.find('\0') != std::string::npos) {
        buffer[0] = 0;
        return false;
    }
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return true;
}
