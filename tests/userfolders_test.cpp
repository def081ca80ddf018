// Tests of the per-user folders: the variable, the fallback under $HOME, and what is ignored.
#include "editor/userfolders.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace quarvel;
using quarvel::test::ScopedEnv;
using quarvel::test::TempDir;

namespace {

TEST(UserFolders, VariableOrFallbackUnderHome) {
    struct Row {
        const char* home;
        const char* dataHome;
        const char* stateHome;
        const char* wantData;
        const char* wantState;
    };
    const Row rows[] = {
        {"/home/u", nullptr, nullptr, "/home/u/.local/share", "/home/u/.local/state"},
        {"/home/u/", nullptr, nullptr, "/home/u/.local/share", "/home/u/.local/state"},
        {"/home/u", "/data", "/state", "/data", "/state"},
        {"/home/u", "", "", "/home/u/.local/share", "/home/u/.local/state"},
        // A relative path in the variable is ignored.
        {"/home/u", "rel/data", "./state", "/home/u/.local/share", "/home/u/.local/state"},
        // No usable home and no variable: nothing.
        {nullptr, nullptr, nullptr, "", ""},
        {"relative", nullptr, nullptr, "", ""},
        {nullptr, "/data", nullptr, "/data", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string("HOME=") + (r.home ? r.home : "(unset)"));
        ScopedEnv home("HOME", r.home), data("XDG_DATA_HOME", r.dataHome),
            state("XDG_STATE_HOME", r.stateHome);
        EXPECT_EQ(XdgDataHome(), r.wantData);
        EXPECT_EQ(XdgStateHome(), r.wantState);
        EXPECT_EQ(UserDataFolder(), *r.wantData ? std::string(r.wantData) + "/quarvel" : "");
        EXPECT_EQ(UserStateFolder(), *r.wantState ? std::string(r.wantState) + "/quarvel" : "");
    }
}

TEST(UserFolders, ConfigHome) {
    ScopedEnv home("HOME", "/h");
    {
        ScopedEnv config("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(XdgConfigHome(), "/h/.config");
    }
    ScopedEnv config("XDG_CONFIG_HOME", "/c");
    EXPECT_EQ(XdgConfigHome(), "/c");
}

TEST(UserFolders, RunningCopyFolderIsTheRuntimeFolderOrPrivateState) {
    ScopedEnv home("HOME", "/h"), state("XDG_STATE_HOME", nullptr);
    {
        ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/7");
        EXPECT_EQ(RunningCopyFolder(), "/run/user/7/quarvel");
    }
    for (const char* none : {static_cast<const char*>(nullptr), "", "run"}) {
        ScopedEnv runtime("XDG_RUNTIME_DIR", none);
        EXPECT_EQ(RunningCopyFolder(), "/h/.local/state/quarvel/run");
    }
    ScopedEnv noHome("HOME", nullptr), runtime("XDG_RUNTIME_DIR", nullptr);
    EXPECT_EQ(RunningCopyFolder(), "");
}

// Ownership is checked against the uid given, so another user's folder is one that this
// user made while claiming to be someone else.
TEST(UserFolders, PrivateFoldersAreTheUsersOwnAndClosed) {
    TempDir dir;
    const uid_t me = ::getuid(), other = me + 1;
    auto mode = [](const std::string& path) {
        struct stat st;
        return ::lstat(path.c_str(), &st) == 0 ? int(st.st_mode & 07777) : -1;
    };
    const std::string made = dir.File("a/b/quarvel");
    EXPECT_EQ(MakePrivateFolder(made, me), PrivateFolder::Ready);
    EXPECT_EQ(mode(made), 0700);
    EXPECT_EQ(MakePrivateFolder(made, other), PrivateFolder::Foreign);
    ASSERT_EQ(::chmod(made.c_str(), 0777), 0);
    EXPECT_EQ(MakePrivateFolder(made, me), PrivateFolder::Ready);
    EXPECT_EQ(mode(made), 0700); // closed again

    // A file, or a link (even to a good folder), in its place is no folder to use.
    std::FILE* f = std::fopen(dir.File("file").c_str(), "w");
    ASSERT_TRUE(f);
    std::fclose(f);
    EXPECT_EQ(MakePrivateFolder(dir.File("file"), me), PrivateFolder::Unusable);
    EXPECT_EQ(MakePrivateFolder(dir.File("file/quarvel"), me), PrivateFolder::Unusable);
    ASSERT_EQ(::symlink(made.c_str(), dir.File("link").c_str()), 0);
    EXPECT_EQ(MakePrivateFolder(dir.File("link"), me), PrivateFolder::Unusable);
    EXPECT_EQ(MakePrivateFolder(dir.File("link"), other), PrivateFolder::Foreign);

    EXPECT_TRUE(OwnedByAnother(dir.File("file"), other));
    EXPECT_FALSE(OwnedByAnother(dir.File("file"), me));
    EXPECT_FALSE(OwnedByAnother(dir.File("missing"), other));
}

} // namespace
