// Preference domains as maps of UTF-8 keys and values, read from and written to the
// configuration folder.
#include "HostPreferences.h"

#include "HostFolders.h"
#include "HostProcess.h"
#include "HostReplacementFile.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sys/stat.h>

const CFStringRef kCFPreferencesCurrentApplication = CFSTR("kCFPreferencesCurrentApplication");

namespace {

// Preference files are small; anything larger is not one of ours.
constexpr off_t kLargestFile = 1 << 20;

using Domain = HostPreferenceValues;

std::map<std::string, Domain>& domains()
{
    static auto* table = new std::map<std::string, Domain>;
    return *table;
}

std::string applicationName(CFStringRef applicationID)
{
    if (applicationID == kCFPreferencesCurrentApplication || HostCFStringEqual(applicationID, kCFPreferencesCurrentApplication)) {
        std::string executable = HostExecutablePath();
        std::string name = executable.substr(executable.find_last_of('/') + 1);
        return name.empty() ? std::string("application") : name;
    }
    std::string name = HostCFStringToUtf8(applicationID);
    // The name becomes a file name: nothing that would lead out of the folder.
    for (char& c : name)
        if (c == '/' || c == 0)
            c = '_';
    if (name.empty() || name == "." || name == "..")
        name = "_" + name;
    return name;
}

std::string encode(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20 || c > 0x7E || c == '%' || c == '=' || c == '#') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", unsigned(c));
            out += escaped;
        } else {
            out += char(c);
        }
    }
    return out;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool decode(const std::string& text, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        int high = hexDigit(text[i + 1]);
        int low = hexDigit(text[i + 2]);
        if (high < 0 || low < 0)
            return false;
        out += char(high * 16 + low);
        i += 2;
    }
    return true;
}

std::string folderPath()
{
    FSRef folder;
    if (FSFindFolder(kOnSystemDisk, kPreferencesFolderType, kCreateFolder, &folder) != noErr)
        return std::string();
    return folder.path;
}

Domain readDomain(const std::string& path)
{
    Domain domain;
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kLargestFile)
        return domain;
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return HostPreferencesFromText(text);
}

Domain& domainOf(CFStringRef applicationID)
{
    std::string name = applicationName(applicationID);
    auto found = domains().find(name);
    if (found != domains().end())
        return found->second;
    return domains()[name] = readDomain(HostPreferencesFilePath(applicationID));
}

} // namespace

HostPreferenceValues HostPreferencesFromText(std::string_view text)
{
    Domain domain;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        std::string line(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        start = end == std::string_view::npos ? text.size() : end + 1;
        size_t equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string::npos)
            continue;
        std::string key;
        std::string value;
        if (decode(line.substr(0, equals), key) && decode(line.substr(equals + 1), value) && !key.empty())
            domain[key] = value;
    }
    return domain;
}

std::string HostPreferencesToText(const std::string& applicationName, const HostPreferenceValues& values)
{
    std::string text = "# Preferences of " + encode(applicationName) + "\n";
    for (const auto& [key, value] : values)
        if (!key.empty())
            text += encode(key) + "=" + encode(value) + "\n";
    return text;
}

std::string HostPreferencesFilePath(CFStringRef applicationID)
{
    std::string folder = folderPath();
    return folder.empty() ? std::string() : folder + "/" + applicationName(applicationID) + ".prefs";
}

CFPropertyListRef CFPreferencesCopyAppValue(CFStringRef key, CFStringRef applicationID)
{
    if (CFGetTypeID(key) != CFStringGetTypeID())
        return nullptr;
    const Domain& domain = domainOf(applicationID);
    auto found = domain.find(HostCFStringToUtf8(key));
    if (found == domain.end())
        return nullptr;
    return CFStringCreateWithCString(kCFAllocatorDefault, found->second.c_str(), kCFStringEncodingUTF8);
}

void CFPreferencesSetAppValue(CFStringRef key, CFPropertyListRef value, CFStringRef applicationID)
{
    if (CFGetTypeID(key) != CFStringGetTypeID())
        return;
    std::string name = HostCFStringToUtf8(key);
    if (name.empty())
        return;
    if (value == nullptr) {
        domainOf(applicationID).erase(name);
        return;
    }
    if (CFGetTypeID(value) != CFStringGetTypeID())
        return;
    domainOf(applicationID)[name] = HostCFStringToUtf8(static_cast<CFStringRef>(value));
}

Boolean CFPreferencesAppSynchronize(CFStringRef applicationID)
{
    std::string path = HostPreferencesFilePath(applicationID);
    if (path.empty())
        return false;
    std::string text = HostPreferencesToText(applicationName(applicationID), domainOf(applicationID));
    HostReplacementFile replacement(path);
    return replacement.Open(0600) == noErr && replacement.Write(text.data(), text.size()) == noErr &&
           replacement.Commit() == noErr;
}

void HostResetPreferences()
{
    domains().clear();
}
