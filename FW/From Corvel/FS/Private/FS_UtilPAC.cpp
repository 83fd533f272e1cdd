// Locators against the host's files. The host names items by absolute POSIX paths on one
// volume; a locator made from a reference spells that volume out as "Volumes", <volume name>,
// and a path made from a locator turns that form back into the plain POSIX path.
#include "FS_UtilPAC.h"

#include "Env_MacPString.h"
#include "FS_ErrorCodeUtil.h"
#include "FS_FileTypeRegistry.h"
#include "FS_LocatorRegistry.h"
#include "FWStr.h"
#include "HostFiles.h"
#include "HostFolders.h"
#include "HostMacRoman.h"
#include "HostPathNames.h"
#include "HostProcess.h"

#include <string>

namespace Corvel {

namespace {

constexpr uint32_t kPlatformPathCapacity = 1024; // a path read from the platform
constexpr uint32_t kVolumeNameCapacity = 255;    // with its terminating zero
constexpr OSType kUnknownType = FOUR_CHAR_CODE("????");

void appendUtf16(uint32_t codePoint, std::u16string& out)
{
    if (codePoint < 0x10000) {
        out += char16_t(codePoint);
        return;
    }
    codePoint -= 0x10000;
    out += char16_t(0xD800 + (codePoint >> 10));
    out += char16_t(0xDC00 + (codePoint & 0x3FF));
}

// Strict UTF-8 (no overlong forms, surrogates or values past U+10FFFF); false if not.
bool utf16FromUtf8(const unsigned char* text, uint32_t length, std::u16string& out)
{
    out.clear();
    for (uint32_t i = 0; i < length;) {
        const unsigned char lead = text[i];
        uint32_t extra = 0;
        if (lead >= 0x80) {
            if ((lead & 0xE0) == 0xC0)
                extra = 1;
            else if ((lead & 0xF0) == 0xE0)
                extra = 2;
            else if ((lead & 0xF8) == 0xF0)
                extra = 3;
            else
                return false;
        }
        if (extra > length - i - 1)
            return false;
        uint32_t codePoint = extra == 0 ? lead : lead & (0x3F >> extra);
        for (uint32_t k = 1; k <= extra; ++k) {
            unsigned char next = text[i + k];
            if ((next & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        static const uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (codePoint < kSmallest[extra] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        appendUtf16(codePoint, out);
        i += extra + 1;
    }
    return true;
}

// A name as the platform's creation calls take it: UTF-8, else Mac Roman.
std::u16string platformName(const FWString& name)
{
    FWStr<255> held(name);
    const auto* bytes = reinterpret_cast<const unsigned char*>(held.GetCString());
    std::u16string out;
    if (utf16FromUtf8(bytes, held.GetCurrLength(), out))
        return out;
    out.clear();
    for (uint32_t i = 0; i < held.GetCurrLength(); ++i)
        out += char16_t(HostMacRomanToUnicode(bytes[i]));
    return out;
}

void utf8FromUtf16(const UniChar* units, uint32_t count, std::string& out)
{
    out.clear();
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        HostAppendUtf8(out, c);
    }
}

// The name of the item's volume in UTF-8, at most 254 bytes (cut at a character's start).
int volumeNameOf(const FSRef& ref, std::string& name)
{
    FSCatalogInfo info{};
    OSErr err = FSGetCatalogInfo(&ref, kFSCatInfoVolume, &info, nullptr, nullptr, nullptr);
    if (err != noErr)
        return FS_UtilPAC::OSErrToFSErr(err);
    HFSUniStr255 unicodeName{};
    FSVolumeInfoParam volume{};
    volume.ioVRefNum = info.volume;
    volume.volumeIndex = 0;
    volume.volumeName = &unicodeName;
    err = PBGetVolumeInfoSync(&volume);
    if (err != noErr)
        return FS_UtilPAC::OSErrToFSErr(err);
    utf8FromUtf16(unicodeName.unicode, unicodeName.length < 255 ? unicodeName.length : 255, name);
    if (name.size() > kVolumeNameCapacity - 1) {
        size_t cut = kVolumeNameCapacity - 1;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    return kFS_NoError;
}

// The type a file gets from its Finder type, or, as files have no Finder type (0) on this
// host, from its extension. Folders have no type.
void setTypeFromCatalogue(const FSRef& ref, FS_Locator& out)
{
    FSCatalogInfo info{};
    if (FSGetCatalogInfo(&ref, kFSCatInfoFinderInfo | kFSCatInfoNodeFlags, &info, nullptr, nullptr, nullptr) != noErr)
        return;
    const OSType finderType = info.finderInfo.fileType;
    if (finderType != 0 && FS_FileTypeRegistry::IsTypeRegistered(finderType)) {
        out.SetFileType(finderType);
        return;
    }
    if ((info.nodeFlags & kFSNodeIsDirectoryMask) != 0 || out.NumNames() == 0)
        return;
    FWStr<255> extension;
    FS_UtilPAC::GetFileNameExtension(out, extension);
    const uint32_t type = FS_FileTypeRegistry::TypeFromExtension(extension);
    if (type != 0)
        out.SetFileType(type);
}

// Whether the item is a folder for the file services: an application is a file.
bool isFolder(const FSRef& ref)
{
    FSCatalogInfo info{};
    if (FSGetCatalogInfo(&ref, kFSCatInfoNodeFlags, &info, nullptr, nullptr, nullptr) != noErr)
        return false;
    if ((info.nodeFlags & kFSNodeIsDirectoryMask) == 0)
        return false;
    LSItemInfoRecord item{};
    if (LSCopyItemInfoForRef(&ref, kLSRequestBasicFlagsOnly, &item) != noErr)
        return true;
    return (item.flags & kLSItemInfoIsApplication) == 0;
}

using CreateCall = OSErr (*)(const FSRef& parent, const std::u16string& name, OSType type, OSType creator);

OSErr createFile(const FSRef& parent, const std::u16string& name, OSType type, OSType creator)
{
    FSCatalogInfo info{};
    info.finderInfo.fileType = type;
    info.finderInfo.fileCreator = creator;
    return FSCreateFileUnicode(&parent, UniCharCount(name.size()), reinterpret_cast<const UniChar*>(name.data()),
                               kFSCatInfoFinderInfo, &info, nullptr, nullptr);
}

OSErr createDirectory(const FSRef& parent, const std::u16string& name, OSType, OSType)
{
    return FSCreateDirectoryUnicode(&parent, UniCharCount(name.size()), reinterpret_cast<const UniChar*>(name.data()),
                                    kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr);
}

int createItem(const FS_Locator& locator, OSType type, OSType creator, CreateCall create)
{
    if (locator.NumNames() == 0)
        return FS_UtilPAC::OSErrToFSErr(paramErr);
    FS_Locator parent = locator;
    parent.RemoveLastName();
    FSRef parentRef;
    OSErr err = FS_UtilPAC::LocatorToFSRef(parent, parentRef);
    if (err != noErr)
        return FS_UtilPAC::OSErrToFSErr(err);
    return FS_UtilPAC::OSErrToFSErr(create(parentRef, platformName(locator.LastName()), type, creator));
}

// Registers the folder the platform keeps for the type under the key.
int registerFolder(OSType folderType, int key)
{
    FSRef ref;
    OSErr err = FSFindFolder(kOnSystemDisk, folderType, kCreateFolder, &ref);
    if (err != noErr)
        return FS_UtilPAC::OSErrToFSErr(err);
    FS_Locator folder;
    int code = FS_UtilPAC::FSRefToLocator(ref, folder);
    if (code != kFS_NoError)
        return code;
    FS_LocatorRegistry::RegisterLocator(key, folder);
    return kFS_NoError;
}

} // namespace

int FS_UtilPAC::FSRefToLocator(const FSRef& ref, FS_Locator& out)
{
    UInt8 path[kPlatformPathCapacity];
    OSStatus status = FSRefMakePath(&ref, path, sizeof path);
    if (status != noErr)
        return OSErrToFSErr(OSErr(status));
    std::string volumeName;
    int code = volumeNameOf(ref, volumeName);
    if (code != kFS_NoError)
        return code;

    out.Clear();
    const std::string text(reinterpret_cast<const char*>(path));
    size_t start = 1;
    if (text.size() > 1) {
        std::string first = text.substr(1, text.find('/', 1) - 1);
        if (first != "Volumes") {
            out.AppendName("Volumes");
            out.AppendName(volumeName.c_str());
        }
        while (start <= text.size()) {
            size_t slash = text.find('/', start);
            if (slash == std::string::npos)
                slash = text.size();
            out.AppendName(FWStr<255>(uint32_t(slash - start), text.data() + start));
            start = slash + 1;
        }
    } else {
        out.AppendName("Volumes");
        out.AppendName(volumeName.c_str());
    }
    setTypeFromCatalogue(ref, out);
    return kFS_NoError;
}

int FS_UtilPAC::FSSpecToLocator(const FSSpec& spec, FS_Locator& out)
{
    FSRef ref;
    OSErr err = FSpMakeFSRef(&spec, &ref);
    if (err == noErr)
        return FSRefToLocator(ref, out);
    if (err != fnfErr)
        return OSErrToFSErr(err);
    // The file does not exist yet (a name typed into a save dialog): name it in its folder.
    FSRef folder;
    err = FSPathMakeRef(reinterpret_cast<const UInt8*>(spec.parentPath), &folder, nullptr);
    if (err != noErr)
        return OSErrToFSErr(err);
    int code = FSRefToLocator(folder, out);
    if (code != kFS_NoError)
        return code;
    Env_MacPString name;
    name = spec.name;
    out.AppendName(FWStr<255>(name.Size(), name.Chars()));
    return kFS_NoError;
}

OSErr FS_UtilPAC::LocatorToFSRef(const FS_Locator& locator, FSRef& ref)
{
    if (locator.NumNames() == 0)
        return paramErr;
    FWDynamicString path;
    LocatorToPathName(locator, path, false);
    return FSPathMakeRef(reinterpret_cast<const UInt8*>(path.GetCString()), &ref, nullptr);
}

int FS_UtilPAC::LocatorToFSSpec(const FS_Locator& locator, FSSpec& spec)
{
    FSRef ref;
    OSErr err = LocatorToFSRef(locator, ref);
    if (err == noErr)
        err = FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &spec, nullptr);
    return OSErrToFSErr(err);
}

void FS_UtilPAC::LocatorToPathName(const FS_Locator& locator, FWString& out, bool trailingSlash)
{
    out.SetCurrLength(0);
    if (locator.NumNames() == 0) {
        if (trailingSlash)
            out = "/";
        return;
    }
    std::string path;
    for (uint32_t i = 0; i < locator.NumNames(); ++i) {
        FWStr<255> name(locator[i]);
        if (name.GetCurrLength() == 0) {
            path += i == 0 ? ".." : "/..";
            continue;
        }
        path += '/';
        path.append(name.GetCString(), name.GetCurrLength());
    }
    path = HostNativePath(path);
    if (trailingSlash && path.back() != '/')
        path += '/';
    out.Set(uint32_t(path.size()), path.data());
}

void FS_UtilPAC::DotPathNameToLocator(const FWString& path, FS_Locator& out)
{
    out.Clear();
    const std::string absolute = HostAbsolutePath(std::string(path.GetCString(), path.GetCurrLength()));
    size_t start = 0;
    while (start <= absolute.size()) {
        size_t slash = absolute.find('/', start);
        if (slash == std::string::npos)
            slash = absolute.size();
        const std::string piece = absolute.substr(start, slash - start);
        start = slash + 1;
        if (piece.empty() || piece == ".")
            continue;
        if (piece == "..")
            out.AppendName("");
        else
            out.AppendName(piece.c_str());
    }
}

uint32_t FS_UtilPAC::DeduceFileType(const FS_Locator& locator, uint32_t* extensionType)
{
    FSRef ref;
    if (LocatorToFSRef(locator, ref) != noErr)
        return 0;
    FSCatalogInfo info{};
    if (FSGetCatalogInfo(&ref, kFSCatInfoFinderInfo, &info, nullptr, nullptr, nullptr) != noErr)
        return 0;
    const OSType finderType = info.finderInfo.fileType;
    uint32_t found = FS_FileTypeRegistry::IsTypeRegistered(finderType) ? finderType : 0;
    if (extensionType != nullptr)
        *extensionType = 0;
    if (found != 0 && extensionType == nullptr)
        return found;
    FWStr<255> extension;
    GetFileNameExtension(locator, extension);
    const uint32_t byExtension = FS_FileTypeRegistry::TypeFromExtension(extension);
    if (FS_FileTypeRegistry::IsTypeRegistered(byExtension)) {
        if (extensionType != nullptr)
            *extensionType = byExtension;
        if (found == 0)
            found = byExtension;
    }
    return found;
}

bool FS_UtilPAC::FileExists(const FS_Locator& locator)
{
    FSRef ref;
    if (LocatorToFSRef(locator, ref) != noErr)
        return false;
    LSItemInfoRecord item{};
    if (LSCopyItemInfoForRef(&ref, kLSRequestBasicFlagsOnly, &item) == noErr &&
        (item.flags & (kLSItemInfoIsApplication | kLSItemInfoIsPackage)) != 0)
        return true;
    return !isFolder(ref);
}

bool FS_UtilPAC::DirectoryExists(const FS_Locator& locator)
{
    FSRef ref;
    return LocatorToFSRef(locator, ref) == noErr && isFolder(ref);
}

int FS_UtilPAC::MakeFile(const FS_Locator& locator)
{
    OSType type = locator.FileType();
    OSType creator = FS_FileTypeRegistry::CreatorFromType(type);
    if (type == 0) {
        type = kUnknownType;
        creator = kUnknownType;
    }
    return createItem(locator, type, creator, createFile);
}

int FS_UtilPAC::CreateDirectory(const FS_Locator& locator)
{
    return createItem(locator, 0, 0, createDirectory);
}

int FS_UtilPAC::OSErrToFSErr(OSErr result)
{
    switch (result) {
    case noErr: return kFS_NoError;
    case permErr: return kFS_InvalidPrivilege;
    case wrPermErr: return kFS_InvalidAccess;
    case bdNamErr: return kFS_BadPathName;
    case fnfErr: return kFS_FileNotFound;
    case opWrErr: return kFS_FileAlreadyOpen;
    case notAFileErr: return kFS_NotAFile;
    case dupFNErr: return kFS_DuplicateFile;
    case readErr: return kFS_ReadError;
    case writErr: return kFS_WriteError;
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

int FS_UtilPAC::Init()
{
    ProcessSerialNumber process{};
    OSErr err = GetCurrentProcess(&process);
    if (err != noErr)
        return OSErrToFSErr(err);
    FSSpec applicationFile{};
    ProcessInfoRec info{};
    info.processInfoLength = 60;
    info.processName = nullptr;
    info.processAppSpec = &applicationFile;
    err = GetProcessInformation(&process, &info);
    if (err != noErr)
        return OSErrToFSErr(err);

    FS_Locator folder;
    int code = FSSpecToLocator(applicationFile, folder);
    if (code != kFS_NoError)
        return code;
    folder.RemoveLastName();
    folder.SetFileType(0);
    FS_LocatorRegistry::RegisterLocator(-6, folder);

    FSRef bundle;
    GetProcessBundleLocation(&process, &bundle);
    FS_Locator application;
    code = FSRefToLocator(bundle, application);
    if (code != kFS_NoError)
        return code;
    FS_LocatorRegistry::RegisterLocator(-1, application);

    application.RemoveLastName();
    application.SetFileType(0);
    FS_LocatorRegistry::RegisterLocator(-2, application);

    application.AppendName("Preferences");
    FS_LocatorRegistry::RegisterLocator(-5, application);
    if (!DirectoryExists(application))
        CreateDirectory(application); // without it the preferences are not kept; start-up goes on
    application.RemoveLastName();

    if ((code = registerFolder(kPreferencesFolderType, -3)) != kFS_NoError)
        return code;
    if ((code = registerFolder(kTemporaryFolderType, -4)) != kFS_NoError)
        return code;
    return registerFolder(kDesktopFolderType, -7);
}

} // namespace Corvel
