// The run application as a separate program on the SDL back end, shown on an X server started
// here: it opens the named layout, answers a real mouse click sent to that server, is suspended
// and resumed as its window loses and regains the input focus, and ends on SIGTERM. Every wait
// is bounded; the server and the program are always taken down.
#include "RunApplication.h"

#include "ChildProcess.h"
#include "TempFolder.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

TEST(RunProgram, AnswersARealClickAndFocusChangesOnTheDisplayAndEndsOnSigterm)
{
    if (!XvfbServer::Installed() || !ChildProcess::OnPath("xdotool"))
        GTEST_SKIP() << "Xvfb or xdotool is not installed";
    TempFolder folder;
    const std::string layout = folder.File("layout.rsrc");
    ASSERT_TRUE(MakeRunLayoutFile(layout));

    XvfbServer server;
    ASSERT_TRUE(server.Running()) << "Xvfb did not start";
    ChildProcess program({RUNAPP_PATH, layout}, {"DISPLAY=" + server.Display(), "FW_HOST_BACKEND=sdl"});
    ASSERT_GT(program.Pid(), 0);

    const std::string backend = program.WaitForLine("backend ", std::chrono::seconds(60));
    ASSERT_NE("", backend) << program.Output();
    char name[32] = {};
    int originX = 0, originY = 0;
    ASSERT_EQ(3, std::sscanf(backend.c_str(), "backend %31s origin %d %d", name, &originX, &originY));
    EXPECT_STREQ("sdl", name);
    EXPECT_EQ("", program.WaitForLine("display connection closed", std::chrono::milliseconds(0))) << program.Output();
    const std::string probe = program.WaitForLine("probe at ", std::chrono::seconds(60));
    ASSERT_NE("", probe) << program.Output();
    int h = 0, v = 0;
    ASSERT_EQ(2, std::sscanf(probe.c_str(), "probe at %d %d", &h, &v));

    // A real click on the probe, through the X server.
    const std::string click = "DISPLAY=" + server.Display() + " timeout 20 xdotool mousemove --sync " +
                              std::to_string(originX + h) + " " + std::to_string(originY + v) + " click 1";
    ASSERT_EQ(0, std::system(click.c_str()));
    EXPECT_NE("", program.WaitForLine("probe mouse down", std::chrono::seconds(60))) << program.Output();
    EXPECT_NE("", program.WaitForLine("application mouse down", std::chrono::seconds(10))) << program.Output();

    // The display window losing the input focus suspends the program; getting it back resumes it.
    const std::string xdo = "DISPLAY=" + server.Display() + " timeout 20 xdotool ";
    std::string window;
    if (FILE* search = popen((xdo + "search --name runapp").c_str(), "r")) {
        char line[64] = {};
        if (std::fgets(line, sizeof line, search) != nullptr)
            window = std::to_string(std::atol(line));
        pclose(search);
    }
    ASSERT_NE("", window);
    ASSERT_EQ(0, std::system((xdo + "windowfocus --sync " + window).c_str()));
    ASSERT_EQ(0, std::system((xdo + "windowunmap --sync " + window).c_str()));
    EXPECT_NE("", program.WaitForLine("suspend", std::chrono::seconds(60))) << program.Output();
    ASSERT_EQ(0, std::system((xdo + "windowmap --sync " + window).c_str()));
    ASSERT_EQ(0, std::system((xdo + "windowfocus --sync " + window).c_str()));
    EXPECT_NE("", program.WaitForLine("resume", std::chrono::seconds(60))) << program.Output();

    ASSERT_EQ(0, kill(program.Pid(), SIGTERM));
    ASSERT_TRUE(program.Ended(std::chrono::seconds(60))) << program.Output();
    EXPECT_TRUE(WIFEXITED(program.Status())) << program.Output();
    EXPECT_EQ(0, WEXITSTATUS(program.Status())) << program.Output();
    // It ends where it stands, without running its quit.
    EXPECT_EQ("", program.WaitForLine("quit", std::chrono::milliseconds(0))) << program.Output();
}
