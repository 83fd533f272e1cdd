// What the headless modal loops showed to the user, for tests of messages and reports.
#pragma once

#include "HostDesktopScope.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The text of every message shown, in order. Messages have no title; file dialogs have one.
std::vector<std::string> ShownMessageTexts();

// A clean desktop, no recorded messages or beeps before the test and no messages left after.
class ShownMessagesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HostDesktopScope mDesktop;
};
