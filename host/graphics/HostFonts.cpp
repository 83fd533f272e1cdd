// FreeType text: DejaVu faces from the system font folder, glyphs rendered once per font, size,
// style and byte and kept in a bounded cache. Italic and condensed are transforms of the upright
// faces; outline and shadow are made from the rendered coverage.
#include "HostFonts.h"

#include "HostMacRoman.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";

// Regular and bold file of each family: sans, serif, mono.
constexpr const char* kFontFiles[3][2] = {
    {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf"},
    {"DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf"},
    {"DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf"},
};

constexpr uint8_t kEllipsis = 0xC9;
constexpr size_t kMaxCachedGlyphs = 8192;

// Synthetic styles: a slant of about 12 degrees, and 85% of the width.
constexpr FT_Fixed kItalicShear = 13763;
constexpr FT_Fixed kCondenseScale = 55706;

int familyOf(int16_t font)
{
    switch (font) {
    case 2:
        return 1;
    case 4:
        return 2;
    default:
        return 0;
    }
}

bool isControl(uint8_t byte)
{
    return byte < 0x20 || byte == 0x7F;
}

bool isSpace(uint8_t byte)
{
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n';
}

} // namespace

struct HostFonts::Glyph {
    int32_t advance = 0;
    int32_t left = 0;   // ink origin relative to the pen
    int32_t top = 0;    // rows of ink above the baseline
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> coverage;
};

// Ink may not stray outside the glyph's advance: a glyph whose ink starts before the pen or ends
// past the advance is moved (by a pixel or two at small sizes), and a glyph whose ink is wider
// than its advance (slanted ones) gets the room it needs. Text ink then always lies within its
// measured width, and widths still add up byte by byte.
void HostFonts::keepInkWithinAdvance(Glyph& g)
{
    if (g.width == 0)
        return;
    g.advance = std::max(g.advance, g.width);
    g.left = std::clamp(g.left, 0, g.advance - g.width);
}

struct HostFonts::Faces {
    FT_Library library = nullptr;
    FT_Face faces[6] = {}; // family * 2 + bold
    std::unordered_map<uint32_t, Glyph> glyphs;
    std::unordered_map<uint32_t, HostFontMetrics> metrics;
    // The glyphs of the last font asked for, by byte, so that text in one font finds each glyph
    // without hashing; null where not looked up yet. Cleared with the cache.
    HostFontSpec recentSpec;
    const Glyph* recent[256] = {};

    const Glyph*& recentGlyph(const HostFontSpec& spec, uint8_t byte)
    {
        if (spec.font != recentSpec.font || spec.size != recentSpec.size || spec.face != recentSpec.face) {
            forgetRecent();
            recentSpec = spec;
        }
        return recent[byte];
    }
    void forgetRecent() { std::fill(std::begin(recent), std::end(recent), nullptr); }

    ~Faces()
    {
        for (FT_Face f : faces) {
            if (f)
                FT_Done_Face(f);
        }
        if (library)
            FT_Done_FreeType(library);
    }

    // The face for a font and style, falling back to the regular face of the family, then to
    // DejaVu Sans; null when not even that exists.
    FT_Face faceFor(const HostFontSpec& spec, int* index)
    {
        int family = familyOf(spec.font);
        int wanted = family * 2 + ((spec.face & kHostFaceBold) ? 1 : 0);
        for (int i : {wanted, family * 2, 0}) {
            if (faces[i]) {
                *index = i;
                return faces[i];
            }
        }
        return nullptr;
    }
};

HostFonts& HostFonts::Instance()
{
    static HostFonts instance;
    return instance;
}

HostFonts::HostFonts() : mFaces(std::make_unique<Faces>())
{
    if (FT_Init_FreeType(&mFaces->library) != 0) {
        mFaces->library = nullptr;
        return;
    }
    for (int family = 0; family < 3; ++family) {
        for (int bold = 0; bold < 2; ++bold) {
            std::string path = std::string(kFontFolder) + kFontFiles[family][bold];
            FT_Face face = nullptr;
            if (FT_New_Face(mFaces->library, path.c_str(), 0, &face) == 0)
                mFaces->faces[family * 2 + bold] = face;
        }
    }
}

HostFonts::~HostFonts() = default;

bool HostFonts::Available() const
{
    return mFaces->faces[0] != nullptr;
}

HostFontSpec HostFonts::normalised(const HostFontSpec& spec)
{
    HostFontSpec n = spec;
    if (n.size == 0)
        n.size = 12;
    n.size = std::clamp<int16_t>(n.size, 1, 256);
    return n;
}

void HostFonts::trimCache()
{
    if (mFaces->glyphs.size() <= kMaxCachedGlyphs)
        return;
    mFaces->glyphs.clear();
    mFaces->forgetRecent();
}

HostFontMetrics HostFonts::Metrics(const HostFontSpec& requested)
{
    HostFontSpec spec = normalised(requested);
    int index = 0;
    FT_Face face = mFaces->faceFor(spec, &index);
    if (!face)
        return HostFontMetrics{};
    uint32_t key = (uint32_t(spec.size) << 8) | (uint32_t(index) << 17) | (uint32_t(spec.face) << 20);
    auto found = mFaces->metrics.find(key);
    if (found != mFaces->metrics.end())
        return found->second;

    HostFontMetrics m;
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(spec.size)) == 0) {
        const FT_Size_Metrics& sm = face->size->metrics;
        int32_t ascent = int32_t((sm.ascender + 63) >> 6);
        int32_t descent = int32_t((-sm.descender + 63) >> 6);
        int32_t height = int32_t((sm.height + 32) >> 6);
        int32_t extra = (spec.face & kHostFaceShadow) ? 2 : (spec.face & kHostFaceOutline) ? 1 : 0;
        m.ascent = int16_t(ascent + (extra ? 1 : 0));
        m.descent = int16_t(descent + extra);
        m.widMax = int16_t(((sm.max_advance + 32) >> 6) + extra + (extra ? 1 : 0));
        m.leading = int16_t(std::max(0, height - ascent - descent));
    }
    mFaces->metrics[key] = m;
    return m;
}

const HostFonts::Glyph& HostFonts::glyph(const HostFontSpec& spec, uint8_t byte)
{
    const Glyph*& recent = mFaces->recentGlyph(spec, byte);
    if (recent == nullptr)
        recent = &cachedGlyph(spec, byte);
    return *recent;
}

const HostFonts::Glyph& HostFonts::cachedGlyph(const HostFontSpec& spec, uint8_t byte)
{
    static const Glyph kNone;
    int index = 0;
    FT_Face face = mFaces->faceFor(spec, &index);
    if (!face)
        return kNone;
    uint8_t styles = spec.face & (kHostFaceItalic | kHostFaceOutline | kHostFaceShadow | kHostFaceCondense);
    uint32_t key = uint32_t(byte) | (uint32_t(spec.size) << 8) | (uint32_t(index) << 17) | (uint32_t(styles) << 20);
    auto found = mFaces->glyphs.find(key);
    if (found != mFaces->glyphs.end())
        return found->second;

    Glyph& g = mFaces->glyphs[key];
    if (isControl(byte) || FT_Set_Pixel_Sizes(face, 0, FT_UInt(spec.size)) != 0)
        return g;
    FT_Matrix matrix{0x10000, 0, 0, 0x10000};
    if (spec.face & kHostFaceCondense)
        matrix.xx = kCondenseScale;
    if (spec.face & kHostFaceItalic)
        matrix.xy = kItalicShear;
    bool transformed = (spec.face & (kHostFaceCondense | kHostFaceItalic)) != 0;
    FT_Set_Transform(face, transformed ? &matrix : nullptr, nullptr);
    FT_Error error = FT_Load_Char(face, HostMacRomanToUnicode(byte), FT_LOAD_DEFAULT);
    if (!error)
        error = FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
    FT_Set_Transform(face, nullptr, nullptr);
    if (error)
        return g;

    FT_GlyphSlot slot = face->glyph;
    g.advance = int32_t((slot->advance.x + 32) >> 6);
    const FT_Bitmap& bitmap = slot->bitmap;
    int32_t w = int32_t(bitmap.width);
    int32_t h = int32_t(bitmap.rows);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    std::vector<uint8_t> ink(size_t(w) * size_t(h));
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* row = bitmap.buffer + int64_t(y) * bitmap.pitch;
        if (bitmap.pitch < 0)
            row = bitmap.buffer + int64_t(h - 1 - y) * -int64_t(bitmap.pitch);
        std::copy(row, row + w, ink.begin() + int64_t(y) * w);
    }

    bool outline = (spec.face & (kHostFaceOutline | kHostFaceShadow)) != 0;
    if (!outline || w == 0 || h == 0) {
        g.width = w;
        g.height = h;
        g.coverage = std::move(ink);
        keepInkWithinAdvance(g);
        return g;
    }

    // Outline: the ink grown by one pixel less the ink itself. Shadow adds the grown ink moved
    // one pixel right and down. The glyph moves one pixel right and its advance grows, so the
    // hollow ink stays inside the measured width.
    bool shadow = (spec.face & kHostFaceShadow) != 0;
    int32_t pad = shadow ? 3 : 2;
    int32_t ow = w + pad;
    int32_t oh = h + pad;
    auto inkAt = [&](int32_t x, int32_t y) -> int32_t {
        x -= 1;
        y -= 1;
        return (x >= 0 && y >= 0 && x < w && y < h) ? ink[size_t(y) * size_t(w) + size_t(x)] : 0;
    };
    auto grownAt = [&](int32_t x, int32_t y) -> int32_t {
        int32_t best = 0;
        for (int32_t dy = -1; dy <= 1; ++dy) {
            for (int32_t dx = -1; dx <= 1; ++dx)
                best = std::max(best, inkAt(x + dx, y + dy));
        }
        return best;
    };
    g.coverage.assign(size_t(ow) * size_t(oh), 0);
    for (int32_t y = 0; y < oh; ++y) {
        for (int32_t x = 0; x < ow; ++x) {
            int32_t edge = grownAt(x, y);
            if (shadow)
                edge = std::max(edge, grownAt(x - 1, y - 1));
            g.coverage[size_t(y) * size_t(ow) + size_t(x)] = uint8_t(std::max(0, edge - inkAt(x, y)));
        }
    }
    g.width = ow;
    g.height = oh;
    g.top += 1;
    g.advance += shadow ? 3 : 2;
    keepInkWithinAdvance(g);
    return g;
}

int32_t HostFonts::Width(const HostFontSpec& requested, const uint8_t* text, int32_t count)
{
    if (text == nullptr || count <= 0 || !Available())
        return 0;
    HostFontSpec spec = normalised(requested);
    trimCache();
    int64_t width = 0;
    for (int32_t i = 0; i < count; ++i)
        width += glyph(spec, text[i]).advance;
    return int32_t(std::min<int64_t>(width, INT32_MAX));
}

// Rows outside 32-bit store coordinates lie outside every store, so they are left out.
void HostFonts::coverGlyph(HostRaster& raster, const Glyph& g, int32_t x, int64_t top, const HostPaint& paint)
{
    const int64_t first = std::max<int64_t>(top, int64_t(INT32_MIN) + 1);
    const int64_t end = std::min<int64_t>(top + g.height, INT32_MAX);
    if (first >= end)
        return;
    raster.CoverBox(x, int32_t(first), &g.coverage[size_t(first - top) * size_t(g.width)], g.width,
                    int32_t(end - first), paint);
}

int32_t HostFonts::Draw(HostRaster& raster, const HostFontSpec& requested, int32_t h, int32_t v, const uint8_t* text,
                       int32_t count, const HostPaint& paint)
{
    if (text == nullptr || count <= 0 || !Available())
        return 0;
    HostFontSpec spec = normalised(requested);
    trimCache();
    int64_t pen = h;
    for (int32_t i = 0; i < count; ++i) {
        const Glyph& g = glyph(spec, text[i]);
        int64_t x = pen + g.left;
        if (!g.coverage.empty() && x > INT32_MIN && x + g.width < INT32_MAX)
            coverGlyph(raster, g, int32_t(x), int64_t(v) - g.top, paint);
        pen += g.advance;
    }
    if ((spec.face & kHostFaceUnderline) && pen > h && v < INT32_MAX)
        raster.FillSpan(v + 1, h, int32_t(std::min<int64_t>(pen, INT32_MAX)), paint);
    return int32_t(std::min<int64_t>(pen - h, INT32_MAX));
}

int32_t HostFonts::Truncate(const HostFontSpec& requested, int32_t width, uint8_t* text, int32_t length,
                           bool* truncated)
{
    if (truncated)
        *truncated = false;
    if (text == nullptr || length <= 0)
        return 0;
    HostFontSpec spec = normalised(requested);
    if (Width(spec, text, length) <= width)
        return length;
    if (truncated)
        *truncated = true;
    int32_t ellipsis = Width(spec, &kEllipsis, 1);
    if (ellipsis > width)
        return 0;
    int32_t kept = 0;
    int64_t used = 0;
    while (kept < length) {
        int32_t w = glyph(spec, text[kept]).advance;
        if (used + w + ellipsis > width)
            break;
        used += w;
        ++kept;
    }
    // The whole text did not fit, so kept < length and the ellipsis replaces a byte in place.
    text[kept] = kEllipsis;
    return kept + 1;
}

int32_t HostFonts::BreakLine(const HostFontSpec& requested, const uint8_t* text, int32_t length, int32_t start,
                            int32_t width)
{
    if (text == nullptr || length <= 0)
        return 0;
    start = std::clamp(start, 0, length);
    HostFontSpec spec = normalised(requested);
    trimCache();
    int64_t used = 0;
    int32_t lastBreak = -1;
    for (int32_t i = start; i < length; ++i) {
        uint8_t c = text[i];
        if (c == '\r' || c == '\n')
            return i + 1;
        int32_t w = glyph(spec, c).advance;
        if (isSpace(c)) {
            used += w;
            lastBreak = i + 1;
            continue;
        }
        if (used + w > width) {
            if (lastBreak > start)
                return lastBreak;
            return std::max(i, start + 1);
        }
        used += w;
        if (c == '-')
            lastBreak = i + 1;
    }
    return length;
}

int32_t HostFonts::VisibleLength(const uint8_t* text, int32_t length)
{
    if (text == nullptr)
        return 0;
    while (length > 0 && isSpace(text[length - 1]))
        --length;
    return std::max(length, 0);
}
