// The set-up scripts on a machine where every package is missing, run by a user who is not root
// and has no sudo: a PATH of stand-ins for dpkg-query and id, and the few real tools the
// scripts use.
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace {

const std::string kScripts = std::string(FW_TEST_DATA) + "/../../scripts";

struct Outcome {
    int status = -1;
    std::string errors;
};

Outcome runWithoutRoot(const std::string& command)
{
    TempFolder folder;
    const std::filesystem::path bin = folder.Path() / "bin";
    std::filesystem::create_directory(bin);
    TempFolder::WriteFile((bin / "dpkg-query").string(), "#!/bin/sh\nexit 1\n");
    TempFolder::WriteFile((bin / "id").string(), "#!/bin/sh\necho 1000\n");
    for (const char* tool : {"dpkg-query", "id"})
        std::filesystem::permissions(bin / tool, std::filesystem::perms::owner_all);
    for (const char* tool : {"bash", "sh", "grep", "dirname"})
        std::filesystem::create_symlink(std::filesystem::path("/bin") / tool, bin / tool);
    const std::string errors = folder.File("errors");
    const std::string line = "/usr/bin/env PATH=" + bin.string() + " /bin/bash " + command + " >/dev/null 2>" + errors;
    const int status = std::system(line.c_str());
    return Outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, TempFolder::ReadFile(errors)};
}

bool names(const std::string& text, const std::string& word)
{
    return (" " + text + " ").find(" " + word + " ") != std::string::npos ||
           text.find(" " + word + "\n") != std::string::npos;
}

} // namespace

TEST(InstallDeps, WithoutRootOrSudoItNamesTheMissingPackagesAndTheCommandForRoot)
{
    const struct {
        std::string command;
        bool testTools;
    } cases[] = {
        {kScripts + "/install-deps", true},
        {kScripts + "/install-deps --programs", false},
        {kScripts + "/run", false}, // stops there, before building anything
    };
    for (const auto& c : cases) {
        const Outcome outcome = runWithoutRoot(c.command);
        EXPECT_EQ(1, outcome.status) << c.command;
        EXPECT_NE(std::string::npos, outcome.errors.find("apt-get update && apt-get install")) << outcome.errors;
        for (const char* package : {"cmake", "libsdl2-dev", "libfreetype-dev"})
            EXPECT_TRUE(names(outcome.errors, package)) << c.command << ": " << package;
        for (const char* package : {"libgtest-dev", "xvfb", "clang"})
            EXPECT_EQ(c.testTools, names(outcome.errors, package)) << c.command << ": " << package;
        EXPECT_EQ(std::string::npos, outcome.errors.find("sudo:")) << outcome.errors;
    }
}
