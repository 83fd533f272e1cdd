#include "SampleImages.h"

#include <algorithm>

ByteBuilder SamplePicture(uint32_t color)
{
    ByteBuilder b;
    b.Short(0).Rect(0, 0, 1, 2).Short(0x0011).Short(0x02FF).Short(0x0C00).Fill(24, 0);
    b.Short(0x009A).Long(0xFF).Short(0x8000 | 4).Rect(0, 0, 1, 1);
    b.Short(0).Short(1).Long(0).Long(0).Long(0).Short(16).Short(32).Short(4).Short(8).Long(0).Long(0).Long(0);
    b.Rect(0, 0, 1, 1).Rect(0, 0, 1, 1).Short(0).Long(color);
    b.Short(0x00FF);
    return b;
}

ByteBuilder SampleColourIcon()
{
    ByteBuilder b;
    b.Long(0).Short(0x8000 | 2).Rect(0, 0, 1, 1);
    b.Short(0).Short(0).Long(0).Long(0).Long(0).Short(0).Short(8);
    b.Short(1).Short(8).Long(0).Long(0).Long(0).Long(0);
    b.Short(2).Rect(0, 0, 1, 1).Long(0);
    b.Short(2).Rect(0, 0, 1, 1).Long(0);
    b.Bytes({0x80, 0}).Bytes({0, 0});
    b.Long(0).Short(0).Short(0).Short(0).Short(0xFFFF).Short(0).Short(0);
    b.Bytes({0, 0});
    return b;
}

ByteBuilder SampleArgb(int width, int height, uint32_t color)
{
    ByteBuilder b;
    b.Long(width).Long(height);
    for (int64_t left = int64_t(width) * height; left > 0; left -= 128)
        b.Byte(int(std::min<int64_t>(left, 128) - 1)).Long(color);
    return b;
}
