// Length-prefixed strings that cut at their fixed capacity.
#include "PascalString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

PascalString::PascalString()
{
    std::memset(mBytes, 0, sizeof mBytes);
}

PascalString::PascalString(const char* format, ...) : PascalString()
{
    char text[kCapacity + 1];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    *this += text;
}

PascalString& PascalString::operator=(const char* text)
{
    mBytes[0] = 0;
    mBytes[1] = 0;
    return *this += text;
}

PascalString& PascalString::operator+=(const char* text)
{
    if (text == nullptr)
        return *this;
    size_t length = mBytes[0];
    size_t room = size_t(kCapacity) - length;
    size_t added = strnlen(text, room);
    std::memmove(mBytes + 1 + length, text, added);
    mBytes[1 + length + added] = 0;
    // Re-measured as a C string: an embedded zero ends the text.
    mBytes[0] = static_cast<unsigned char>(strnlen(CStr(), kCapacity));
    return *this;
}

PascalString& PascalString::operator+=(const PascalString& other)
{
    // Copied first: other may be this string.
    PascalString copy = other;
    return *this += copy.CStr();
}

PascalString PascalString::operator+(const PascalString& other) const
{
    PascalString sum = *this;
    sum += other;
    return sum;
}

int PascalString::CharLast(char c) const
{
    for (int i = Length(); i >= 1; --i)
        if (mBytes[i] == static_cast<unsigned char>(c))
            return i;
    return 0;
}

PascalString PascalString::SubStr(short from, short len) const
{
    PascalString part;
    if (from < 1)
        from = 1;
    if (from > Length())
        return part;
    part = CStr() + (from - 1);
    if (len >= 0 && len < part.Length()) {
        part.mBytes[0] = static_cast<unsigned char>(len);
        part.mBytes[1 + len] = 0;
    }
    return part;
}
