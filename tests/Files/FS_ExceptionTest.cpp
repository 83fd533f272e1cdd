#include "FS_ErrorCodeUtil.h"
#include "FS_Exception.h"
#include "FS_UtilPAC.h"

#include <gtest/gtest.h>

#include <string>

using namespace Corvel;

namespace {

// The Name of what Throw(code) throws, caught as the family's base; "" when nothing is thrown.
std::string thrownName(int code)
{
    try {
        FS_ErrorCodeUtil::Throw(code);
    } catch (const FS_Exception& e) {
        return e.Name();
    }
    return "";
}

} // namespace

TEST(FS_ErrorCodes, PlatformResultsMapToTheirCodesAndExceptions)
{
    struct Row {
        OSErr result;
        int code;
        const char* name;
    };
    const Row rows[] = {
        {-54, 2, "FS_InvalidPrivilegeX"},   {-61, 3, "FS_InvalidAccessX"},
        {-37, 4, "FS_BadPathNameX"},        {-43, 5, "FS_FileNotFoundX"},
        {-49, 6, "FS_FileAlreadyOpenX"},    {-1302, 7, "FS_NotAFileX"},
        {-48, 8, "FS_DuplicateFileX"},      {-19, 9, "FS_ReadErrorX"},
        {-20, 10, "FS_WriteErrorX"},        {-39, 11, "FS_EndOfDataX"},
        {-34, 12, "FS_DiskFullX"},          {-120, 13, "FS_DirectoryNotFoundX"},
        {-47, 16, "FS_DirectoryNotEmptyX"}, {-35, 17, "FS_VolumeNotFoundX"},
        {-36, 1, "FS_Exception"},           {-108, 1, "FS_Exception"},
        {1, 1, "FS_Exception"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.result);
        EXPECT_EQ(row.code, FS_UtilPAC::OSErrToFSErr(row.result));
        EXPECT_EQ(row.name, thrownName(row.code));
    }
    EXPECT_EQ(0, FS_UtilPAC::OSErrToFSErr(0));
}

TEST(FS_ErrorCodes, CodesWithoutAPlatformResultStillThrow)
{
    EXPECT_EQ("FS_DuplicateDirectoryX", thrownName(14));
    EXPECT_EQ("FS_NotADirectoryX", thrownName(15));
}

TEST(FS_ErrorCodes, SuccessAndUnknownCodesDoNotThrow)
{
    for (int code : {0, 18, -1, 1000})
        EXPECT_NO_THROW(FS_ErrorCodeUtil::Throw(code)) << code;
}

TEST(FS_ErrorCodes, EveryFileErrorIsCaughtAsTheLibraryRoot)
{
    for (int code = 1; code <= 17; ++code) {
        try {
            FS_ErrorCodeUtil::Throw(code);
            ADD_FAILURE() << "code " << code << " threw nothing";
        } catch (const Env_ExceptionX& e) {
            EXPECT_NE(nullptr, dynamic_cast<const FS_Exception*>(&e)) << code;
        }
    }
}
