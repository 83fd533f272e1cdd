#include "AEUtils.h"
#include "HostFiles.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Call {
    std::string path;
    int32_t index;
    int32_t count;
};

std::vector<Call> sCalls;
int sPlainCalls = 0;
OSErr sAnswer = noErr;
int32_t sDiedError = 0;
ProcessSerialNumber sDiedProcess = {0, 0};

OSErr plainCallback()
{
    ++sPlainCalls;
    return sAnswer;
}

OSErr documentCallback(const FSSpec& file, int32_t index, int32_t count)
{
    std::string path;
    HostPathOfFSSpec(&file, path);
    sCalls.push_back({path, index, count});
    return sAnswer;
}

OSErr diedCallback(int32_t error, const ProcessSerialNumber& process)
{
    sDiedError = error;
    sDiedProcess = process;
    return sAnswer;
}

class AEUtilsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sCalls.clear();
        sPlainCalls = 0;
        sAnswer = noErr;
        ASSERT_EQ(noErr, AE_InitAEUtils(plainCallback, documentCallback, documentCallback,
                                        plainCallback, diedCallback));
    }
    void TearDown() override { HostResetAppleEvents(); }

    // A core event of that id with one extra parameter nobody reads.
    static OSErr deliverWithStrayParameter(AEEventID id)
    {
        AppleEvent event;
        AECreateAppleEvent(kCoreEventClass, id, &event);
        int32_t stray = 1;
        AEPutParamPtr(&event, FOUR_CHAR_CODE("xtra"), typeSInt32, &stray, sizeof stray);
        if (id == kAEOpenDocuments || id == kAEPrintDocuments) {
            AEDescList files;
            AECreateList(nullptr, 0, false, &files);
            AEPutParamDesc(&event, keyDirectObject, &files);
            AEDisposeDesc(&files);
        }
        OSErr err = HostDeliverAppleEvent(event);
        AEDisposeDesc(&event);
        return err;
    }
};

TEST_F(AEUtilsTest, OpenApplicationAndQuitAnswerTheCallback)
{
    sAnswer = userCanceledErr;
    EXPECT_EQ(userCanceledErr, HostDeliverQuitApplication());
    sAnswer = noErr;
    EXPECT_EQ(noErr, HostDeliverOpenApplication());
    EXPECT_EQ(2, sPlainCalls);

    ASSERT_EQ(noErr, AE_InitAEUtils(nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(noErr, HostDeliverQuitApplication());
    EXPECT_EQ(2, sPlainCalls);
}

TEST_F(AEUtilsTest, UnreadParameterIsAnsweredWithoutCallingBack)
{
    for (AEEventID id : {kAEOpenApplication, kAEQuitApplication, kAEOpenDocuments, kAEPrintDocuments})
        EXPECT_EQ(errAEParamMissed, deliverWithStrayParameter(id));
    EXPECT_EQ(0, sPlainCalls);
    EXPECT_TRUE(sCalls.empty());
}

TEST_F(AEUtilsTest, OpenDocumentsCallsBackPerFileUntilAnError)
{
    TempFolder folder;
    std::string a = folder.File("a.rsrc");
    std::string b = folder.File("b.rsrc");
    TempFolder::WriteFile(a, "");
    TempFolder::WriteFile(b, "");

    ASSERT_EQ(noErr, HostDeliverOpenDocuments({a, b}));
    ASSERT_EQ(2u, sCalls.size());
    EXPECT_EQ(0, sCalls[0].index);
    EXPECT_EQ(1, sCalls[1].index);
    EXPECT_EQ(2, sCalls[0].count);
    EXPECT_EQ(2, sCalls[1].count);
    EXPECT_EQ(std::filesystem::canonical(b).string(), sCalls[1].path);

    sCalls.clear();
    sAnswer = -43;
    EXPECT_EQ(-43, HostDeliverOpenDocuments({a, b}));
    EXPECT_EQ(1u, sCalls.size());

    // A file that is not there is named all the same, so that the program can say so.
    sCalls.clear();
    sAnswer = noErr;
    EXPECT_EQ(noErr, HostDeliverOpenDocuments({a, folder.File("missing")}));
    ASSERT_EQ(2u, sCalls.size());
    EXPECT_EQ(std::filesystem::canonical(folder.Path()).string() + "/missing", sCalls[1].path);
}

TEST_F(AEUtilsTest, OpenDocumentsWithoutAFileListFails)
{
    AppleEvent event;
    AECreateAppleEvent(kCoreEventClass, kAEOpenDocuments, &event);
    EXPECT_EQ(errAEDescNotFound, HostDeliverAppleEvent(event));
    int32_t notAList = 3;
    AEPutParamPtr(&event, keyDirectObject, typeSInt32, &notAList, sizeof notAList);
    EXPECT_EQ(errAECoercionFail, HostDeliverAppleEvent(event));
    AEDisposeDesc(&event);
    EXPECT_TRUE(sCalls.empty());
}

TEST_F(AEUtilsTest, ApplicationDiedPassesErrorAndProcess)
{
    AppleEvent event;
    AECreateAppleEvent(kCoreEventClass, kAEApplicationDied, &event);
    int32_t error = -9;
    ProcessSerialNumber process = {3, 77};
    AEPutParamPtr(&event, keyErrorNumber, typeSInt32, &error, sizeof error);
    EXPECT_EQ(errAEDescNotFound, HostDeliverAppleEvent(event)); // no process yet
    AEPutParamPtr(&event, keyProcessSerialNumber, typeProcessSerialNumber, &process, sizeof process);
    sAnswer = 12;
    EXPECT_EQ(12, HostDeliverAppleEvent(event));
    EXPECT_EQ(-9, sDiedError);
    EXPECT_EQ(77u, sDiedProcess.lowLongOfPSN);
    AEDisposeDesc(&event);
}

TEST_F(AEUtilsTest, InstallationStopsAtTheFirstFailure)
{
    HostResetAppleEvents();
    HostFailHandlerInstall(kAEPrintDocuments, memFullErr);
    EXPECT_EQ(memFullErr, AE_InitAEUtils(plainCallback, documentCallback, documentCallback,
                                         plainCallback, diedCallback));
    EXPECT_EQ(noErr, HostDeliverOpenApplication());
    EXPECT_EQ(errAEEventNotHandled, HostDeliverQuitApplication());
}

} // namespace
