// The assertion alert and the debugger output.
#include "FWProgrammerMessage.h"

#include "FWUserMsg.h"
#include "HostDebug.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

FWProgrammerMessagePresenter sPresenter = FWPresentAssertionAlert;

} // namespace

FWProgrammerMessagePresenter FWSetProgrammerMessagePresenter(FWProgrammerMessagePresenter presenter)
{
    FWProgrammerMessagePresenter previous = sPresenter;
    sPresenter = presenter != nullptr ? presenter : FWPresentAssertionAlert;
    return previous;
}

int fw_programmer_message(const char* message, const char* sourcePath, int line)
{
    if (message == nullptr)
        message = "";
    if (sourcePath == nullptr)
        sourcePath = "";

    char sentence[512];
    std::snprintf(sentence, sizeof sentence, "An assertion failed in %s on line %d.", sourcePath, line);
    char text[1024];
    if (message[0] != '\0')
        std::snprintf(text, sizeof text, "%s\r\r%s", sentence, message);
    else
        std::snprintf(text, sizeof text, "%s", sentence);

    const FWProgrammerMessageInfo info{message, sourcePath, line, text};
    if (sPresenter(info))
        std::abort();

    // The message is data, never a format.
    fw_dprintf("%s", message);
    return 1;
}

void fw_stored_data_notice(const char* message, const char* sourcePath, int line)
{
    if (message == nullptr || message[0] == '\0')
        return;
    FWProgrammerMessageInfo info{message, sourcePath != nullptr ? sourcePath : "", line, message};
    info.offersAbort = false;
    sPresenter(info);
    fw_dprintf("%s", message);
}

int fw_dprintf(const char* format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length < 0)
        return length;

    // A length byte, then at most 255 characters.
    unsigned char pascal[256];
    size_t count = std::strlen(buffer);
    if (count > 255)
        count = 255;
    pascal[0] = static_cast<unsigned char>(count);
    std::memcpy(pascal + 1, buffer, count);
    DebugStr(pascal);
    return length;
}
