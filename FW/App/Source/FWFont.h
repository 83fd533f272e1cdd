// A font as the framework names it: a type (-1 the system script's font, 0, 1 or 2 the three
// framework fonts), a size in points and five style flags. A plain value, copied freely; the
// default is type 1, 9 points, plain. Measuring needs no drawing context.
#pragma once

#include "FWFlagsArray.h"

#include <cstdint>

class FWString;

// Ascent, descent and leading of a font, in pixels.
struct FWFontMetrics {
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t leading = 0;
};

class FWFont {
public:
    enum StyleFlag : uint32_t { kBold = 0, kItalic = 1, kUnderline = 2, kOutline = 3, kShadow = 4 };

    FWFont() = default;
    FWFont(int16_t type, int16_t size, bool bold = false) : mType(type), mSize(size) { SetBold(bold); }

    // Fields
    int16_t Type() const { return mType; }
    int16_t Size() const { return mSize; }
    bool Bold() const { return mStyle.GetFlag(kBold); }
    bool Italic() const { return mStyle.GetFlag(kItalic); }
    bool Underline() const { return mStyle.GetFlag(kUnderline); }
    bool Outline() const { return mStyle.GetFlag(kOutline); }
    bool Shadow() const { return mStyle.GetFlag(kShadow); }
    void SetType(int16_t type) { mType = type; }
    void SetSize(int16_t size) { mSize = size; }
    void SetBold(bool on) { mStyle.SetFlag(kBold, on); }
    void SetItalic(bool on) { mStyle.SetFlag(kItalic, on); }
    void SetUnderline(bool on) { mStyle.SetFlag(kUnderline, on); }
    void SetOutline(bool on) { mStyle.SetFlag(kOutline, on); }
    void SetShadow(bool on) { mStyle.SetFlag(kShadow, on); }

    // The platform's font number (types 0, 1, 2 give 0, 3, 2; -1 the system script's font)
    // and face bits (bold 1, italic 2, underline 4, outline 8, shadow 16).
    int16_t PlatformFont() const;
    int16_t PlatformFace() const;

    // Measuring, through the drawing context's shared off-screen buffer: 0 (or zero metrics)
    // when that buffer cannot be had.
    int32_t GetStringWidth(const char* text, int32_t length) const;
    int32_t GetStringWidth(const FWString* text) const;
    void GetFontMetrics(FWFontMetrics& metrics) const;

    bool operator==(const FWFont& other) const
    {
        return mType == other.mType && mSize == other.mSize && PlatformFace() == other.PlatformFace();
    }
    bool operator!=(const FWFont& other) const { return !(*this == other); }

private:
    int16_t mType = 1;
    int16_t mSize = 9;
    FWFlagsArray<5, unsigned char> mStyle;
};
