// Preferences files of any content: what reads must write back to a file that reads the same.
#include "HostPreferences.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HostPreferenceValues values = HostPreferencesFromText(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string text = HostPreferencesToText("fuzz", values);
    if (HostPreferencesFromText(text) != values)
        std::abort();
    return 0;
}
