// Files and folders: references to existing items (FSRef), folder-and-name specifications
// (FSSpec), catalogue information, creation, and the volume. Items are named by absolute UTF-8
// POSIX paths; the whole tree is one volume. Results are classic codes mapped from errno.
#pragma once

#include "HostTypes.h"

#include <string>

using FSVolumeRefNum = SInt16;
using UniCharCount = uint32_t;
using ByteCount = uint32_t;
using FSCatalogInfoBitmap = uint32_t;

// The longest path a reference holds, with its terminating zero.
constexpr size_t kHostPathCapacity = 4096;

// The one volume: the whole POSIX tree. Its locator form "/Volumes/Root/x" names "/x".
constexpr FSVolumeRefNum kHostVolumeRefNum = -1;
constexpr FSVolumeRefNum kOnSystemDisk = -32768;
constexpr const char* kHostVolumeName = "Root";

// Permissions asked when a file or fork is opened.
enum : SInt8 {
    fsCurPerm = 0, // write when allowed, else read
    fsRdPerm = 1,
    fsWrPerm = 2,
    fsRdWrPerm = 3,
    fsRdWrShPerm = 4,
};

// A file name in UTF-16, as catalogue and fork calls pass names.
struct HFSUniStr255 {
    UInt16 length;
    UniChar unicode[255];
};

// A reference to an existing file or folder: its absolute path with symbolic links, "." and ".."
// resolved. A plain value that may be copied byte for byte; an empty path is no reference.
struct FSRef {
    char path[kHostPathCapacity];
};

// A folder and a name in it; the item itself need not exist. An empty name names the folder.
struct FSSpec {
    FSVolumeRefNum vRefNum;
    SInt32 parID;                       // not used on this host: 0
    Str255 name;                        // length-prefixed UTF-8 name
    char parentPath[kHostPathCapacity]; // absolute path of the folder
};

// Finder information. There are no Finder types here (a file's type comes from its extension):
// files answer type and creator 0, and what is set is not kept.
struct FileInfo {
    OSType fileType;
    OSType fileCreator;
    UInt16 finderFlags;
    Point location;
    UInt16 reservedField;
};

struct FInfo {
    OSType fdType;
    OSType fdCreator;
    UInt16 fdFlags;
    Point fdLocation;
    SInt16 fdFldr;
};

struct FSCatalogInfo {
    UInt16 nodeFlags;          // kFSNodeIsDirectoryMask for a folder
    FSVolumeRefNum volume;
    FileInfo finderInfo;
};

enum : FSCatalogInfoBitmap {
    kFSCatInfoNone = 0,
    kFSCatInfoNodeFlags = 0x1,
    kFSCatInfoVolume = 0x2,
    kFSCatInfoFinderInfo = 0x4,
};

enum : UInt16 {
    kFSNodeIsDirectoryMask = 0x0010,
};

// The volume's name and root, by reference number or by index (1 is the only volume).
struct FSVolumeInfoParam {
    OSErr ioResult;
    FSVolumeRefNum ioVRefNum; // in when volumeIndex is 0, else out
    UInt32 volumeIndex;
    HFSUniStr255* volumeName; // out, may be null
    FSRef* ref;               // out: the root folder, may be null
};

// What Launch Services tell of an item: folders are containers, never packages.
using LSRequestedInfo = uint32_t;
using LSItemInfoFlags = uint32_t;
enum : LSRequestedInfo {
    kLSRequestBasicFlagsOnly = 0x1,
    kLSRequestAllFlags = 0x2,
    kLSRequestAllInfo = 0xFFFFFFFF,
};
enum : LSItemInfoFlags {
    kLSItemInfoIsPlainFile = 0x1,
    kLSItemInfoIsPackage = 0x2,
    kLSItemInfoIsApplication = 0x4, // a regular file with an execute bit
    kLSItemInfoIsContainer = 0x8,
};
struct LSItemInfoRecord {
    LSItemInfoFlags flags;
    OSType filetype;
    OSType creator;
};

// A reference to an existing item. A relative path is taken from the current folder; the
// locator form "/Volumes/Root/..." is accepted. -43 when the item does not exist, -120 when a
// folder on the way is a file, -37 when the path is too long. isDirectory may be null.
OSErr FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory);

// The reference's path, zero-terminated. A buffer too small for it answers -37 (bad name) and an
// empty text: a cut path would name another item.
OSStatus FSRefMakePath(const FSRef* ref, UInt8* path, UInt32 maxPathSize);

// What whichInfo asks of the item, its name, its specification and its folder's reference (each
// output may be null). The root folder has itself as its folder and the volume's name.
OSErr FSGetCatalogInfo(const FSRef* ref, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfo,
                       HFSUniStr255* outName, FSSpec* fsSpec, FSRef* parentRef);

// The reference of the item a specification names: -43 when the item is missing but its
// folder exists, -120 when the folder is missing.
OSErr FSpMakeFSRef(const FSSpec* spec, FSRef* newRef);

// Create a file or folder named (UTF-16) in the folder. Never replaces or truncates: an existing
// item answers -48. A name that cannot be a POSIX name ('/', NUL, ".", "..", empty, bad UTF-16)
// answers -37. The catalogue information (Finder type and creator) is not kept.
OSErr FSCreateFileUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                          FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* catalogInfo, FSRef* newRef,
                          FSSpec* newSpec);
OSErr FSCreateDirectoryUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                               FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* catalogInfo,
                               FSRef* newRef, FSSpec* newSpec, UInt32* newDirID);

// The volume: -35 for any volume but the one.
OSErr PBGetVolumeInfoSync(FSVolumeInfoParam* param);

// Finder information of an existing file: type and creator 0; setting is accepted and not kept.
OSErr FSpGetFInfo(const FSSpec* spec, FInfo* info);
OSErr FSpSetFInfo(const FSSpec* spec, const FInfo* info);

OSStatus LSCopyItemInfoForRef(const FSRef* ref, LSRequestedInfo whichInfo, LSItemInfoRecord* info);

// Host helpers for the layers above.

// The classic result code of an errno value (ENOENT -43, EACCES, EPERM and EROFS -61, EEXIST -48,
// ENOSPC and EDQUOT -34, ENOTDIR -120, ENAMETOOLONG -37, ...; anything unlisted -36).
OSErr HostOSErrFromErrno(int error);

// Opens a file for reading or writing (open flags; O_CLOEXEC is added) only when it is a
// regular file: a folder answers notAFileErr, and a FIFO, socket or device answers
// notAFileErr at once, never blocking on it. fd is -1 on failure.
OSErr HostOpenRegularFile(const char* path, int flags, int& fd);

// The POSIX path of a specification (folder + "/" + name); -50 for an empty folder path.
OSErr HostPathOfFSSpec(const FSSpec* spec, std::string& path);

// A path in the locator form "/Volumes/Root/..." turned into the POSIX path it names; any other
// path is returned unchanged. For code that hands such paths to the C library.
std::string HostNativePath(const std::string& path);
