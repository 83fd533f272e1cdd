// Runs the run application in this process on the headless back end, with the real clock: the
// start-up Apple event from a command line, the main loop driven by a script, and the shut-down.
#pragma once

#include "RunApplication.h"
#include "RunScript.h"

#include "HostDesktopScope.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class RunFixture : public ::testing::Test {
protected:
    RunFixture();
    ~RunFixture() override;

    // Starts the application with the arguments after the program's name, runs its main loop
    // with the script until it quits, and takes the application down.
    void Run(const std::vector<std::string>& arguments, RunScript& script);

public:
    // The probe's centre in global coordinates (the document's window must be open).
    static Point ProbeCentre();
    // The rectangle (global) of an item of a menu of the bar, found by title.
    static Rect MenuItemRect(const std::string& title, int item, Point* titlePoint);
    // Whether the lines come in the log in this order (others may come between them).
    static bool LogHasInOrder(const std::vector<std::string>& lines);
    static bool LogHas(const std::string& line);
    static std::string LogText();

protected:
    HostDesktopScope mDesktop;
    TempFolder mFolder;
    std::string mLayoutPath;
};
