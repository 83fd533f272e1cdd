// The editor's preferences: the folder of the last opened file and the recent files, kept in
// "path.txt" in the "Preferences" folder beside the program.
#include "QuillformPrefs.h"

#include "FS_FileUtil.h"
#include "FS_LocatorRegistry.h"
#include "FS_UtilPAC.h"
#include "FWDynamicString.h"
#include "FWStr.h"
#include "FileReference.h"
#include "HostReplacementFile.h"
#include "QuillformApp.h"

#include <fstream>
#include <sstream>

namespace {

constexpr size_t kLineLength = 255;
constexpr size_t kLinesRead = 256;
constexpr size_t kLinesKept = 21;  // reading stops once more are kept
constexpr size_t kLinesAfterOpen = 20;

const char* const kPreferencesFolder = "Preferences";
const char* const kPreferencesFile = "path.txt";

bool fileExists(const std::string& path)
{
    Corvel::FS_Locator locator;
    Corvel::FS_UtilPAC::DotPathNameToLocator(FWDynamicString(path.c_str()), locator);
    return Corvel::FS_FileUtil::Exists(locator);
}

} // namespace

std::vector<std::string> ReadPreferenceLines(std::string_view bytes,
                                             const std::function<bool(const std::string&)>& keep)
{
    std::vector<std::string> lines;
    size_t at = 0;
    for (size_t number = 0; number < kLinesRead && at < bytes.size(); ++number) {
        size_t end = bytes.find('\n', at);
        const bool ended = end != std::string_view::npos;
        if (!ended)
            end = bytes.size();
        const size_t length = end - at;
        // A longer line yields its first characters; every later read of such a line-reading
        // stream yields nothing, so no later line is kept.
        const bool tooLong = length > kLineLength;
        std::string line(bytes.substr(at, tooLong ? kLineLength : length));
        at = ended ? end + 1 : end;
        if (lines.empty() || keep(line))
            lines.push_back(std::move(line));
        if (tooLong || lines.size() > kLinesKept)
            break;
    }
    return lines;
}

std::string QuillformApp::PreferencesPath()
{
    Corvel::FS_Locator locator;
    Corvel::FS_LocatorRegistry::LookUpLocator(-2, locator);
    locator.AppendName(kPreferencesFolder);
    locator.AppendName(kPreferencesFile);
    FWDynamicString path;
    Corvel::FS_UtilPAC::LocatorToPathName(locator, path, false);
    return path.GetCString();
}

void QuillformApp::ReadPreferences()
{
    std::ifstream in(PreferencesPath(), std::ios::binary);
    std::ostringstream bytes;
    if (in)
        bytes << in.rdbuf();
    mRecentLines = ReadPreferenceLines(bytes.str(), fileExists);
    UpdateRecentMenu();
}

void QuillformApp::WritePreferences()
{
    // Written to a new file that then replaces the old one, so a failed write loses nothing.
    std::string text;
    for (const std::string& line : mRecentLines)
        text += line + '\n';
    HostReplacementFile replacement(PreferencesPath());
    if (replacement.Open(0666) == noErr && replacement.Write(text.data(), text.size()) == noErr)
        replacement.Commit();
}

void QuillformApp::UpdatePrefs2Open(const FileReference& file)
{
    const std::string path = file.PathName().GetCString();
    const size_t separator = path.rfind(file.DirectorySeperator());
    if (separator != std::string::npos) {
        const std::string folder = path.substr(0, separator);
        if (mRecentLines.empty())
            mRecentLines.push_back(folder);
        else
            mRecentLines[0] = folder;
    } else if (mRecentLines.empty()) {
        mRecentLines.emplace_back();
    }
    for (size_t line = mRecentLines.size(); line > 1; --line)
        if (mRecentLines[line - 1] == path)
            mRecentLines.erase(mRecentLines.begin() + std::ptrdiff_t(line - 1));
    mRecentLines.push_back(path);
    while (mRecentLines.size() > kLinesAfterOpen)
        mRecentLines.erase(mRecentLines.begin() + 1);
    WritePreferences();
    UpdateRecentMenu();
}
