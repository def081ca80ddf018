// Tests of safe file access: saving never replaces anything but a regular file, leaves no
// temporary file behind after a failure or a killed save, and replaces a pair both or
// neither; reading refuses pipes and devices without waiting on them.
#include "map/fileio.h"
#include "map/mapclass.h"
#include "tests/testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace quarvel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs `fn` in a child process; true when it ended by itself with status 0 within 5 s.
template <class Fn> bool InChildWithin5s(Fn fn) {
    const pid_t pid = fork();
    if (pid == 0) {
        int status = 1;
        try {
            status = fn() ? 0 : 1;
        } catch (...) {
        }
        _exit(status);
    }
    for (int i = 0; i < 500; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return false;
}

ErrorKind KindOfSave(const std::string& path) {
    try {
        WriteFileAtomically(path, "new", 3);
    } catch (const QuarvelError& e) {
        return e.Kind;
    }
    return ErrorKind::Message; // no error
}

TEST(SaveFile, OnlyARegularFileOrANewNameIsReplaced) {
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0644), 0);
    fs::create_symlink(dir.File("fifo"), dir.File("to-fifo"));
    const std::string device = test::NullDevice(dir);
    fs::create_symlink(device, dir.File("to-null"));
    fs::create_directory(dir.File("folder"));
    for (const char* name : {"fifo", "to-fifo", "to-null", "folder"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(KindOfSave(dir.File(name)), ErrorKind::NotRegularFile);
    }
    EXPECT_TRUE(fs::is_fifo(dir.File("fifo")));
    EXPECT_TRUE(fs::is_symlink(dir.File("to-null")));
    EXPECT_TRUE(fs::is_character_file(device));
    fs::remove(dir.File("null-device"));
    EXPECT_EQ(Entries(dir.Path()),
              (std::vector<std::string>{"fifo", "folder", "to-fifo", "to-null"}));

    // A new name, a regular file and a link to a file that is not there yet are written.
    fs::create_symlink("later", dir.File("to-later"));
    for (const char* name : {"new", "to-later", "new"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(KindOfSave(dir.File(name)), ErrorKind::Message);
        EXPECT_EQ(ReadBytes(dir.File(name)), (Bytes{'n', 'e', 'w'}));
    }
    EXPECT_TRUE(fs::is_symlink(dir.File("to-later")));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.File("later"))));
}

TEST(SaveFile, AFailingWriterLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    WriteBytes(dir.File("a"), {1, 2, 3});
    EXPECT_THROW(SaveFileAtomically(dir.File("a"),
                                    [](std::FILE* f) {
                                        std::fputs("half", f);
                                        throw QuarvelError("stopped");
                                    }),
                 QuarvelError);
    EXPECT_EQ(ReadBytes(dir.File("a")), (Bytes{1, 2, 3}));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"a"});
}

// A save killed by SIGXFSZ half-way leaves its temporary file; the next save of the same
// file removes it, and one of another file leaves it alone.
TEST(SaveFile, AKilledSavesTemporaryIsRemovedByTheNextSave) {
    TempDir dir;
    const std::string target = dir.File("a.map");
    WriteBytes(target, {7});
    const pid_t pid = fork();
    if (pid == 0) {
        struct rlimit small = {1000, 1000};
        setrlimit(RLIMIT_FSIZE, &small);
        std::signal(SIGXFSZ, SIG_DFL);
        auto map = std::make_unique<TMap>();
        map->Clear();
        map->WriteToFile(target); // killed by SIGXFSZ at 1,000 bytes
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGXFSZ);
    const std::string stale = SaveTempPath(target);
    ASSERT_TRUE(fs::exists(stale));
    EXPECT_EQ(ReadBytes(target), Bytes{7});

    WriteFileAtomically(dir.File("other.map"), "x", 1);
    EXPECT_TRUE(fs::exists(stale));
    WriteFileAtomically(target, "y", 1);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_EQ(ReadBytes(target), Bytes{'y'});
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"a.map", "other.map"}));
}

// A temporary file under another process's lock is a save under way: it is not taken.
TEST(SaveFile, ASaveUnderWayElsewhereIsNotDisturbed) {
    TempDir dir;
    const std::string target = dir.File("a");
    WriteBytes(target, {1});
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(SaveTempPath(target).c_str(), O_WRONLY | O_CREAT, 0600);
        flock(fd, LOCK_EX);
        write(fd, "busy", 4);
        alarm(30); // ends it should the test itself die first
        pause();
        _exit(0);
    }
    std::error_code ec;
    for (int i = 0; i < 500 && fs::file_size(SaveTempPath(target), ec) != 4; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(KindOfSave(target), ErrorKind::Busy);
    EXPECT_EQ(ReadBytes(target), Bytes{1});
    EXPECT_EQ(ReadBytes(SaveTempPath(target)), (Bytes{'b', 'u', 's', 'y'}));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    EXPECT_EQ(KindOfSave(target), ErrorKind::Message); // the lock ended with the process
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"a"});
}

TEST(SaveFile, CommitBothPutsTheOldFirstBackWhenTheSecondFails) {
    TempDir dir;
    const std::string one = dir.File("one"), two = dir.File("two");
    for (bool hadOld : {true, false}) {
        SCOPED_TRACE(hadOld);
        fs::remove_all(one);
        fs::remove_all(two);
        if (hadOld) WriteBytes(one, {1});
        WriteBytes(two, {2});
        {
            TSaveFile a(one, FileRole::ArchiveData), b(two, FileRole::ArchiveIndex);
            a.Write("A", 1);
            b.Write("B", 1);
            // The second target turns into a folder with content: its rename must fail.
            fs::remove(two);
            fs::create_directories(two + "/inside");
            try {
                TSaveFile::CommitBoth(a, b);
                ADD_FAILURE() << "no error";
            } catch (const QuarvelError& e) {
                EXPECT_EQ(e.Kind, ErrorKind::CannotSave);
                EXPECT_EQ(e.Path, two);
            }
        }
        if (hadOld)
            EXPECT_EQ(ReadBytes(one), Bytes{1});
        else
            EXPECT_FALSE(fs::exists(one));
        EXPECT_EQ(Entries(dir.Path()), hadOld ? (std::vector<std::string>{"one", "two"})
                                              : std::vector<std::string>{"two"});
    }
}

TEST(ReadFile, PipesAndDevicesAreRefusedWithoutWaiting) {
    TempDir dir;
    ASSERT_EQ(mkfifo(dir.File("fifo.map").c_str(), 0644), 0);
    fs::create_symlink(dir.File("fifo.map"), dir.File("link.map"));
    for (const std::string& path :
         {dir.File("fifo.map"), dir.File("link.map"), std::string("/dev/zero"), dir.Path()}) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(InChildWithin5s([&] {
            auto map = std::make_unique<TMap>();
            try {
                map->LoadFromFile(path);
            } catch (const QuarvelError& e) {
                return e.Kind == ErrorKind::NotRegularFile && e.Path == path;
            }
            return false;
        }));
    }
}

} // namespace
} // namespace quarvel
