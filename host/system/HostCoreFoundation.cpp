// Core objects: every object begins with its type and its reference count.
#include "HostCoreFoundation.h"

#include "HostMacRoman.h"

#include <cstring>
#include <map>
#include <string_view>
#include <vector>

namespace {

constexpr CFTypeID kStringTypeID = 7;
constexpr CFTypeID kArrayTypeID = 18;

} // namespace

struct HostCFObject {
    CFTypeID type;
    int32_t references; // 0 for constant objects, which are never freed
    virtual ~HostCFObject() = default;
    HostCFObject(CFTypeID t, int32_t r) : type(t), references(r) {}
};

struct HostCFString : HostCFObject {
    HostCFString(int32_t references, std::u32string text)
        : HostCFObject(kStringTypeID, references), characters(std::move(text)) {}
    std::u32string characters;
    std::string fileName; // the bytes of the file name it was made from, if it was
};

struct HostCFArray : HostCFObject {
    HostCFArray() : HostCFObject(kArrayTypeID, 1) {}
    ~HostCFArray() override
    {
        if (retains)
            for (const void* value : values)
                CFRelease(value);
    }
    std::vector<const void*> values;
    bool retains = false;
};

const CFArrayCallBacks kCFTypeArrayCallBacks = {0};

namespace {

bool decode(const char* text, CFStringEncoding encoding, std::u32string& out)
{
    std::string_view bytes(text);
    switch (encoding) {
    case kCFStringEncodingASCII:
        for (unsigned char b : bytes) {
            if (b > 0x7F)
                return false;
            out += char32_t(b);
        }
        return true;
    case kCFStringEncodingMacRoman:
        for (unsigned char b : bytes)
            out += HostMacRomanToUnicode(b);
        return true;
    case kCFStringEncodingUTF8:
        return HostDecodeUtf8(bytes, out);
    default:
        return false;
    }
}

bool encode(const std::u32string& characters, CFStringEncoding encoding, std::string& out)
{
    for (char32_t c : characters) {
        switch (encoding) {
        case kCFStringEncodingASCII:
            if (c > 0x7F)
                return false;
            out += char(c);
            break;
        case kCFStringEncodingMacRoman: {
            uint8_t byte;
            if (!HostUnicodeToMacRoman(c, &byte))
                return false;
            out += char(byte);
            break;
        }
        case kCFStringEncodingUTF8:
            HostAppendUtf8(out, c);
            break;
        default:
            return false;
        }
    }
    return true;
}

HostCFObject* objectOf(CFTypeRef object)
{
    return const_cast<HostCFObject*>(static_cast<const HostCFObject*>(object));
}

const HostCFString* asString(CFTypeRef object)
{
    return object != nullptr && objectOf(object)->type == kStringTypeID ? static_cast<const HostCFString*>(object)
                                                                        : nullptr;
}

const HostCFArray* asArray(CFTypeRef object)
{
    return object != nullptr && objectOf(object)->type == kArrayTypeID ? static_cast<const HostCFArray*>(object)
                                                                       : nullptr;
}

} // namespace

CFTypeRef CFRetain(CFTypeRef object)
{
    HostCFObject* o = objectOf(object);
    if (o != nullptr && o->references > 0)
        ++o->references;
    return object;
}

void CFRelease(CFTypeRef object)
{
    HostCFObject* o = objectOf(object);
    if (o != nullptr && o->references > 0 && --o->references == 0)
        delete o;
}

CFTypeID CFGetTypeID(CFTypeRef object)
{
    return object != nullptr ? objectOf(object)->type : 0;
}

CFTypeID CFStringGetTypeID()
{
    return kStringTypeID;
}

CFTypeID CFArrayGetTypeID()
{
    return kArrayTypeID;
}

CFArrayRef CFArrayCreate(CFAllocatorRef, const void** values, CFIndex numValues, const CFArrayCallBacks* callBacks)
{
    if (numValues < 0 || (numValues > 0 && values == nullptr))
        return nullptr;
    auto* array = new HostCFArray;
    array->retains = callBacks != nullptr;
    array->values.assign(values, values + numValues);
    if (array->retains)
        for (const void* value : array->values)
            CFRetain(value);
    return array;
}

CFIndex CFArrayGetCount(CFArrayRef array)
{
    const HostCFArray* a = asArray(array);
    return a != nullptr ? CFIndex(a->values.size()) : 0;
}

const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index)
{
    const HostCFArray* a = asArray(array);
    if (a == nullptr || index < 0 || size_t(index) >= a->values.size())
        return nullptr;
    return a->values[size_t(index)];
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* cStr, CFStringEncoding encoding)
{
    if (cStr == nullptr)
        return nullptr;
    std::u32string characters;
    if (!decode(cStr, encoding, characters))
        return nullptr;
    return new HostCFString(1, std::move(characters));
}

CFIndex CFStringGetLength(CFStringRef string)
{
    const HostCFString* s = asString(string);
    return s != nullptr ? CFIndex(s->characters.size()) : 0;
}

Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize, CFStringEncoding encoding)
{
    if (buffer == nullptr || bufferSize <= 0)
        return false;
    buffer[0] = 0;
    const HostCFString* s = asString(string);
    std::string text;
    if (s == nullptr || !encode(s->characters, encoding, text) || text.size() >= size_t(bufferSize))
        return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

Boolean CFStringGetPascalString(CFStringRef string, StringPtr buffer, CFIndex bufferSize, CFStringEncoding encoding)
{
    if (buffer == nullptr || bufferSize <= 0)
        return false;
    buffer[0] = 0;
    const HostCFString* s = asString(string);
    std::string text;
    if (s == nullptr || !encode(s->characters, encoding, text) || text.size() >= size_t(bufferSize) ||
        text.size() > 255)
        return false;
    buffer[0] = uint8_t(text.size());
    std::memcpy(buffer + 1, text.data(), text.size());
    return true;
}

CFStringRef HostConstantString(const char* text)
{
    static auto* constants = new std::map<std::string, HostCFString*>;
    auto found = constants->find(text);
    if (found != constants->end())
        return found->second;
    std::u32string characters;
    if (!decode(text, kCFStringEncodingUTF8, characters))
        decode(text, kCFStringEncodingMacRoman, characters);
    auto* string = new HostCFString(0, std::move(characters));
    constants->emplace(text, string);
    return string;
}

std::string HostCFStringToUtf8(CFStringRef string)
{
    const HostCFString* s = asString(string);
    std::string text;
    if (s != nullptr)
        encode(s->characters, kCFStringEncodingUTF8, text);
    return text;
}

std::string HostCFStringToMacRoman(CFStringRef string)
{
    const HostCFString* s = asString(string);
    std::string text;
    if (s == nullptr)
        return text;
    for (char32_t c : s->characters) {
        uint8_t byte;
        text += HostUnicodeToMacRoman(c, &byte) ? char(byte) : kHostMacRomanStandIn;
    }
    return text;
}

bool HostCFStringEqual(CFStringRef a, CFStringRef b)
{
    const HostCFString* x = asString(a);
    const HostCFString* y = asString(b);
    return x != nullptr && y != nullptr && x->characters == y->characters;
}

CFStringRef HostCFStringCreateWithFileName(const char* name)
{
    if (name == nullptr)
        return nullptr;
    auto* string = new HostCFString(1, HostFileNameCharacters(name));
    string->fileName = name;
    return string;
}

std::string HostCFStringToFileName(CFStringRef string)
{
    const HostCFString* s = asString(string);
    return s != nullptr && !s->fileName.empty() ? s->fileName : HostCFStringToUtf8(string);
}

CFStringRef HostCFStringCreateWithText(const char* text)
{
    if (text == nullptr)
        return nullptr;
    std::u32string characters;
    if (!decode(text, kCFStringEncodingUTF8, characters)) {
        characters.clear();
        decode(text, kCFStringEncodingMacRoman, characters);
    }
    return new HostCFString(1, std::move(characters));
}

std::string HostFileNameToMacRoman(const char* name)
{
    CFStringRef string = HostCFStringCreateWithFileName(name);
    std::string text = HostCFStringToMacRoman(string);
    if (string != nullptr)
        CFRelease(string);
    return text;
}
