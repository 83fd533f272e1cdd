#include "FWException.h"
#include "FWStreamException.h"

#include <gtest/gtest.h>

#include <string>

namespace {
template <class X>
std::string caughtAsStreamException()
{
    try {
        throw X();
    } catch (const FWStreamException& e) {
        EXPECT_FALSE(e.WasReported());
        return e.WhatFailed();
    }
    return "";
}
} // namespace

TEST(FWException, StreamFailuresCarryTheirFixedTexts)
{
    EXPECT_EQ("there was an attempt to read from a write-only stream", caughtAsStreamException<FWReadAccessException>());
    EXPECT_EQ("there was an attempt to write to a read-only stream", caughtAsStreamException<FWWriteAccessException>());
    EXPECT_EQ("an error occurred reading from a stream", caughtAsStreamException<FWReadFailedException>());
    EXPECT_EQ("an error occurred writing to a stream", caughtAsStreamException<FWWriteFailedException>());
    EXPECT_EQ("an error occurred while trying to set a stream's position",
              caughtAsStreamException<FWSetPositionFailedException>());
    EXPECT_EQ("an error occurred while trying to get a stream's position",
              caughtAsStreamException<FWGetPositionFailedException>());
    EXPECT_EQ("an error occurred during a \"GetStreamSize\" operation",
              caughtAsStreamException<FWGetSizeFailedException>());
    EXPECT_EQ("an error occurred opening a stream", caughtAsStreamException<FWOpenFailedException>());
    EXPECT_EQ("The disk is full", caughtAsStreamException<FWDiskFullException>());
}

TEST(FWException, BaseHoldsTheGivenTextUnreported)
{
    static const char kText[] = "the file is damaged";
    try {
        throw FWException(kText);
    } catch (const FWException& e) {
        EXPECT_EQ(kText, e.WhatFailed()); // borrowed, not copied
        EXPECT_FALSE(e.WasReported());
    }
}
