#include "FS_Locator.h"

#include "FWProgrammerMessage.h"

namespace Corvel {

namespace {
const char* const kSourcePath = "FW/From Corvel/FS/FS_Locator";
const FWDynamicString kNoName;
} // namespace

void FS_Locator::AppendName(const char* name)
{
    mNames.emplace_back(name);
}

void FS_Locator::AppendName(const FWString& name)
{
    mNames.emplace_back(name);
}

void FS_Locator::RemoveLastName()
{
    if (!mNames.empty())
        mNames.pop_back();
}

void FS_Locator::Clear()
{
    mNames.clear();
    mFileType = 0;
}

const FWDynamicString& FS_Locator::operator[](uint32_t index) const
{
    if (mNames.empty()) {
        fw_programmer_message("Name of an empty locator", kSourcePath, __LINE__);
        return kNoName;
    }
    return index < mNames.size() ? mNames[index] : mNames.back();
}

const FWDynamicString& FS_Locator::LastName() const
{
    if (mNames.empty()) {
        fw_programmer_message("Name of an empty locator", kSourcePath, __LINE__);
        return kNoName;
    }
    return mNames.back();
}

bool operator==(const FS_Locator& a, const FS_Locator& b)
{
    if (a.NumNames() != b.NumNames())
        return false;
    for (uint32_t i = 0; i < a.NumNames(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

} // namespace Corvel
