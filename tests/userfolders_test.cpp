// Tests of the per-user folders: the variable, the fallback under $HOME, and what is ignored.
#include "editor/userfolders.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <string>

using namespace quarvel;
using quarvel::test::ScopedEnv;

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

} // namespace
