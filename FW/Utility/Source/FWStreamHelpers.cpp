#include "FWStreamHelpers.h"

#include "FWRect.h"
#include "FWStream.h"
#include "FWStreamException.h"

void OffsetStream(FWStream& stream, int32_t n)
{
    if (n == 0)
        return;
    int64_t target = int64_t(stream.GetStreamPosition()) + n;
    if (target < 0 || target > int64_t(UINT32_MAX))
        throw FWSetPositionFailedException();
    stream.SetStreamPosition(uint32_t(target));
}

uint32_t LeaveSpaceForLongOffset(FWStream& stream)
{
    uint32_t at = stream.GetStreamPosition();
    stream.WriteLong(0);
    return at;
}

void PatchLongOffset(FWStream& stream, uint32_t at, int32_t value)
{
    uint32_t here = stream.GetStreamPosition();
    stream.SetStreamPosition(at);
    stream.WriteLong(value);
    stream.SetStreamPosition(here);
}

void WriteFWRect(FWStream& stream, const FWRect& rect)
{
    stream.WriteShort(rect.top);
    stream.WriteShort(rect.left);
    stream.WriteShort(rect.bottom);
    stream.WriteShort(rect.right);
}

void ReadFWRect(FWStream& stream, FWRect& rect)
{
    rect.top = stream.ReadShort();
    rect.left = stream.ReadShort();
    rect.bottom = stream.ReadShort();
    rect.right = stream.ReadShort();
}
