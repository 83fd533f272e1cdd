// The built program as a desktop program on an X server, driven with xdotool: SIGTERM ends it at
// once in every state, with status 0 and the file as it was, and SIGINT too unless it was started
// with SIGINT ignored; an open menu takes the keys typed meanwhile; a press held still costs no
// processor time; without a display it can reach, or without its own resources, it says so and
// ends; a file it cannot read fully or at all is reported and it goes on.
#include "EditorFixture.h"

#include "CDialogWINT.h"
#include "ChildProcess.h"
#include "HostMenus.h"
#include "XvfbServer.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <unistd.h>
#include <sys/wait.h>

namespace {

using namespace std::chrono_literals;

class DesktopRunTest : public EditorFixture {
protected:
    void SetUp() override
    {
        if (!XvfbServer::Installed() || !ChildProcess::OnPath("xdotool"))
            GTEST_SKIP() << "Xvfb or xdotool is not installed";
        // The display shows the program's screen at 1:1, so its list and menus lie where they lie
        // here.
        StartApp();
        const LayoutListPlaces list = LocateLayoutList();
        mClose = list.buttons.at(CDialogWINT::kClose);
        mOpen = list.buttons.at(CDialogWINT::kOpen);
        mFirstRow = list.Row(0);
        for (const HostMenuTitleLayout& title : HostLayOutMenuBar())
            if (std::string(title.menu->Title().begin(), title.menu->Title().end()) == "Edit")
                mEditTitle = Point{5, int16_t(title.left + 4)};
        StopApp();
        // The program and its resources in the test's folder, so its preferences are too.
        std::filesystem::create_directory(File("program"));
        mProgram = File("program/quillform");
        std::filesystem::copy_file(QUILLFORM_PATH, mProgram);
        std::filesystem::copy_file(FW_APP_RSRC, mProgram + ".rsrc");
        std::filesystem::permissions(mProgram, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
        mLayouts = File("layouts.rsrc");
        mLog = File("shown.log");
    }

    // Starts the program on the layouts, a fresh copy of the sample, and waits for its list: on the
    // test's display, or headless as asked for; with SIGINT and SIGHUP ignored, as a script's
    // background job under nohup.
    void Start(bool display = true, bool interruptIgnored = false)
    {
        if (display && !mServer)
            mServer = std::make_unique<XvfbServer>();
        Launch(display ? mServer->Display() : "", display ? "" : "headless", interruptIgnored);
        ASSERT_TRUE(WaitForLog("WINT [layouts.rsrc]")) << mRun->Output();
    }

    void Launch(const std::string& display, const std::string& backend, bool interruptIgnored = false)
    {
        std::filesystem::copy_file(FW_SAMPLE_RSRC, mLayouts, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::remove(mLog);
        // Standard error goes to a file, so that what the program says there can be counted.
        const std::string shell = std::string(interruptIgnored ? "trap '' INT HUP; " : "") + "exec \"$0\" \"$1\" 2>\"$2\"";
        mRun = std::make_unique<ChildProcess>(
            std::vector<std::string>{"/bin/sh", "-c", shell, mProgram, mLayouts, File("errors")},
            std::vector<std::string>{"DISPLAY=" + display, "FW_HOST_BACKEND=" + backend, "FW_HOST_LOG=" + mLog});
    }

    // Whether the program has a socket open: it connected to the display.
    bool Connected() const
    {
        std::error_code error;
        for (const auto& fd : std::filesystem::directory_iterator("/proc/" + std::to_string(mRun->Pid()) + "/fd", error))
            if (std::filesystem::read_symlink(fd.path(), error).string().rfind("socket:", 0) == 0)
                return true;
        return false;
    }

    bool WaitForLog(const std::string& text, int count = 1)
    {
        for (int attempt = 0; attempt < 240; ++attempt) {
            if (Count(TempFolder::ReadFile(mLog), text) >= count)
                return true;
            if (mRun->Ended(250ms))
                return false;
        }
        return false;
    }

    static int Count(const std::string& text, const std::string& what)
    {
        int n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
            ++n;
        return n;
    }

    // xdotool on the program's window; points are in its (the screen's) coordinates. What the
    // program does then is checked, not xdotool's status (it fails on a window that went away).
    void Xdo(const std::string& commands, std::chrono::milliseconds settle = 300ms)
    {
        const std::string line = "DISPLAY=" + mServer->Display() + " timeout 20 xdotool search --sync --name quillform " +
                                 commands + " >/dev/null 2>&1";
        std::system(line.c_str());
        std::this_thread::sleep_for(settle);
    }
    static std::string At(Point p) { return " mousemove --sync --window %1 " + std::to_string(p.h) + " " + std::to_string(p.v); }
    void Click(Point p) { Xdo(At(p) + " click 1"); }
    void Keys(const std::string& keys) { Xdo("windowfocus --sync %1 key --delay 30 " + keys); }

    // Opens the first layout of the list and changes it (an arrow key moves the selection), once
    // the list has opened it and closed.
    void OpenAndChangeLayout()
    {
        Click(mFirstRow);
        Click(mOpen);
        ASSERT_TRUE(WaitForLog("closed\tWINT [")) << TempFolder::ReadFile(mLog);
        Keys("Right");
    }

    // Processor time the program used so far, in clock ticks.
    long CpuTicks() const
    {
        std::ifstream stat("/proc/" + std::to_string(mRun->Pid()) + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        // Fields 14 and 15 (user and system time) follow the name, which ends with ')'.
        std::istringstream fields(text.substr(text.rfind(')') + 2));
        std::string field;
        long user = 0, system = 0;
        for (int i = 3; i <= 15 && fields >> field; ++i) {
            if (i == 14)
                user = std::stol(field);
            if (i == 15)
                system = std::stol(field);
        }
        return user + system;
    }

    bool EndedWithSuccess(std::chrono::milliseconds limit)
    {
        return mRun->Ended(limit) && WIFEXITED(mRun->Status()) && WEXITSTATUS(mRun->Status()) == 0;
    }

    Point mClose{}, mOpen{}, mFirstRow{}, mEditTitle{};
    std::string mProgram, mLayouts, mLog;
    std::unique_ptr<XvfbServer> mServer;
    std::unique_ptr<ChildProcess> mRun;
};

} // namespace

TEST_F(DesktopRunTest, SigtermEndsItInEveryStateWithTheFileAsItWas)
{
    struct Case {
        const char* state;
        bool display;
        std::function<void()> reach;
        bool interruptIgnored = false;
        int signo = SIGTERM;
    };
    const Case cases[] = {
        {"the list of layouts at start-up", true, [] {}},
        {"a press held on a button", true, [&] { Xdo(At(mClose) + " mousedown 1"); }},
        {"the main loop with a changed layout", true, [&] { OpenAndChangeLayout(); }},
        {"the main loop with a changed layout, its terminal gone", true, [&] { OpenAndChangeLayout(); }, false, SIGHUP},
        {"an open menu", true, [&] {
             OpenAndChangeLayout();
             Click(mEditTitle);
         }},
        {"the question before quitting with a changed layout", true, [&] {
             OpenAndChangeLayout();
             Keys("ctrl+q");
             EXPECT_TRUE(WaitForLog("window\t", 2));
         }},
        {"the open dialog", true, [&] {
             OpenAndChangeLayout();
             Keys("ctrl+o");
             EXPECT_TRUE(WaitForLog("window\t", 2));
         }},
        {"a run headless, as asked for", false, [] { std::this_thread::sleep_for(1s); }},
        {"a run started with SIGINT and SIGHUP ignored, after both", true, [&] {
             kill(mRun->Pid(), SIGINT);
             kill(mRun->Pid(), SIGHUP);
             std::this_thread::sleep_for(1s);
         }, true},
        {"a display that stopped answering while it draws", true, [&] {
             Xdo("windowfocus --sync %1 key --delay 0 --repeat 60 Down Up", 0ms);
             mServer->Freeze(true);
         }},
    };
    const std::string sample = TempFolder::ReadFile(FW_SAMPLE_RSRC);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        Start(c.display, c.interruptIgnored);
        c.reach();
        ASSERT_FALSE(mRun->Ended(0ms)) << mRun->Output();
        kill(mRun->Pid(), c.signo);
        EXPECT_TRUE(EndedWithSuccess(10s)) << mRun->Status();
        mRun->Stop(10s);
        if (c.display) {
            mServer->Freeze(false);
            std::system(("DISPLAY=" + mServer->Display() + " timeout 20 xdotool mouseup 1 >/dev/null 2>&1").c_str());
        }
        EXPECT_EQ(sample, TempFolder::ReadFile(mLayouts));
    }
}

TEST_F(DesktopRunTest, AnOpenMenuTakesTheKeysTypedMeanwhileAndEscapeClosesIt)
{
    Start();
    Click(mFirstRow);
    Click(mOpen);
    ASSERT_TRUE(WaitForLog("closed\tWINT [layouts.rsrc]")) << TempFolder::ReadFile(mLog);
    Click(mEditTitle);
    // Arrow keys reaching the layout would move its selection and make it changed: Quit would
    // then ask before closing it.
    Keys("Right Right Right Right Right Right Right Right Right Right Escape ctrl+q");
    EXPECT_TRUE(EndedWithSuccess(20s)) << mRun->Status();
    EXPECT_EQ(1, Count(TempFolder::ReadFile(mLog), "window\t")) << TempFolder::ReadFile(mLog);
}

TEST_F(DesktopRunTest, APressHeldStillCostsNoProcessorTimeAndItsReleaseIsSeenAtOnce)
{
    Start();
    Xdo(At(mClose) + " mousedown 1");
    const long before = CpuTicks();
    std::this_thread::sleep_for(3s);
    const long used = CpuTicks() - before;
    // Under 5% of one core over three seconds.
    EXPECT_LT(used, 3 * sysconf(_SC_CLK_TCK) / 20);
    // Released on the Close button, the list closes with its file, and Quit then ends the program
    // (a modal list would refuse it).
    Xdo(At(Point{int16_t(mClose.v + 1), int16_t(mClose.h + 1)}) + " mouseup 1");
    Keys("ctrl+q");
    EXPECT_TRUE(EndedWithSuccess(20s)) << mRun->Status();
}

TEST_F(DesktopRunTest, ABuildToolWithoutADisplaySaysNothingAboutIt)
{
    const std::string file = File("tool.rsrc");
    std::filesystem::copy_file(FW_APP_RSRC, file);
    const std::string line = "env -u DISPLAY -u FW_HOST_BACKEND " + std::string(LAYOUTBUILD_PATH) + " app " + file +
                             " >/dev/null 2>" + File("errors");
    std::system(line.c_str());
    EXPECT_EQ(0, Count(TempFolder::ReadFile(File("errors")), "display"));
}

TEST_F(DesktopRunTest, WithoutADisplayItCanReachOrItsOwnResourcesItSaysSoInOneLineAndEndsWithStatus1)
{
    mServer = std::make_unique<XvfbServer>();
    ASSERT_TRUE(mServer->Running()) << "Xvfb did not start";
    const std::string rsrc = std::filesystem::canonical(mProgram).string() + ".rsrc";
    const std::string said = "quillform: cannot open its resources: " + rsrc;
    // spoil: what becomes of its resource file, before a start on a working display.
    const struct { std::string display, said; bool lost, silent = false; std::function<void()> spoil; } cases[] = {
        {"", "quillform: needs an X display to show its windows, and DISPLAY is not set: start it from", false},
        {":889", "quillform: cannot open display :889\n", false}, // no server there
        // The server takes the connection and never answers (stopped, as one that hung).
        {mServer->Display(), mServer->Display() + ": it takes the connection but does not answer\n", false, true},
        // The server ends as the program connects, before its window shows.
        {mServer->Display(), mServer->Display(), true},
        {mServer->Display(), said + " is missing\n", false, false, [] {}},
        {mServer->Display(), said + " is damaged: it is cut short or not a resource file\n", false, false,
         [&] { TempFolder::WriteFile(rsrc, TempFolder::ReadFile(FW_APP_RSRC).substr(0, 100)); }},
        {mServer->Display(), said + " is not a file\n", false, false, [&] { std::filesystem::create_directory(rsrc); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        if (c.spoil) {
            std::filesystem::remove_all(rsrc);
            c.spoil();
        }
        mServer->Freeze(c.silent);
        Launch(c.display, "");
        for (int wait = 0; c.lost && wait < 20000 && !Connected(); ++wait)
            std::this_thread::sleep_for(1ms);
        if (c.lost)
            mServer->End();
        ASSERT_TRUE(mRun->Ended(20s));
        EXPECT_TRUE(WIFEXITED(mRun->Status()) && WEXITSTATUS(mRun->Status()) == 1) << mRun->Status();
        const std::string errors = TempFolder::ReadFile(File("errors"));
        EXPECT_EQ(1, Count(errors, "\n")) << errors;
        EXPECT_NE(std::string::npos, errors.find(c.said)) << errors;
    }
}

TEST_F(DesktopRunTest, WhatItCannotReadItSaysAndGoesOnAndASignalDuringSetUpEndsItWithSuccess)
{
    // The sample with its push button's record (in layout 128, the first row) of version 9.
    std::string newer = TempFolder::ReadFile(FW_SAMPLE_RSRC);
    newer[newer.find(std::string("PushButton", 11)) + 11 + 4] = 9;
    // What the program says, or nothing: SIGTERM as soon as it connects to the display.
    const struct { std::string file, contents, said; } cases[] = {
        {File("newer.rsrc"), newer, "Unknown 'PushButton' version"},
        {File("missing.rsrc"), "", "Resource error -43"},
        {File("text.rsrc"), "no resources here", "Resource error -199"},
        {mLayouts, TempFolder::ReadFile(FW_SAMPLE_RSRC), ""},
    };
    mServer = std::make_unique<XvfbServer>();
    ASSERT_TRUE(mServer->Running()) << "Xvfb did not start";
    const std::vector<std::string> user = {"DISPLAY=" + mServer->Display(), "FW_HOST_BACKEND=", "FW_HOST_LOG=" + mLog};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        if (!c.contents.empty())
            TempFolder::WriteFile(c.file, c.contents);
        std::filesystem::remove(mLog);
        mRun = std::make_unique<ChildProcess>(std::vector<std::string>{mProgram, c.file}, user);
        for (int wait = 0; wait < 20000 && c.said.empty() && !Connected(); ++wait)
            std::this_thread::sleep_for(1ms);
        if (c.file == File("newer.rsrc") && WaitForLog("WINT [newer.rsrc]")) {
            Click(mFirstRow);
            Click(mOpen);
        }
        if (!c.said.empty()) {
            ASSERT_TRUE(WaitForLog(c.said)) << TempFolder::ReadFile(mLog);
            Keys("Return"); // the default answer goes on
            EXPECT_FALSE(mRun->Ended(1s)) << mRun->Status();
            EXPECT_EQ(1, Count(TempFolder::ReadFile(mLog), c.said));
        }
        kill(mRun->Pid(), SIGTERM);
        EXPECT_TRUE(EndedWithSuccess(20s)) << mRun->Status();
    }
}
