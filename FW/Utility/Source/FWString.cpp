// The string interface: text operations over the storage a subclass supplies, the number
// conversions of edit fields and the script-aware comparison.
#include "FWString.h"

#include "FWCLocale.h"
#include "FWProgrammerMessage.h"
#include "FWStringUtils.h"

#include <cfloat>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

int32_t FWString::gFloatingPrecision = 6;

namespace {

const char* const kSourcePath = "FW/Utility/Source/FWString";

bool pointsInto(const char* p, const char* data, uint32_t length)
{
    if (p == nullptr || data == nullptr)
        return false;
    auto address = reinterpret_cast<uintptr_t>(p);
    auto start = reinterpret_cast<uintptr_t>(data);
    return address >= start && address <= start + length;
}

} // namespace

void FWString::SetCurrLength(uint32_t n)
{
    mLength = n;
    mData[n] = 0;
}

void FWString::ReserveLength(uint32_t)
{
}

void FWString::Set(uint32_t n, const char* p)
{
    if (p == nullptr)
        n = 0;
    // The new storage may replace the array p points into: copy such a source first.
    if (n > 0 && pointsInto(p, mData, mLength)) {
        std::string copy(p, n);
        Set(n, copy.data());
        return;
    }
    SetCurrLength(n);
    if (mLength > 0)
        std::memmove(mData, p, mLength);
}

void FWString::Set(const char* p)
{
    if (p == nullptr)
        return;
    Set(uint32_t(std::strlen(p)), p);
}

FWString& FWString::operator=(const FWString& other)
{
    if (this != &other)
        Set(other.mLength, other.mData);
    return *this;
}

FWString& FWString::operator=(const char* p)
{
    Set(p);
    return *this;
}

void FWString::Copy(FWString* dest) const
{
    if (dest != nullptr)
        *dest = *this;
}

void FWString::Append(uint32_t n, const char* p)
{
    if (p == nullptr || n == 0)
        return;
    if (pointsInto(p, mData, mLength)) {
        std::string copy(p, n);
        Append(n, copy.data());
        return;
    }
    uint32_t old = mLength;
    uint64_t wanted = uint64_t(old) + n;
    SetCurrLength(wanted > UINT32_MAX - 1 ? UINT32_MAX - 1 : uint32_t(wanted));
    if (mLength > old)
        std::memcpy(mData + old, p, mLength - old);
}

void FWString::Append(const char* p)
{
    if (p == nullptr)
        return;
    Append(uint32_t(std::strlen(p)), p);
}

FWString& FWString::operator+=(char c)
{
    Append(1, &c);
    return *this;
}

FWString& FWString::operator+=(const FWString& other)
{
    Append(other.mLength, other.mData);
    return *this;
}

FWString& FWString::operator+=(const char* p)
{
    Append(p);
    return *this;
}

void FWString::GetSubString(uint32_t start, uint32_t end, FWString& out) const
{
    // Only characters this string holds are copied: a range past the end is cut to it.
    uint32_t count = 0;
    if (start < mLength && end >= start) {
        uint32_t available = mLength - start;
        uint64_t wanted = uint64_t(end) - start + 1;
        count = wanted < available ? uint32_t(wanted) : available;
    }
    out.Set(count, mData + (count > 0 ? start : 0));
}

void FWString::Erase(uint32_t start, uint32_t end)
{
    if (start == end)
        return;
    if (start > mLength || end > mLength || end < start) {
        fw_programmer_message("", kSourcePath, 443);
        return;
    }
    std::memmove(mData + start, mData + end, mLength - end);
    SetCurrLength(mLength - (end - start));
}

void FWString::ReplaceInsert(const FWString* src, uint32_t start, uint32_t end)
{
    if (src == nullptr)
        return;
    if (start > mLength || end > mLength || end < start) {
        fw_programmer_message("Bad string insertion parameters", kSourcePath, 468);
        return;
    }
    std::string result(mData, start);
    result.append(src->mData, src->mLength);
    result.append(mData + end, mLength - end);
    Set(uint32_t(result.size()), result.data());
}

int32_t FWString::GetLong() const
{
    // A 32-bit atol: out-of-range values saturate.
    long long value = std::strtoll(mData, nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return int32_t(value);
}

float FWString::GetReal() const
{
    if (mLength == 0)
        return 0.0f;
    if (mLength == 1 && (mData[0] == '.' || mData[0] == '-'))
        return 0.0f;
    // The whole text, however long, with ',' accepted as the decimal separator.
    std::string copy(mData, mLength);
    for (char& c : copy)
        if (c == ',')
            c = '.';
    // Beyond the float range (however many digits) the value is an infinity of its sign, never
    // a conversion out of range.
    const double value = FWCLocale::ParseDouble(copy.c_str());
    if (std::fabs(value) > double(FLT_MAX))
        return value > 0 ? HUGE_VALF : -HUGE_VALF;
    return float(value);
}

void FWString::Set(int32_t value)
{
    char buffer[16];
    int count = std::snprintf(buffer, sizeof buffer, "%" PRId32, value);
    Set(uint32_t(count), buffer);
}

void FWString::Set(double value, int16_t width, int16_t precision, bool keepZeros)
{
    // Sized to the formatted text: a huge value or width never overflows the buffer.
    std::string text = FWCLocale::FormatFixed(value, width, precision);
    if (!keepZeros && text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0')
            text.pop_back();
    }
    if (!text.empty() && text.back() == '.')
        text.push_back('0');
    if (text == "-0.0")
        text = "0.0";
    Set(uint32_t(text.size()), text.data());
}

bool FWString::operator<(const FWString& other) const
{
    return FWStringUtils::Less(mData, mLength, other.mData, other.mLength);
}

bool FWString::operator==(const FWString& other) const
{
    return FWStringUtils::Equal(mData, mLength, other.mData, other.mLength);
}

bool FWString::operator==(const char* p) const
{
    if (p == nullptr)
        p = "";
    return FWStringUtils::Equal(mData, mLength, p, uint32_t(std::strlen(p)));
}
