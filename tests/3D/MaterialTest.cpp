// The material attribute record, its defaults, and a material filling it.
#include "GATR.h"
#include "Material.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace {

std::vector<uint8_t> bytesAt(const GATR& g, size_t offset, size_t count)
{
    const auto* p = reinterpret_cast<const uint8_t*>(&g) + offset;
    return std::vector<uint8_t>(p, p + count);
}

float floatAt(const GATR& g, size_t offset)
{
    float value = 0.0f;
    std::memcpy(&value, reinterpret_cast<const uint8_t*>(&g) + offset, sizeof value);
    return value;
}

TEST(GATR, FieldsSitAtTheirPackedOffsets)
{
    EXPECT_EQ(260u, sizeof(GATR));
    EXPECT_EQ(0u, offsetof(GATR, flags));
    EXPECT_EQ(2u, offsetof(GATR, diffuse));
    EXPECT_EQ(14u, offsetof(GATR, specularSize));
    EXPECT_EQ(18u, offsetof(GATR, transparency));
    EXPECT_EQ(46u, offsetof(GATR, diffuse2));
    EXPECT_EQ(78u, offsetof(GATR, short21));
    EXPECT_EQ(80u, offsetof(GATR, colour22));
    EXPECT_EQ(128u, offsetof(GATR, long34));
    EXPECT_EQ(196u, offsetof(GATR, colour51));
    EXPECT_EQ(248u, offsetof(GATR, long64));
    EXPECT_EQ(256u, offsetof(GATR, float66));
}

TEST(GATR, InitSetsTheDefaults)
{
    GATR g;
    std::memset(&g, 0xAB, sizeof g);
    InitGATR(&g);
    EXPECT_EQ(0x2200, g.flags);
    EXPECT_EQ((std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}), bytesAt(g, 2, 4));
    EXPECT_EQ((std::vector<uint8_t>{0xFF, 0x00, 0x00, 0x00}), bytesAt(g, 18, 4));
    EXPECT_EQ((std::vector<uint8_t>{0x00, 0x00, 0x00, 0x00}), bytesAt(g, 30, 4));
    EXPECT_EQ((std::vector<uint8_t>{0xFF, 0x80, 0x80, 0x80}), bytesAt(g, 196, 4));
    EXPECT_EQ(200.0f, floatAt(g, 14));
    EXPECT_EQ(1.0f, floatAt(g, 22));
    EXPECT_EQ(5.0f, floatAt(g, 136));
    EXPECT_EQ(15.0f, floatAt(g, 220));
    EXPECT_EQ(0.2f, floatAt(g, 256));
    EXPECT_EQ((std::vector<uint8_t>{0x08, 0, 0, 0}), bytesAt(g, 132, 4)); // little-endian here
}

TEST(Material, GetScalesColoursByTheirAmounts)
{
    Material m;
    m.SetDiffuse(FWArgbColor(1.0f, 0.5f, 0.25f, 1.0f), 0.5f);
    m.SetSpecularSize(30.0f);
    m.SetRefractionIndex(1.5f);
    GATR g;
    m.Get(&g);
    EXPECT_EQ((std::vector<uint8_t>{0xFF, 0x3F, 0x1F, 0x7F}), bytesAt(g, 2, 4));
    EXPECT_EQ((std::vector<uint8_t>{0xFF, 0x3F, 0x1F, 0x7F}), bytesAt(g, 46, 4));
    EXPECT_EQ(0x2280, g.flags);
    EXPECT_EQ(30.0f, floatAt(g, 14));
    EXPECT_EQ(1.5f, floatAt(g, 22));
    // An unset colour has alpha 0 and no amount.
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 0}), bytesAt(g, 6, 4));
    // Shading draws nothing and keeps no pointer to the record it was given.
    EXPECT_EQ(nullptr, m.GetPreviewBuffer());
    m.InvalidatePreview();
    m.GetPreviewBuffer();
    EXPECT_EQ(nullptr, Material::mShader.Record());
}

} // namespace
