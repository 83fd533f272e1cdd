// The material attribute record handed to a shader: 260 bytes packed at 2-byte alignment, in
// native byte order. It is passed in memory only, never stored.
#pragma once

#include <cstdint>

#pragma pack(push, 2)
struct GATR {
    // A colour as four bytes: alpha, red, green, blue.
    struct ARGB {
        uint8_t alpha, red, green, blue;
    };

    uint16_t flags;                  // 0
    ARGB diffuse;                    // 2
    ARGB ambient;                    // 6
    ARGB specular;                   // 10
    float specularSize;              // 14
    ARGB transparency;               // 18
    float refractionIndex;           // 22
    ARGB reflection;                 // 26
    ARGB luminance;                  // 30
    float reserved10[2];             // 34
    ARGB colour12;                   // 42
    ARGB diffuse2;                   // 46
    float diffuseFalloff;            // 50
    float specularFalloff;           // 54
    float reserved16[5];             // 58
    int16_t short21;                 // 78
    ARGB colour22;                   // 80
    float float23;                   // 84
    uint8_t bytes24[4];              // 88
    float reserved25[6];             // 92
    float float31;                   // 116
    float reserved32[2];             // 120
    int32_t long34;                  // 128
    int32_t long35;                  // 132
    float float36;                   // 136
    int32_t long37;                  // 140
    int32_t long38;                  // 144
    float float39;                   // 148
    float float40;                   // 152
    float reserved41[3];             // 156
    float float44;                   // 168
    ARGB colour45;                   // 172
    float reserved46[3];             // 176
    float float49;                   // 188
    float float50;                   // 192
    ARGB colour51;                   // 196
    float float52;                   // 200
    float float53;                   // 204
    float float54;                   // 208
    int32_t long55;                  // 212
    float float56;                   // 216
    float float57;                   // 220
    float float58;                   // 224
    float reserved59[5];             // 228
    int32_t long64;                  // 248
    float float65;                   // 252
    float float66;                   // 256
};
#pragma pack(pop)

static_assert(sizeof(GATR) == 260, "the material record is 260 bytes");

// Sets every field of the record to its default.
void InitGATR(GATR* record);
