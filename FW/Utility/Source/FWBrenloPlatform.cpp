#include "FWBrenloPlatform.h"

#include "FWProgrammerMessage.h"

namespace {

const FWBrenloPlatform::tInfo kPlatforms[FWBrenloPlatform::kCount] = {
    {0, {1, 2, 4, 4, 4, 8}, {1, 1, 1, 1, 1, 1}},
    {0, {1, 2, 4, 4, 4, 8}, {1, 2, 2, 2, 2, 2}},
    {0, {1, 2, 4, 4, 4, 8}, {1, 2, 4, 4, 4, 4}},
    {0, {1, 2, 4, 4, 4, 8}, {1, 2, 2, 2, 2, 2}},
    {1, {1, 2, 4, 4, 4, 8}, {1, 2, 4, 4, 4, 8}},
    {0, {1, 2, 4, 4, 4, 8}, {1, 2, 4, 4, 4, 8}},
    {1, {1, 2, 4, 4, 4, 8}, {1, 2, 4, 4, 4, 4}},
};

} // namespace

const FWBrenloPlatform::tInfo& FWBrenloPlatform::Info(int index)
{
    if (index < 0 || index >= kCount) {
        fw_programmer_message("", "FW/Utility/Source/FWIOStream", 58);
        return kPlatforms[0];
    }
    return kPlatforms[index];
}

FWPlatform::tByteOrder FWBrenloPlatform::ConvertByteOrder(int32_t flag)
{
    return flag == 0 ? FWPlatform::kBigEndian : FWPlatform::kLittleEndian;
}
