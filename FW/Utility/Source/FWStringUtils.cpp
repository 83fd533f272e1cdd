#include "FWStringUtils.h"

#include "FWApplicationRegion.h"
#include "HostText.h"

bool FWStringUtils::Less(const char* a, uint32_t lenA, const char* b, uint32_t lenB)
{
    return HostCompareText(a, b, lenA, lenB) < 0;
}

bool FWStringUtils::Equal(const char* a, uint32_t lenA, const char* b, uint32_t lenB)
{
    return HostCompareText(a, b, lenA, lenB) == 0;
}

bool FWStringUtils::IsPrintable(char c)
{
    if (FWGetApplicationRegion() != 0)
        return true;
    return static_cast<signed char>(c) > 31;
}

int FWStringUtils::StringByteType(const char* text, int32_t length, int32_t offset)
{
    if (text == nullptr || offset < 0 || offset >= length)
        return kPastEnd;
    // The system script never changes during a run.
    static const ScriptCode sSystemScript = ScriptCode(GetScriptManagerVariable(smSysScript));
    // The host call takes a 16-bit offset: hand it the text from at most 32767 bytes before.
    int32_t start = offset > 32767 ? offset - 32767 : 0;
    switch (CharacterByteType(text + start, int16_t(offset - start), sSystemScript)) {
    case smFirstByte:
        return kFirstByte;
    case smLastByte:
        return kLastByte;
    case smMiddleByte:
        return kMiddleByte;
    default:
        return kSingleByte;
    }
}
