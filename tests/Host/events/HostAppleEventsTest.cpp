#include "HostAppleEvents.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Seen {
    int calls = 0;
    AEEventID id = 0;
};

OSErr recordingHandler(const AppleEvent* event, AppleEvent*, SRefCon refCon)
{
    Seen* seen = static_cast<Seen*>(refCon);
    ++seen->calls;
    AEGetAttributePtr(event, keyEventIDAttr, typeType, nullptr, &seen->id, sizeof seen->id, nullptr);
    return -5;
}

class HostAppleEventsTest : public ::testing::Test {
protected:
    void TearDown() override { HostResetAppleEvents(); }
};

TEST_F(HostAppleEventsTest, ListsHoldTypedItems)
{
    AEDescList list;
    ASSERT_EQ(noErr, AECreateList(nullptr, 0, false, &list));
    int32_t a = 7;
    ASSERT_EQ(noErr, AEPutPtr(&list, 0, typeSInt32, &a, sizeof a));
    ASSERT_EQ(noErr, AEPutPtr(&list, 0, typeFileURL, "/tmp/x", 6));
    int32_t count = 0;
    ASSERT_EQ(noErr, AECountItems(&list, &count));
    EXPECT_EQ(2, count);

    char buffer[4];
    DescType type = 0;
    Size actual = 0;
    ASSERT_EQ(noErr, AEGetNthPtr(&list, 2, typeWildCard, nullptr, &type, buffer, sizeof buffer, &actual));
    EXPECT_EQ(typeFileURL, type);
    EXPECT_EQ(6, actual); // the full size, though only 4 bytes were copied
    EXPECT_EQ(0, std::memcmp(buffer, "/tmp", 4));

    EXPECT_EQ(errAECoercionFail, AEGetNthPtr(&list, 1, typeFSS, nullptr, nullptr, buffer, 4, nullptr));
    EXPECT_EQ(errAEBadListItem, AEGetNthPtr(&list, 0, typeWildCard, nullptr, nullptr, buffer, 4, nullptr));
    EXPECT_EQ(errAEBadListItem, AEGetNthPtr(&list, 3, typeWildCard, nullptr, nullptr, buffer, 4, nullptr));
    EXPECT_EQ(paramErr, AEGetNthPtr(&list, 1, typeWildCard, nullptr, nullptr, buffer, -1, nullptr));
    AEDisposeDesc(&list);
    EXPECT_EQ(errAENotAEDesc, AECountItems(&list, &count));
}

TEST_F(HostAppleEventsTest, MissedKeywordNamesTheFirstUnreadParameter)
{
    AppleEvent event;
    AECreateAppleEvent(kCoreEventClass, kAEApplicationDied, &event);
    int32_t error = -43;
    ProcessSerialNumber psn = {1, 2};
    AEPutParamPtr(&event, keyErrorNumber, typeSInt32, &error, sizeof error);
    AEPutParamPtr(&event, keyProcessSerialNumber, typeProcessSerialNumber, &psn, sizeof psn);

    AEKeyword missed = 0;
    ASSERT_EQ(noErr, AEGetAttributePtr(&event, keyMissedKeywordAttr, typeWildCard, nullptr, &missed,
                                       sizeof missed, nullptr));
    EXPECT_EQ(keyErrorNumber, missed);

    int32_t readError = 0;
    EXPECT_EQ(errAECoercionFail, AEGetParamPtr(&event, keyErrorNumber, typeFSS, nullptr, &readError,
                                               sizeof readError, nullptr));
    ASSERT_EQ(noErr, AEGetParamPtr(&event, keyErrorNumber, typeSInt32, nullptr, &readError,
                                   sizeof readError, nullptr));
    EXPECT_EQ(-43, readError);
    AEGetAttributePtr(&event, keyMissedKeywordAttr, typeWildCard, nullptr, &missed, sizeof missed, nullptr);
    EXPECT_EQ(keyProcessSerialNumber, missed);

    AEDesc copy;
    ASSERT_EQ(noErr, AEGetParamDesc(&event, keyProcessSerialNumber, typeWildCard, &copy));
    AEDisposeDesc(&copy);
    EXPECT_EQ(errAEDescNotFound, AEGetAttributePtr(&event, keyMissedKeywordAttr, typeWildCard, nullptr,
                                                   &missed, sizeof missed, nullptr));
    EXPECT_EQ(errAEDescNotFound, AEGetParamDesc(&event, keyDirectObject, typeAEList, &copy));
    AEDisposeDesc(&event);
}

TEST_F(HostAppleEventsTest, ListParametersAreCopiedOut)
{
    AEDescList files;
    AECreateList(nullptr, 0, false, &files);
    AEPutPtr(&files, 0, typeFileURL, "/a", 2);
    AppleEvent event;
    AECreateAppleEvent(kCoreEventClass, kAEOpenDocuments, &event);
    ASSERT_EQ(noErr, AEPutParamDesc(&event, keyDirectObject, &files));
    AEDisposeDesc(&files);

    AEDescList got;
    EXPECT_EQ(errAECoercionFail, AEGetParamDesc(&event, keyDirectObject, typeSInt32, &got));
    ASSERT_EQ(noErr, AEGetParamDesc(&event, keyDirectObject, typeAEList, &got));
    int32_t count = 0;
    AECountItems(&got, &count);
    EXPECT_EQ(1, count);
    AEDisposeDesc(&got);
    AEDisposeDesc(&event);
}

TEST_F(HostAppleEventsTest, DeliveryReachesTheInstalledHandler)
{
    Seen seen;
    EXPECT_EQ(errAEEventNotHandled, HostDeliverOpenApplication());
    EXPECT_EQ(paramErr, AEInstallEventHandler(kCoreEventClass, kAEQuitApplication, recordingHandler,
                                              &seen, true));
    ASSERT_EQ(noErr, AEInstallEventHandler(kCoreEventClass, kAEQuitApplication, recordingHandler,
                                           &seen, false));
    EXPECT_EQ(-5, HostDeliverQuitApplication());
    EXPECT_EQ(1, seen.calls);
    EXPECT_EQ(kAEQuitApplication, seen.id);
    EXPECT_EQ(errAEEventNotHandled, HostDeliverOpenApplication());

    EXPECT_EQ(noErr, AERemoveEventHandler(kCoreEventClass, kAEQuitApplication, recordingHandler, false));
    EXPECT_EQ(errAEEventNotHandled, HostDeliverQuitApplication());

    HostFailHandlerInstall(kAEOpenApplication, -108);
    EXPECT_EQ(-108, AEInstallEventHandler(kCoreEventClass, kAEOpenApplication, recordingHandler,
                                          &seen, false));
    EXPECT_EQ(errAEEventNotHandled, HostDeliverOpenApplication());
}

} // namespace
