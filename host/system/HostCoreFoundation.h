// Reference-counted core objects: Unicode strings, created from C strings in a named encoding
// and read back as C strings or length-prefixed strings, and arrays of objects. Constant
// strings (CFSTR) live for the whole run.
#pragma once

#include "HostTypes.h"

#include <string>

using CFTypeRef = const void*;
using CFStringRef = const struct HostCFString*;
using CFArrayRef = const struct HostCFArray*;
using CFPropertyListRef = CFTypeRef;
using CFAllocatorRef = const void*;
using CFIndex = int32_t;
using CFTypeID = uint32_t;
using CFStringEncoding = uint32_t;

constexpr CFAllocatorRef kCFAllocatorDefault = nullptr;

// The encodings the host converts: ASCII (bytes above 0x7F are refused), Mac Roman (the system
// encoding) and UTF-8.
enum : CFStringEncoding {
    kCFStringEncodingMacRoman = 0,
    kCFStringEncodingASCII = 0x0600,
    kCFStringEncodingUTF8 = 0x08000100,
};

// Every object starts with one reference; the last release frees it. Constant strings ignore
// both, and so does null.
CFTypeRef CFRetain(CFTypeRef object);
void CFRelease(CFTypeRef object);
CFTypeID CFGetTypeID(CFTypeRef object);
CFTypeID CFStringGetTypeID();
CFTypeID CFArrayGetTypeID();

// A new string from a zero-terminated text in the encoding; null when the text is not valid in
// it (or cStr is null).
CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* cStr, CFStringEncoding encoding);
// The number of characters.
CFIndex CFStringGetLength(CFStringRef string);
// The text in the encoding, zero-terminated; false (and an empty buffer when it has room) when
// it does not fit in bufferSize bytes or a character has no form in the encoding.
Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize, CFStringEncoding encoding);
// The same as a length byte and the characters: at most bufferSize - 1 and 255 of them.
Boolean CFStringGetPascalString(CFStringRef string, StringPtr buffer, CFIndex bufferSize, CFStringEncoding encoding);

// Arrays of objects. With kCFTypeArrayCallBacks the array retains its values and releases them
// when it goes; with null callbacks it only points at them.
struct CFArrayCallBacks {
    CFIndex version;
};
extern const CFArrayCallBacks kCFTypeArrayCallBacks;
CFArrayRef CFArrayCreate(CFAllocatorRef allocator, const void** values, CFIndex numValues,
                         const CFArrayCallBacks* callBacks);
CFIndex CFArrayGetCount(CFArrayRef array);
// The value at index; null for an index outside the array.
const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index);

// A constant string, the same object for the same text for the whole run.
CFStringRef HostConstantString(const char* text);
#define CFSTR(text) HostConstantString("" text "")

// Host helpers: the string as UTF-8, and whether two strings hold the same characters.
std::string HostCFStringToUtf8(CFStringRef string);
// The string in the system encoding (Mac Roman), characters it lacks given as kHostMacRomanStandIn.
std::string HostCFStringToMacRoman(CFStringRef string);
bool HostCFStringEqual(CFStringRef a, CFStringRef b);

// A new string of a file name: its characters as HostFileNameCharacters (HostMacRoman.h) reads
// them, its bytes kept, so that a name shown and kept as it was names the same file again.
CFStringRef HostCFStringCreateWithFileName(const char* name);
// The file name a string names: the bytes it was made from (HostCFStringCreateWithFileName),
// else its characters in UTF-8, as a typed name is written.
std::string HostCFStringToFileName(CFStringRef string);
// A new string of a text that is either system text or holds a UTF-8 file name: UTF-8 when its
// bytes are, else the system encoding.
CFStringRef HostCFStringCreateWithText(const char* text);
// A file name as system text for showing: the one conversion of every place that shows one
// (characters as HostFileNameCharacters reads them, kHostMacRomanStandIn for what Mac Roman lacks).
std::string HostFileNameToMacRoman(const char* name);
