#include "FWProgrammerMessage.h"
#include "ProgrammerMessageRecorder.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string sLastText;
bool keepText(const FWProgrammerMessageInfo& info)
{
    sLastText = info.text;
    return false;
}
} // namespace

TEST(FWProgrammerMessage, TextNamesSourceAndLineAndAppendsTheMessage)
{
    FWProgrammerMessagePresenter previous = FWSetProgrammerMessagePresenter(keepText);
    EXPECT_EQ(1, fw_programmer_message("Bad string insertion parameters", "FW/Utility/Source/FWString", 468));
    EXPECT_EQ("An assertion failed in FW/Utility/Source/FWString on line 468.\r\rBad string insertion parameters",
              sLastText);
    fw_programmer_message("", "FW/Utility/Source/FWStream", 217);
    EXPECT_EQ("An assertion failed in FW/Utility/Source/FWStream on line 217.", sLastText);
    FWSetProgrammerMessagePresenter(previous);
}

TEST(FWProgrammerMessage, MessageWithFormatCharactersIsDataAndLongTextIsBounded)
{
    ProgrammerMessageRecorder recorder;
    std::string longText(5000, 'x');
    longText += "%s%n%d";
    EXPECT_EQ(1, fw_programmer_message(longText.c_str(), "FW/Test", 1));
    EXPECT_EQ(28, fw_dprintf("%s%d", "1234567890123456789012345", 678));
    ASSERT_EQ(1u, recorder.Messages().size());
    EXPECT_EQ(longText, recorder.Messages()[0].message);
}

TEST(FWProgrammerMessage, RecordersNest)
{
    ProgrammerMessageRecorder outer;
    {
        ProgrammerMessageRecorder inner;
        fw_programmer_message("inner", "p", 1);
        EXPECT_EQ(1u, inner.Messages().size());
    }
    fw_programmer_message("outer", "p", 2);
    ASSERT_EQ(1u, outer.Messages().size());
    EXPECT_EQ("outer", outer.Messages()[0].message);
}
