// Locators against the host's files: the host names items by absolute POSIX paths on one volume,
// whose locator form is "/Volumes/<volume name>/...".
#include "FS_UtilPAC.h"

#include "FS_ErrorCodeUtil.h"

namespace Corvel {

int FS_UtilPAC::OSErrToFSErr(OSErr result)
{
    switch (result) {
    case noErr: return kFS_NoError;
    case permErr: return kFS_InvalidPrivilege;
    case wrPermErr: return kFS_InvalidAccess;
    case bdNamErr: return kFS_BadPathName;
    case fnfErr: return kFS_FileNotFound;
    case opWrErr: return kFS_FileAlreadyOpen;
    case -1302: return kFS_NotAFile;
    case dupFNErr: return kFS_DuplicateFile;
    case -19: return kFS_ReadError;
    case -20: return kFS_WriteError;
    case eofErr: return kFS_EndOfData;
    case dskFulErr: return kFS_DiskFull;
    case dirNFErr: return kFS_DirectoryNotFound;
    case fBsyErr: return kFS_DirectoryNotEmpty;
    case nsvErr: return kFS_VolumeNotFound;
    default: return kFS_IOError;
    }
}

void FS_UtilPAC::GetFileNameExtension(const FS_Locator& locator, FWString& out)
{
    out.SetCurrLength(0);
    if (locator.NumNames() == 0)
        return;
    // Names are UTF-8 (or single-byte text): a '.' byte is always a character of its own.
    const FWString& name = locator.LastName();
    for (uint32_t i = name.GetCurrLength(); i > 0; --i) {
        if (name[i - 1] == '.') {
            out.Set(name.GetCurrLength() - i, name.GetCString() + i);
            return;
        }
    }
}

} // namespace Corvel
