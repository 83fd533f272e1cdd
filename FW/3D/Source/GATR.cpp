#include "GATR.h"

#include <cstddef>
#include <cstring>

namespace {

// The arrays of the packed record may sit on 2-byte boundaries: each element is set through
// the record, never through a plain float pointer.
#define FILL(array, value)                                             \
    for (size_t i = 0; i < sizeof(array) / sizeof(array[0]); ++i)      \
        array[i] = value

constexpr GATR::ARGB kWhite{255, 255, 255, 255};
constexpr GATR::ARGB kBlack{255, 0, 0, 0};

} // namespace

void InitGATR(GATR* g)
{
    if (g == nullptr)
        return;
    std::memset(g, 0, sizeof *g);
    g->flags = 0x2200;
    g->diffuse = g->ambient = g->specular = kWhite;
    g->specularSize = 200.0f;
    g->transparency = kBlack;
    g->refractionIndex = 1.0f;
    g->reflection = kBlack;
    g->luminance = GATR::ARGB{0, 0, 0, 0};
    g->colour12 = g->transparency;
    g->diffuse2 = kWhite;
    g->diffuseFalloff = 1.0f;
    g->specularFalloff = 1.0f;
    FILL(g->reserved16, 1.0f);
    g->colour22 = kBlack;
    g->float23 = 1.0f;
    g->float31 = 1.0f;
    g->long35 = 8;
    g->float36 = 5.0f;
    g->long38 = 8;
    g->float39 = 5.0f;
    FILL(g->reserved41, 1.0f);
    g->colour45 = kWhite;
    FILL(g->reserved46, 1.0f);
    g->float50 = 10.0f;
    g->colour51 = GATR::ARGB{255, 128, 128, 128};
    g->float52 = 1.0f;
    g->float53 = 100.0f;
    g->float54 = 10.0f;
    g->float56 = 1.0f;
    g->float57 = 15.0f;
    g->float58 = 0.5f;
    FILL(g->reserved59, 1.0f);
    g->float65 = 1.0f;
    g->float66 = 0.2f;
}
