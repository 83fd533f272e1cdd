#include "HostAlias.h"
#include "HostFiles.h"
#include "HostMemory.h"
#include "HostTestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string pathOf(const FSRef& ref)
{
    UInt8 buffer[kHostPathCapacity];
    EXPECT_EQ(noErr, FSRefMakePath(&ref, buffer, sizeof buffer));
    return reinterpret_cast<const char*>(buffer);
}

std::string nameOf(const FSSpec& spec)
{
    return std::string(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]);
}

std::u16string utf16(const HFSUniStr255& name)
{
    return std::u16string(reinterpret_cast<const char16_t*>(name.unicode), name.length);
}

// A folder whose path is its canonical path (the temporary folder may be reached through a link).
struct CanonicalScratch {
    ScratchFolder folder;
    std::string path;
    CanonicalScratch()
    {
        FSRef ref;
        EXPECT_EQ(noErr, FSPathMakeRef(PathBytes(folder.Path()), &ref, nullptr));
        path = ref.path;
    }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

OSErr createFile(const std::string& folder, const std::u16string& name, FSRef* made = nullptr)
{
    FSRef parent;
    OSErr err = FSPathMakeRef(PathBytes(folder), &parent, nullptr);
    if (err != noErr)
        return err;
    return FSCreateFileUnicode(&parent, UniCharCount(name.size()), reinterpret_cast<const UniChar*>(name.data()),
                               kFSCatInfoNone, nullptr, made, nullptr);
}

} // namespace

TEST(HostFiles, ReferencesAreCanonicalAbsolutePathsOfExistingItems)
{
    CanonicalScratch scratch;
    WriteBytes(scratch / "a.rsrc", {1});
    mkdir((scratch / "sub").c_str(), 0777);

    FSRef ref;
    Boolean isDirectory = true;
    ASSERT_EQ(noErr, FSPathMakeRef(PathBytes(scratch / "sub/../a.rsrc"), &ref, &isDirectory));
    EXPECT_EQ(scratch / "a.rsrc", pathOf(ref));
    EXPECT_FALSE(isDirectory);

    std::string volumeForm = std::string("/Volumes/") + kHostVolumeName + scratch.path + "/sub";
    ASSERT_EQ(noErr, FSPathMakeRef(PathBytes(volumeForm), &ref, &isDirectory));
    EXPECT_EQ(scratch / "sub", pathOf(ref));
    EXPECT_TRUE(isDirectory);
    ASSERT_EQ(noErr, FSPathMakeRef(PathBytes(std::string("/Volumes/") + kHostVolumeName), &ref, nullptr));
    EXPECT_EQ("/", pathOf(ref));
    EXPECT_EQ(scratch / "x", HostNativePath(std::string("/Volumes/") + kHostVolumeName + scratch.path + "/x"));

    char cwd[4096];
    ASSERT_NE(nullptr, getcwd(cwd, sizeof cwd));
    ASSERT_EQ(0, chdir(scratch.path.c_str()));
    OSErr relative = FSPathMakeRef(PathBytes("sub"), &ref, nullptr);
    ASSERT_EQ(0, chdir(cwd));
    ASSERT_EQ(noErr, relative);
    EXPECT_EQ(scratch / "sub", pathOf(ref));
}

TEST(HostFiles, MissingItemsAndBadPathsAnswerClassicCodes)
{
    CanonicalScratch scratch;
    WriteBytes(scratch / "file", {1});
    FSRef ref;
    EXPECT_EQ(fnfErr, FSPathMakeRef(PathBytes(scratch / "missing"), &ref, nullptr));
    EXPECT_EQ(fnfErr, FSPathMakeRef(PathBytes(""), &ref, nullptr));
    EXPECT_EQ(dirNFErr, FSPathMakeRef(PathBytes(scratch / "file/inside"), &ref, nullptr));
    EXPECT_EQ(bdNamErr, FSPathMakeRef(PathBytes(scratch / std::string(300, 'n')), &ref, nullptr));
    EXPECT_EQ(paramErr, FSPathMakeRef(nullptr, &ref, nullptr));

    ASSERT_EQ(noErr, FSPathMakeRef(PathBytes(scratch / "file"), &ref, nullptr));
    UInt8 small[8];
    EXPECT_EQ(bdNamErr, FSRefMakePath(&ref, small, sizeof small));
    EXPECT_EQ(0, small[0]);
    FSRef unset{};
    EXPECT_EQ(paramErr, FSRefMakePath(&unset, small, sizeof small));
}

TEST(HostFiles, ErrnoValuesMapToClassicCodesByName)
{
    const struct {
        int error;
        OSErr code;
    } table[] = {{0, noErr},          {ENOENT, fnfErr},   {EACCES, wrPermErr},  {EPERM, wrPermErr},
                 {EROFS, wrPermErr},  {EEXIST, dupFNErr}, {ENOSPC, dskFulErr},  {EDQUOT, dskFulErr},
                 {ENOTDIR, dirNFErr}, {ENAMETOOLONG, bdNamErr}, {EISDIR, notAFileErr},
                 {ENOTEMPTY, fBsyErr}, {EMFILE, tmfoErr}, {ENOMEM, memFullErr}, {EFBIG, writErr},
                 {EIO, ioErr},        {EXDEV, ioErr}};
    for (const auto& row : table)
        EXPECT_EQ(row.code, HostOSErrFromErrno(row.error)) << "errno " << row.error;
}

TEST(HostFiles, CatalogueInformationGivesFolderFlagVolumeNameSpecificationAndFolder)
{
    CanonicalScratch scratch;
    mkdir((scratch / "sub").c_str(), 0777);
    WriteBytes(scratch / "sub/caf\xC3\xA9.rsrc", {1, 2});

    FSRef file, folder, parent, latin1;
    ASSERT_EQ(noErr, FSPathMakeRef(PathBytes(scratch / "sub/caf\xC3\xA9.rsrc"), &file, nullptr));
    ASSERT_EQ(noErr, FSPathMakeRef(PathBytes(scratch / "sub"), &folder, nullptr));
    FSCatalogInfo info{};
    info.finderInfo.fileType = 1;
    HFSUniStr255 name;
    FSSpec spec;
    ASSERT_EQ(noErr, FSGetCatalogInfo(&file, kFSCatInfoNodeFlags | kFSCatInfoVolume | kFSCatInfoFinderInfo, &info,
                                      &name, &spec, &parent));
    EXPECT_EQ(0, info.nodeFlags & kFSNodeIsDirectoryMask);
    EXPECT_EQ(kHostVolumeRefNum, info.volume);
    EXPECT_EQ(0u, info.finderInfo.fileType);
    EXPECT_EQ(u"caf\u00e9.rsrc", utf16(name));
    EXPECT_EQ("caf\xC3\xA9.rsrc", nameOf(spec));
    EXPECT_EQ(scratch / "sub", std::string(spec.parentPath));
    EXPECT_EQ(scratch / "sub", pathOf(parent));
    // A Latin-1 name (e acute as the byte E9) has the same characters; its file keeps its bytes.
    WriteBytes(scratch / "sub/caf\xE9.rsrc", {1});
    ASSERT_EQ(noErr, FSPathMakeRef(PathBytes(scratch / "sub/caf\xE9.rsrc"), &latin1, nullptr));
    ASSERT_EQ(noErr, FSGetCatalogInfo(&latin1, kFSCatInfoNone, nullptr, &name, &spec, nullptr));
    EXPECT_EQ(u"caf\u00e9.rsrc", utf16(name));
    EXPECT_EQ("caf\xE9.rsrc", nameOf(spec));

    ASSERT_EQ(noErr, FSGetCatalogInfo(&folder, kFSCatInfoNodeFlags, &info, nullptr, nullptr, nullptr));
    EXPECT_NE(0, info.nodeFlags & kFSNodeIsDirectoryMask);

    FSRef root;
    ASSERT_EQ(noErr, FSPathMakeRef(PathBytes("/"), &root, nullptr));
    ASSERT_EQ(noErr, FSGetCatalogInfo(&root, kFSCatInfoNone, nullptr, &name, &spec, &parent));
    EXPECT_EQ(u"Root", utf16(name));
    EXPECT_EQ("/", pathOf(parent));
    FSRef again;
    ASSERT_EQ(noErr, FSpMakeFSRef(&spec, &again));
    EXPECT_EQ("/", pathOf(again));

    ASSERT_EQ(0, unlink((scratch / "sub/caf\xC3\xA9.rsrc").c_str()));
    EXPECT_EQ(fnfErr, FSGetCatalogInfo(&file, kFSCatInfoNone, nullptr, nullptr, nullptr, nullptr));
}

TEST(HostFiles, SpecificationsNameItemsThatMayNotExistYet)
{
    CanonicalScratch scratch;
    WriteBytes(scratch / "there", {});
    FSRef ref;
    FSSpec there = SpecOf(scratch / "there");
    ASSERT_EQ(noErr, FSpMakeFSRef(&there, &ref));
    EXPECT_EQ(scratch / "there", pathOf(ref));
    FSSpec missing = SpecOf(scratch / "not yet");
    EXPECT_EQ(fnfErr, FSpMakeFSRef(&missing, &ref));
    FSSpec noFolder = SpecOf(scratch / "nofolder/x");
    EXPECT_EQ(dirNFErr, FSpMakeFSRef(&noFolder, &ref));
    FSSpec sneaky = SpecOf(scratch / "x");
    sneaky.name[0] = 2;
    sneaky.name[1] = '.';
    sneaky.name[2] = '.';
    EXPECT_EQ(bdNamErr, FSpMakeFSRef(&sneaky, &ref));

    FInfo finder;
    EXPECT_EQ(noErr, FSpGetFInfo(&there, &finder));
    EXPECT_EQ(0u, finder.fdType);
    EXPECT_EQ(noErr, FSpSetFInfo(&there, &finder));
    EXPECT_EQ(fnfErr, FSpGetFInfo(&missing, &finder));
    FSSpec folder = SpecOf(scratch.path);
    EXPECT_EQ(notAFileErr, FSpGetFInfo(&folder, &finder));
}

TEST(HostFiles, CreationNeverReplacesAndRefusesNamesThatCannotBePosixNames)
{
    CanonicalScratch scratch;
    FSRef made;
    ASSERT_EQ(noErr, createFile(scratch.path, u"New \u00e9.rsrc", &made));
    EXPECT_EQ(scratch / "New \xC3\xA9.rsrc", pathOf(made));
    WriteBytes(scratch / "New \xC3\xA9.rsrc", {7, 7, 7});
    EXPECT_EQ(dupFNErr, createFile(scratch.path, u"New \u00e9.rsrc"));
    EXPECT_EQ((std::vector<uint8_t>{7, 7, 7}), ReadBytes(scratch / "New \xC3\xA9.rsrc"));

    for (const std::u16string& bad : {std::u16string(u"a/b"), std::u16string(u"."), std::u16string(u".."),
                                      std::u16string(u""), std::u16string(1, char16_t(0xD800)),
                                      std::u16string(u"a\0b", 3), std::u16string(256, u'x')})
        EXPECT_EQ(bdNamErr, createFile(scratch.path, bad)) << bad.size();
    EXPECT_EQ(dirNFErr, createFile(scratch / "New \xC3\xA9.rsrc", u"inside"));

    FSRef parent, folder;
    ASSERT_EQ(noErr, FSPathMakeRef(PathBytes(scratch.path), &parent, nullptr));
    const std::u16string name = u"Preferences";
    FSSpec spec;
    ASSERT_EQ(noErr, FSCreateDirectoryUnicode(&parent, UniCharCount(name.size()),
                                              reinterpret_cast<const UniChar*>(name.data()), kFSCatInfoNone,
                                              nullptr, &folder, &spec, nullptr));
    EXPECT_EQ(scratch / "Preferences", pathOf(folder));
    EXPECT_EQ("Preferences", nameOf(spec));
    EXPECT_EQ(dupFNErr, FSCreateDirectoryUnicode(&parent, UniCharCount(name.size()),
                                                 reinterpret_cast<const UniChar*>(name.data()), kFSCatInfoNone,
                                                 nullptr, nullptr, nullptr, nullptr));
}

TEST(HostFiles, OneVolumeNamedRootHoldsTheWholeTree)
{
    HFSUniStr255 name;
    FSRef root;
    FSVolumeInfoParam param{};
    param.ioVRefNum = kHostVolumeRefNum;
    param.volumeName = &name;
    param.ref = &root;
    ASSERT_EQ(noErr, PBGetVolumeInfoSync(&param));
    EXPECT_EQ(u"Root", utf16(name));
    EXPECT_EQ("/", pathOf(root));
    param.volumeIndex = 1;
    param.ioVRefNum = 0;
    ASSERT_EQ(noErr, PBGetVolumeInfoSync(&param));
    EXPECT_EQ(kHostVolumeRefNum, param.ioVRefNum);
    param.volumeIndex = 2;
    EXPECT_EQ(nsvErr, PBGetVolumeInfoSync(&param));
    EXPECT_EQ(nsvErr, param.ioResult);
    param.volumeIndex = 0;
    param.ioVRefNum = 5;
    EXPECT_EQ(nsvErr, PBGetVolumeInfoSync(&param));
}

TEST(HostFiles, LaunchServicesCallFoldersContainersAndNeverPackages)
{
    CanonicalScratch scratch;
    WriteBytes(scratch / "tool", {});
    chmod((scratch / "tool").c_str(), 0755);
    FSRef folder, tool;
    ASSERT_EQ(noErr, FSPathMakeRef(PathBytes(scratch.path), &folder, nullptr));
    ASSERT_EQ(noErr, FSPathMakeRef(PathBytes(scratch / "tool"), &tool, nullptr));
    LSItemInfoRecord info;
    ASSERT_EQ(noErr, LSCopyItemInfoForRef(&folder, kLSRequestAllFlags, &info));
    EXPECT_EQ(kLSItemInfoIsContainer, info.flags);
    ASSERT_EQ(noErr, LSCopyItemInfoForRef(&tool, kLSRequestAllFlags, &info));
    EXPECT_EQ(kLSItemInfoIsPlainFile | kLSItemInfoIsApplication, info.flags);
}

TEST(HostFiles, AliasesResolveAlsoToFilesStillToBeMade)
{
    CanonicalScratch scratch;
    WriteBytes(scratch / "made", {});
    for (const std::string& name : {std::string("made"), std::string("to be made")}) {
        std::string path = scratch / name;
        AliasHandle alias = nullptr;
        ASSERT_EQ(noErr, NewAliasMinimalFromFullPath(SInt16(path.size()), path.data(), nullptr, nullptr, &alias));
        FSSpec target;
        Boolean changed = true;
        EXPECT_EQ(name == "made" ? noErr : fnfErr, ResolveAlias(nullptr, alias, &target, &changed));
        EXPECT_EQ(name, nameOf(target));
        EXPECT_EQ(scratch.path, std::string(target.parentPath));
        EXPECT_FALSE(changed);
        DisposeHandle(alias);
    }
    std::string noFolder = scratch / "none/x";
    AliasHandle alias = nullptr;
    ASSERT_EQ(noErr, NewAliasMinimalFromFullPath(SInt16(noFolder.size()), noFolder.data(), nullptr, nullptr, &alias));
    FSSpec target;
    EXPECT_EQ(dirNFErr, ResolveAlias(nullptr, alias, &target, nullptr));
    DisposeHandle(alias);
    EXPECT_EQ(paramErr, NewAliasMinimalFromFullPath(0, "", nullptr, nullptr, &alias));
    EXPECT_EQ(nullptr, alias);
}
