#include "FS_ResourceFileRA.h"

#include "FS_ResourceUtil.h"

namespace Corvel {

FS_ResourceFileRA::FS_ResourceFileRA(const FS_Locator& file, bool writable)
    : mOpenedFile(0), mPreviousFile(FS_ResourceUtil::CurrentResourceFile())
{
    mOpenedFile = FS_ResourceUtil::OpenResourceFile(file, writable);
}

FS_ResourceFileRA::~FS_ResourceFileRA()
{
    if (mOpenedFile != 0)
        FS_ResourceUtil::CloseResourceFile(mOpenedFile);
    FS_ResourceUtil::UseResourceFile(mPreviousFile);
}

} // namespace Corvel
