// Preferences files of any content: the lines kept are few, short and whole lines of the file.
#include "QuillformPrefs.h"
#include "ProgrammerMessageRecorder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const auto sPrevious = FWSetProgrammerMessagePresenter(TrapOnAssertionAlert);
    (void)sPrevious;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = ReadPreferenceLines(bytes, [](const std::string& line) {
        return !line.empty() && line[0] == '/';
    });
    if (lines.size() > 22)
        std::abort();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].size() > 255 || lines[i].find('\n') != std::string::npos || bytes.find(lines[i]) == bytes.npos)
            std::abort();
        if (i > 0 && lines[i][0] != '/')
            std::abort();
    }
    return 0;
}
