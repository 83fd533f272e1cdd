// Runs the forkflip program itself, headless: the open dialog's answer comes from
// FW_HOST_NAV_ANSWER, what its windows showed is read from the FW_HOST_LOG file, and its
// preferences live in a scratch configuration folder (XDG_CONFIG_HOME).
#include "TempFolder.h"
#include "XvfbServer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

extern char** environ;

namespace {

class Program {
public:
    Program() : mRoot(std::filesystem::canonical(mTemp.Path()).string())
    {
        std::filesystem::create_directory(mRoot + "/config");
        std::filesystem::create_directory(mRoot + "/work");
    }
    std::string Work(const std::string& name = "") const { return mRoot + "/work" + (name.empty() ? "" : "/" + name); }

    // Runs forkflip with the open dialog answering navAnswer; answers its exit status and the
    // lines of its log. Its standard error is kept (Errors()). Unless forced headless, it runs
    // as a person would start it where there is no display: neither DISPLAY nor
    // FW_HOST_BACKEND set.
    int Run(const std::string& navAnswer, std::vector<std::string>& log, bool forcedHeadless = true)
    {
        std::string logPath = mRoot + "/log";
        std::filesystem::remove(logPath);
        std::map<std::string, std::string> overrides{{"FW_HOST_BACKEND", "headless"},
                                                     {"XDG_CONFIG_HOME", mRoot + "/config"},
                                                     {"FW_HOST_LOG", logPath},
                                                     {"FW_HOST_NAV_ANSWER", navAnswer},
                                                     {"FW_HOST_MODAL_ANSWERS", ""}};
        std::vector<std::string> variables;
        for (char** e = environ; *e != nullptr; ++e) {
            std::string entry = *e;
            const std::string name = entry.substr(0, entry.find('='));
            if (overrides.count(name) == 0 && (forcedHeadless || name != "DISPLAY"))
                variables.push_back(entry);
        }
        if (!forcedHeadless)
            overrides.erase("FW_HOST_BACKEND");
        for (const auto& [name, value] : overrides)
            variables.push_back(name + "=" + value);
        std::vector<char*> envp;
        for (std::string& v : variables)
            envp.push_back(v.data());
        envp.push_back(nullptr);
        char program[] = FORKFLIP_PATH;
        char* argv[] = {program, nullptr};
        const std::string errorsPath = mRoot + "/stderr";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0)
            return -1;
        int status = 0;
        waitpid(pid, &status, 0);
        log.clear();
        std::string text = TempFolder::ReadFile(logPath);
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find('\n', start);
            log.push_back(text.substr(start, end - start));
            start = end == std::string::npos ? text.size() : end + 1;
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Errors() const { return TempFolder::ReadFile(mRoot + "/stderr"); }

private:
    TempFolder mTemp;
    std::string mRoot;
};

bool has(const std::vector<std::string>& log, const std::string& line)
{
    return std::find(log.begin(), log.end(), line) != log.end();
}

} // namespace

TEST(ForkflipProgram, ConvertsTheChosenFileAndStartsTheNextRunInItsFolder)
{
    Program program;
    std::string fork(300, '\0');
    for (size_t i = 0; i < fork.size(); ++i)
        fork[i] = char(i);
    TempFolder::WriteFile(program.Work("a.rsc"), fork);
    TempFolder::WriteFile(program.Work("a.RSC"), "x");
    TempFolder::WriteFile(program.Work("x.rsc.bak"), "x");
    std::filesystem::create_directory(program.Work("sub"));

    std::vector<std::string> log;
    ASSERT_EQ(0, program.Run(program.Work("a.rsc"), log));
    EXPECT_TRUE(has(log, "window\tOpen\tSelect rsc file(s)"));
    EXPECT_TRUE(has(log, "nav-answer\topen\t" + program.Work("a.rsc")));
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ("window\tNote\t1 file (PC) was created Ok", log[log.size() - 2]);
    std::string flat = TempFolder::ReadFile(program.Work("a.rsc(PC)"));
    ASSERT_EQ(434u, flat.size());
    EXPECT_EQ(std::string("\x00\x05" "a.rsc", 7), flat.substr(0, 7));
    EXPECT_EQ(std::string("\x00\x00\x01\x2C\x70\xC6\x9C\xB6\x70\xC6\x9C\xB6", 12), flat.substr(87, 12));
    EXPECT_EQ(std::string("\x12\x34", 2), flat.substr(124, 2));
    EXPECT_EQ(fork + std::string(6, '\0'), flat.substr(128));

    // The second run opens in the folder, offering its folders and ".rsc" files only.
    ASSERT_EQ(0, program.Run("cancel", log));
    EXPECT_TRUE(has(log, "nav-folder\t" + program.Work()));
    std::vector<std::string> entries;
    for (const std::string& line : log)
        if (line.rfind("nav-entry\t", 0) == 0)
            entries.push_back(line.substr(10));
    EXPECT_EQ((std::vector<std::string>{"a.rsc", "sub/"}), entries);
    EXPECT_FALSE(has(log, "window\tNote\tNo files created"));
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ("nav-answer\tcancel", log[log.size() - 2]);
    EXPECT_EQ("closed\tOpen", log.back());
}

TEST(ForkflipProgram, AFailureIsShownWithTheFileNameAndNothingIsCounted)
{
    Program program;
    TempFolder::WriteFile(program.Work("empty.rsc"), "");
    std::vector<std::string> log;
    ASSERT_EQ(0, program.Run(program.Work("empty.rsc"), log));
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ("window\tError\tError opening empty.rsc", log[log.size() - 4]);
    EXPECT_EQ("window\tNote\tNo files created", log[log.size() - 2]);
    EXPECT_FALSE(std::filesystem::exists(program.Work("empty.rsc(PC)")));
}

TEST(ForkflipProgram, HeadlessItWritesItsMessagesToStandardErrorAndWithoutADisplayItSaysSoAndEnds)
{
    Program program;
    // A FIFO named like a resource file: reported at once, never waited on.
    ASSERT_EQ(0, mkfifo(program.Work("x.rsc").c_str(), 0600));
    std::vector<std::string> log;
    ASSERT_EQ(0, program.Run(program.Work("x.rsc"), log));
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ("window\tError\tError opening x.rsc", log[log.size() - 4]);
    EXPECT_EQ("Open: Select rsc file(s)\nError: Error opening x.rsc\nNote: No files created\n", program.Errors());
    ASSERT_EQ(1, program.Run(program.Work("x.rsc"), log, false));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(0u, program.Errors().find("forkflip: needs an X display to show its windows, and DISPLAY is not set: "));

    // A display that takes the connection and never answers (a server stopped, as one that hung).
    XvfbServer server;
    server.Freeze(true);
    ChildProcess run({"/bin/sh", "-c", "exec \"$0\" 2>&1", FORKFLIP_PATH},
                     {"DISPLAY=" + server.Display(), "FW_HOST_BACKEND="});
    ASSERT_TRUE(run.Ended(std::chrono::seconds(20)));
    server.Freeze(false);
    EXPECT_EQ(1, WEXITSTATUS(run.Status()));
    EXPECT_EQ("forkflip: cannot open display " + server.Display() + ": it takes the connection but does not answer\n",
              run.Output());
}
