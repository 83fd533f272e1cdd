// The events that start the program (from its command line) and those that tell it it went to
// the background and came back.
#include "HostAppleEvents.h"
#include "HostDesktopScope.h"
#include "HostEvents.h"
#include "HostFiles.h"
#include "HostHeadless.h"
#include "HostInput.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Received {
    std::vector<AEEventID> ids;
    std::vector<std::string> paths;
};
Received gReceived;

OSErr record(const AppleEvent* event, AppleEvent*, SRefCon refCon)
{
    gReceived.ids.push_back(AEEventID(reinterpret_cast<uintptr_t>(refCon)));
    AEDescList list;
    if (AEGetParamDesc(event, keyDirectObject, typeAEList, &list) != noErr)
        return noErr;
    int32_t count = 0;
    AECountItems(&list, &count);
    for (int32_t i = 1; i <= count; ++i) {
        FSSpec spec;
        if (AEGetNthPtr(&list, i, typeFSS, nullptr, nullptr, &spec, sizeof(spec), nullptr) != noErr)
            continue;
        gReceived.paths.push_back(std::string(spec.parentPath) + "/" +
                                  std::string(reinterpret_cast<const char*>(spec.name + 1), spec.name[0]));
    }
    AEDisposeDesc(&list);
    return noErr;
}

class HostLaunchEventsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HostResetAppleEvents();
        gReceived = {};
        for (AEEventID id : {kAEOpenApplication, kAEOpenDocuments})
            ASSERT_EQ(noErr, AEInstallEventHandler(kCoreEventClass, id, record,
                                                   reinterpret_cast<SRefCon>(uintptr_t(id)), false));
    }
    void TearDown() override { HostResetAppleEvents(); }

    // Hands every queued Apple event to its handler; the number handed.
    static int deliverAll()
    {
        int delivered = 0;
        EventRecord event;
        while (WaitNextEvent(highLevelEventMask, &event, 0, nullptr)) {
            EXPECT_EQ(noErr, AEProcessAppleEvent(&event));
            ++delivered;
        }
        return delivered;
    }

    HostDesktopScope mDesktop;
};

TEST_F(HostLaunchEventsTest, NoFileNamedOpensTheApplication)
{
    const char* argv[] = {"program", nullptr};
    HostPostLaunchEvents(1, argv);
    EXPECT_EQ(1, deliverAll());
    EXPECT_EQ(std::vector<AEEventID>{kAEOpenApplication}, gReceived.ids);

    // An empty argument names no file either.
    const char* empty[] = {"program", ""};
    HostPostLaunchEvents(2, empty);
    EXPECT_EQ(1, deliverAll());
    EXPECT_EQ(kAEOpenApplication, gReceived.ids.back());
}

TEST_F(HostLaunchEventsTest, NamedFilesAreOpenedTogetherByTheirAbsolutePaths)
{
    TempFolder folder;
    TempFolder::WriteFile(folder.File("a.rsrc"), "x");
    TempFolder::WriteFile(folder.File("b.rsrc"), "y");
    const std::string b = folder.File("b.rsrc");

    char here[kHostPathCapacity];
    ASSERT_NE(getcwd(here, sizeof(here)), nullptr);
    ASSERT_EQ(0, chdir(folder.Path().c_str()));
    const char* argv[] = {"program", "a.rsrc", b.c_str()};
    HostPostLaunchEvents(3, argv);
    // The relative name was made absolute when posted, so a later change of folder is harmless.
    ASSERT_EQ(0, chdir(here));

    EXPECT_EQ(1, deliverAll());
    EXPECT_EQ(std::vector<AEEventID>{kAEOpenDocuments}, gReceived.ids);
    ASSERT_EQ(2u, gReceived.paths.size());
    const std::string canonical = std::filesystem::canonical(folder.Path()).string();
    EXPECT_EQ(canonical + "/a.rsrc", gReceived.paths[0]);
    EXPECT_EQ(canonical + "/b.rsrc", gReceived.paths[1]);
}

TEST(HostSuspendResume, InjectedFocusChangesBecomeOperatingSystemEvents)
{
    HostDesktopScope desktop;
    HostSetGlobalMouse(Point{40, 50});
    ASSERT_TRUE(HostInjectModifiers(shiftKey));
    ASSERT_TRUE(HostTakeInjectedInput());
    ASSERT_TRUE(HostInjectSuspend());
    ASSERT_TRUE(HostInjectResume());

    EventRecord event;
    ASSERT_TRUE(WaitNextEvent(everyEvent, &event, 0, nullptr));
    EXPECT_EQ(osEvt, event.what);
    EXPECT_EQ(uintptr_t(suspendResumeMessage) << 24, event.message);
    EXPECT_EQ(40, event.where.v);
    EXPECT_EQ(50, event.where.h);
    // The keys held stay held.
    EXPECT_EQ(shiftKey, event.modifiers & shiftKey);

    ASSERT_TRUE(WaitNextEvent(everyEvent, &event, 0, nullptr));
    EXPECT_EQ(osEvt, event.what);
    EXPECT_EQ((uintptr_t(suspendResumeMessage) << 24) | resumeFlag, event.message);

    // They are operating-system events: a wait without that kind leaves them queued.
    ASSERT_TRUE(HostInjectSuspend());
    EXPECT_FALSE(WaitNextEvent(everyEvent & ~osMask, &event, 0, nullptr));
    EXPECT_TRUE(WaitNextEvent(osMask, &event, 0, nullptr));
}

} // namespace
