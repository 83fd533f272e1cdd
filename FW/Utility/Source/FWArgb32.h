// A colour of four bytes in the order alpha, red, green, blue, with the named colours. Its
// greys are numbered by darkness: Gray87 is dark (32), unlike FWArgbColor's.
#pragma once

#include <cstdint>

class FWArgbColor;

// A colour as one 32-bit word: alpha in bits 24-31, then red, green, blue.
constexpr uint32_t MakeColor32(uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    return (a & 0xFF) << 24 | (r & 0xFF) << 16 | (g & 0xFF) << 8 | (b & 0xFF);
}
constexpr uint8_t GetAlpha32(uint32_t color) { return uint8_t(color >> 24); }
constexpr uint8_t GetRed32(uint32_t color) { return uint8_t(color >> 16); }
constexpr uint8_t GetGreen32(uint32_t color) { return uint8_t(color >> 8); }
constexpr uint8_t GetBlue32(uint32_t color) { return uint8_t(color); }
// Each setter replaces one channel of a pixel word and keeps the other three.
constexpr void SetAlpha32(uint32_t& color, uint8_t a) { color = (color & 0x00FFFFFFu) | uint32_t(a) << 24; }
constexpr void SetRed32(uint32_t& color, uint8_t r) { color = (color & 0xFF00FFFFu) | uint32_t(r) << 16; }
constexpr void SetGreen32(uint32_t& color, uint8_t g) { color = (color & 0xFFFF00FFu) | uint32_t(g) << 8; }
constexpr void SetBlue32(uint32_t& color, uint8_t b) { color = (color & 0xFFFFFF00u) | uint32_t(b); }

class FWArgb32 {
public:
    constexpr FWArgb32() = default;
    // Each argument is taken as its low byte.
    constexpr FWArgb32(int a_, int r_, int g_, int b_)
        : a(uint8_t(a_)), r(uint8_t(r_)), g(uint8_t(g_)), b(uint8_t(b_)) {}
    // Each component x 255, truncated.
    FWArgb32(const FWArgbColor& color);
    FWArgb32& operator=(const FWArgbColor& color);

    void Set(int a_, int r_, int g_, int b_)
    {
        a = uint8_t(a_);
        r = uint8_t(r_);
        g = uint8_t(g_);
        b = uint8_t(b_);
    }
    // Moves red, green and blue by (target - c) x num / den toward target; alpha stays. den != 0.
    void LerpTo(const FWArgb32& target, int32_t num, int32_t den);
    // Red, green and blue each within tolerance; alpha ignored.
    bool NearEquals(const FWArgb32& other, int32_t tolerance) const;

    bool operator==(const FWArgb32& other) const
    {
        return a == other.a && r == other.r && g == other.g && b == other.b;
    }
    bool operator!=(const FWArgb32& other) const { return !(*this == other); }

    static const FWArgb32 Black, Gray87, Gray75, Gray62, Gray50, Gray37, Gray25, Gray12, White;
    static const FWArgb32 Red, Green, Blue, Cyan, Magenta, Yellow;

    uint8_t a = 0;
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};

// Constant-initialised, so they hold their values before any other static initialiser runs.
inline constexpr FWArgb32 FWArgb32::Black{255, 0, 0, 0};
inline constexpr FWArgb32 FWArgb32::Gray87{255, 32, 32, 32};
inline constexpr FWArgb32 FWArgb32::Gray75{255, 64, 64, 64};
inline constexpr FWArgb32 FWArgb32::Gray62{255, 96, 96, 96};
inline constexpr FWArgb32 FWArgb32::Gray50{255, 128, 128, 128};
inline constexpr FWArgb32 FWArgb32::Gray37{255, 160, 160, 160};
inline constexpr FWArgb32 FWArgb32::Gray25{255, 192, 192, 192};
inline constexpr FWArgb32 FWArgb32::Gray12{255, 224, 224, 224};
inline constexpr FWArgb32 FWArgb32::White{255, 255, 255, 255};
inline constexpr FWArgb32 FWArgb32::Red{255, 255, 0, 0};
inline constexpr FWArgb32 FWArgb32::Green{255, 0, 255, 0};
inline constexpr FWArgb32 FWArgb32::Blue{255, 0, 0, 255};
inline constexpr FWArgb32 FWArgb32::Cyan{255, 0, 255, 255};
inline constexpr FWArgb32 FWArgb32::Magenta{255, 255, 0, 255};
inline constexpr FWArgb32 FWArgb32::Yellow{255, 255, 255, 0};
