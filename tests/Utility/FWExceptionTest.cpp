#include "FWException.h"
#include "FWStreamException.h"
#include "HostDesktopScope.h"
#include "ShownMessages.h"
#include "HostModalLoop.h"
#include "HostSound.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

namespace {

class ExceptionReportTest : public ShownMessagesTest {};

} // namespace

TEST_F(ExceptionReportTest, AnExceptionIsReportedOnceWithABeep)
{
    FWException e("the disk is on fire");
    FWException::ReportException(e);
    EXPECT_TRUE(e.WasReported());
    FWException::ReportException(e);
    FWException::ReportException(e, "save it");
    EXPECT_EQ((std::vector<std::string>{"Sorry, the disk is on fire."}), ShownMessageTexts());
    EXPECT_EQ(1u, HostBeepCount());

    FWException other("the disk is on fire");
    FWException::ReportException(other, "save \"a.rsrc\"");
    EXPECT_TRUE(other.WasReported());
    // The free form has no flag: it shows every time. A "%" in the texts is shown as it is.
    FWException::ReportException("100% wrong", "open it");
    FWException::ReportException("100% wrong", "open it");
    EXPECT_EQ((std::vector<std::string>{"Sorry, the disk is on fire.",
                                        "Could not save \"a.rsrc\" because the disk is on fire.",
                                        "Could not open it because 100% wrong.", "Could not open it because 100% wrong."}),
              ShownMessageTexts());
    EXPECT_EQ(4u, HostBeepCount());
}

TEST_F(ExceptionReportTest, TheReportIsCutAt255Characters)
{
    const std::string action(300, 'a');
    FWException::ReportException("it failed", action.c_str());
    ASSERT_EQ(1u, ShownMessageTexts().size());
    EXPECT_EQ("Could not " + std::string(245, 'a'), ShownMessageTexts()[0]);
}
