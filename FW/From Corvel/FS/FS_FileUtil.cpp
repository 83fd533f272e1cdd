#include "FS_FileUtil.h"

#include "FS_ErrorCodeUtil.h"
#include "FS_UtilPAC.h"

namespace Corvel {

void FS_FileUtil::LocatorToPathName(const FS_Locator& locator, FWString& out)
{
    FS_UtilPAC::LocatorToPathName(locator, out, false);
}

void FS_FileUtil::MakeFile(const FS_Locator& locator)
{
    FS_ErrorCodeUtil::Throw(FS_UtilPAC::MakeFile(locator));
}

bool FS_FileUtil::Exists(const FS_Locator& locator)
{
    return FS_UtilPAC::FileExists(locator);
}

} // namespace Corvel
