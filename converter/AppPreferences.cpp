// Preferences through the host's application preference domain.
#include "AppPreferences.h"

#include "HostPreferences.h"

namespace {

// Holds a string reference and releases it.
class OwnedString {
public:
    explicit OwnedString(CFTypeRef string) : mString(string) {}
    ~OwnedString()
    {
        if (mString != nullptr)
            CFRelease(mString);
    }
    OwnedString(const OwnedString&) = delete;
    OwnedString& operator=(const OwnedString&) = delete;
    CFStringRef Get() const { return static_cast<CFStringRef>(mString); }

private:
    CFTypeRef mString;
};

} // namespace

void LoadPref(Str255 value, const char* key)
{
    value[0] = 0;
    value[1] = 0;
    OwnedString name(CFStringCreateWithCString(kCFAllocatorDefault, key, kCFStringEncodingASCII));
    if (name.Get() == nullptr)
        return;
    OwnedString stored(CFPreferencesCopyAppValue(name.Get(), kCFPreferencesCurrentApplication));
    if (stored.Get() == nullptr || CFGetTypeID(stored.Get()) != CFStringGetTypeID())
        return;
    // 255 bytes: a length byte and at most 254 characters, so the zero after them fits.
    if (!CFStringGetPascalString(stored.Get(), value, 255, kCFStringEncodingASCII)) {
        value[0] = 0;
        value[1] = 0;
        return;
    }
    value[1 + value[0]] = 0;
}

void SavePref(const char* value, const char* key)
{
    if (value == nullptr || value[0] == 0)
        return;
    OwnedString name(CFStringCreateWithCString(kCFAllocatorDefault, key, kCFStringEncodingASCII));
    OwnedString text(CFStringCreateWithCString(kCFAllocatorDefault, value, kCFStringEncodingASCII));
    if (name.Get() == nullptr || text.Get() == nullptr)
        return;
    CFPreferencesSetAppValue(name.Get(), text.Get(), kCFPreferencesCurrentApplication);
    CFPreferencesAppSynchronize(kCFPreferencesCurrentApplication);
}
