// SPDX-License-Identifier: Apache-2.0
// Running vellmeta end to end from the tests: a shell command line, its
// standard output, standard error and exit status.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>

#include <gtest/gtest.h>

namespace vellmeta::testing {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string slurp(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The vellmeta the tests run: this build's, or the one the environment's
// VMC_TOOL_UNDER_TEST names (scripts/check-windows: the Windows tool under Wine).
inline const char* toolUnderTest()
{
    const char* named = std::getenv("VMC_TOOL_UNDER_TEST");
    return named != nullptr && *named != '\0' ? named : VELLMETA_EXE;
}

inline std::string sample(const std::string& name) { return std::string(VMC_SAMPLES_DIR) + "/" + name + ".vellraw"; }

// Runs `commandLine` with the shell, its output caught in files of `scratch`.
inline Outcome runShell(const std::string& commandLine, const std::filesystem::path& scratch)
{
    const std::string command =
        commandLine + " >" + quoted((scratch / ".out").string()) + " 2>" + quoted((scratch / ".err").string());
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(scratch / ".out"), slurp(scratch / ".err")};
}

// A test with a scratch folder of its own, `dir_`, removed afterwards
// (folders a test made unreadable included).
class ScratchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/vellmeta-test-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override
    {
        namespace fs = std::filesystem;
        for (const auto& entry : fs::recursive_directory_iterator(dir_))
            if (entry.is_directory() && !entry.is_symlink())
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }

    std::filesystem::path dir_;
};

} // namespace vellmeta::testing
