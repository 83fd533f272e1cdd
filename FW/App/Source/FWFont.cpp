// Fonts mapped to the platform's numbers and faces, and measured on the drawing context's
// shared off-screen buffer.
#include "FWFont.h"

#include "CGWorldSaver.h"
#include "FWDrawContext.h"
#include "FWString.h"
#include "HostPorts.h"
#include "HostScript.h"
#include "ImageBuffer.h"

#include <algorithm>

namespace {

// Measured in pieces so that each width fits the port's 16-bit result.
constexpr int32_t kMeasureChunk = 64;

// Makes the shared buffer current with the font set; false when there is no buffer.
bool prepareMeasuring(const FWFont& font)
{
    const FWRect small(0, 0, 1, 1);
    if (!FWDrawContext::check_op_buffer_size(&small))
        return false;
    GWorldPtr world = FWDrawContext::OpBuffer().GetPDB();
    SetGWorld(world, GetGWorldDevice(world));
    TextFont(font.PlatformFont());
    TextSize(font.Size());
    TextFace(font.PlatformFace());
    return true;
}

} // namespace

int16_t FWFont::PlatformFont() const
{
    switch (mType) {
    case -1:
        return int16_t(GetScriptVariable(smSystemScript, smScriptSysFondSize) >> 16);
    case 0:
        return 0;
    case 2:
        return 2;
    default:
        return 3;
    }
}

int16_t FWFont::PlatformFace() const
{
    int16_t face = 0;
    for (uint32_t i = 0; i < 5; ++i)
        if (mStyle.GetFlag(i))
            face = int16_t(face | (1 << i));
    return face;
}

int32_t FWFont::GetStringWidth(const char* text, int32_t length) const
{
    if (text == nullptr || length <= 0)
        return 0;
    CGWorldSaver saver;
    if (!prepareMeasuring(*this))
        return 0;
    int32_t width = 0;
    for (int32_t at = 0; at < length; at += kMeasureChunk)
        width += TextWidth(text, int16_t(at), int16_t(std::min(kMeasureChunk, length - at)));
    return width;
}

int32_t FWFont::GetStringWidth(const FWString* text) const
{
    if (text == nullptr)
        return 0;
    return GetStringWidth(text->GetCurrData(), int32_t(text->GetCurrLength()));
}

void FWFont::GetFontMetrics(FWFontMetrics& metrics) const
{
    metrics = FWFontMetrics();
    CGWorldSaver saver;
    if (!prepareMeasuring(*this))
        return;
    FontInfo info{0, 0, 0, 0};
    GetFontInfo(&info);
    metrics.ascent = info.ascent;
    metrics.descent = info.descent;
    metrics.leading = info.leading;
}
