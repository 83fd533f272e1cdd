#include "HostBundles.h"
#include "LoadMachOFunction.h"

#include <gtest/gtest.h>

#include <cstdio>

TEST(LoadMachOFunction, FindsTheHostsFunctionsByName)
{
    EXPECT_EQ(reinterpret_cast<void*>(&popen), LoadMachOFunction("popen", "System.framework"));
    EXPECT_EQ(reinterpret_cast<void*>(&fgetc), LoadMachOFunction("fgetc", "System.framework"));
    EXPECT_EQ(reinterpret_cast<void*>(&pclose), LoadMachOFunction("pclose", "System.framework"));
    EXPECT_NE(nullptr, LoadMachOFunction("CGDisplayMoveCursorToPoint", "ApplicationServices.framework"));
}

TEST(LoadMachOFunction, UnknownNamesGiveNullEveryTime)
{
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(nullptr, LoadMachOFunction("popen", "NoSuch.framework"));
        EXPECT_EQ(nullptr, LoadMachOFunction("nosuchfunction", "System.framework"));
        EXPECT_EQ(nullptr, LoadMachOFunction("popen", "ApplicationServices.framework"));
    }
    EXPECT_EQ(nullptr, LoadMachOFunction(nullptr, "System.framework"));
    EXPECT_EQ(nullptr, LoadMachOFunction("popen", nullptr));
}

TEST(LoadMachOFunction, TestsCanStandInForTheSystemLibrary)
{
    HostSystemFunctionFinder none = [](const char*, const char*) -> void* { return nullptr; };
    EXPECT_EQ(nullptr, HostSetSystemFunctionFinder(none));
    EXPECT_EQ(nullptr, LoadMachOFunction("popen", "System.framework"));
    EXPECT_NE(nullptr, LoadMachOFunction("CGDisplayMoveCursorToPoint", "ApplicationServices.framework"));
    EXPECT_EQ(none, HostSetSystemFunctionFinder(nullptr));
    EXPECT_NE(nullptr, LoadMachOFunction("popen", "System.framework"));
}
