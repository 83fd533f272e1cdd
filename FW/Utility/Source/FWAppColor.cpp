#include "FWAppColor.h"

#include <array>
#include <cstddef>

namespace {

std::array<FWArgb32, kFWAppColorCount>& table()
{
    static std::array<FWArgb32, kFWAppColorCount> sTable{};
    return sTable;
}

FWArgb32 grey(int level)
{
    return FWArgb32(255, level, level, level);
}

} // namespace

FWArgb32 FWGetAppColor(int index)
{
    if (index < 0 || index >= kFWAppColorCount)
        return FWArgb32();
    return table()[std::size_t(index)];
}

void FWSetColorScheme()
{
    auto& colors = table();
    const int levels[] = {204, 255, 119, 134, 165, 173, 188, 219, 223, 154, 144};
    for (int i = 0; i < 11; ++i)
        colors[std::size_t(i)] = grey(levels[i]);
    colors[11] = FWArgb32(255, 255, 255, 102);
    colors[12] = grey(0);
    colors[13] = grey(255);
    for (int i = 14; i < kFWAppColorCount; ++i)
        colors[std::size_t(i)] = grey(238 - 17 * (i - 14));
}
