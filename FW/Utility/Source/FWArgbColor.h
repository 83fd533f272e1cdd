// A colour of four floating-point components alpha, red, green, blue in 0..1, with the named
// colours. Its greys are numbered by lightness: Gray87 is light (0.87), unlike FWArgb32's.
#pragma once

class FWArgb32;

class FWArgbColor {
public:
    constexpr FWArgbColor() = default;
    constexpr FWArgbColor(float a_, float r_, float g_, float b_) : a(a_), r(r_), g(g_), b(b_) {}
    // Each byte / 255.
    FWArgbColor(const FWArgb32& color);
    FWArgbColor& operator=(const FWArgb32& color);

    void Set(float a_, float r_, float g_, float b_)
    {
        a = a_;
        r = r_;
        g = g_;
        b = b_;
    }

    // Black alone has alpha 0.0; every other named colour is opaque.
    static const FWArgbColor Black, Gray87, Gray75, Gray62, Gray50, Gray37, Gray25, Gray12, White;
    static const FWArgbColor Red, Green, Blue, Cyan, Magenta, Yellow;
    static const FWArgbColor SoftYellow, SoftRed, SoftCyan, SoftBlue;

    float a = 0.0f;
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

inline constexpr FWArgbColor FWArgbColor::Black{0.0f, 0.0f, 0.0f, 0.0f};
inline constexpr FWArgbColor FWArgbColor::Gray87{1.0f, 0.87f, 0.87f, 0.87f};
inline constexpr FWArgbColor FWArgbColor::Gray75{1.0f, 0.75f, 0.75f, 0.75f};
inline constexpr FWArgbColor FWArgbColor::Gray62{1.0f, 0.62f, 0.62f, 0.62f};
inline constexpr FWArgbColor FWArgbColor::Gray50{1.0f, 0.5f, 0.5f, 0.5f};
inline constexpr FWArgbColor FWArgbColor::Gray37{1.0f, 0.37f, 0.37f, 0.37f};
inline constexpr FWArgbColor FWArgbColor::Gray25{1.0f, 0.25f, 0.25f, 0.25f};
inline constexpr FWArgbColor FWArgbColor::Gray12{1.0f, 0.12f, 0.12f, 0.12f};
inline constexpr FWArgbColor FWArgbColor::White{1.0f, 1.0f, 1.0f, 1.0f};
inline constexpr FWArgbColor FWArgbColor::Red{1.0f, 1.0f, 0.0f, 0.0f};
inline constexpr FWArgbColor FWArgbColor::Green{1.0f, 0.0f, 1.0f, 0.0f};
inline constexpr FWArgbColor FWArgbColor::Blue{1.0f, 0.0f, 0.0f, 1.0f};
inline constexpr FWArgbColor FWArgbColor::Cyan{1.0f, 0.0f, 1.0f, 1.0f};
inline constexpr FWArgbColor FWArgbColor::Magenta{1.0f, 1.0f, 0.0f, 1.0f};
inline constexpr FWArgbColor FWArgbColor::Yellow{1.0f, 1.0f, 1.0f, 0.0f};
inline constexpr FWArgbColor FWArgbColor::SoftYellow{1.0f, 0.996f, 0.839f, 0.0f};
inline constexpr FWArgbColor FWArgbColor::SoftRed{1.0f, 0.941f, 0.761f, 0.899f};
inline constexpr FWArgbColor FWArgbColor::SoftCyan{1.0f, 0.745f, 0.847f, 0.416f};
inline constexpr FWArgbColor FWArgbColor::SoftBlue{1.0f, 0.867f, 0.867f, 0.867f};
