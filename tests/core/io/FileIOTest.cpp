#include "io/Error.h"
#include "io/FileIO.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

namespace {

// Runs fn in a forked child and returns its wait status.
template <class Fn>
int inChild(Fn fn)
{
    const pid_t pid = fork();
    if (pid == 0) {
        fn();
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

} // namespace

TEST(FileIO, ProcessDyingBeforeTheRenameLeavesTheOldFile)
{
    TempDir dir;
    const auto target = dir / "projects.tbl";
    writeFile(target, "old\r\n");
    const int status = inChild([&] {
        folio::SetBeforeRenameHookForTesting([](const std::filesystem::path&) { _exit(42); });
        folio::WriteFileAtomic(target, "new\r\n");
    });
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 42); // the child really stopped between the two steps
    EXPECT_EQ(readFile(target), "old\r\n");
}

TEST(FileIO, WriterKilledAtRandomMomentsNeverLeavesAHalfWrittenFile)
{
    TempDir dir;
    const auto target = dir / "big.tbl";
    const std::string a(300000, 'a'), b(300000, 'b');
    writeFile(target, a);
    for (int round = 0; round < 25; ++round) {
        const pid_t pid = fork();
        if (pid == 0) {
            for (int i = 0;; ++i) folio::WriteFileAtomic(target, i % 2 ? a : b);
        }
        usleep(1000 + 997 * round % 9000);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const std::string got = readFile(target);
        ASSERT_TRUE(got == a || got == b) << "round " << round << ": " << got.size() << " bytes";
    }
}

TEST(FileIO, ReadAndWriteFailuresNameTheFile)
{
    TempDir dir;
    EXPECT_FALSE(folio::ReadFileIfExists(dir / "none").has_value());
    try {
        folio::ReadWholeFile(dir / "none");
        FAIL();
    } catch (const folio::Error& e) {
        EXPECT_NE(std::string(e.what()).find("none"), std::string::npos);
    }
    EXPECT_THROW(folio::ReadWholeFile(dir.path()), folio::Error); // a folder
    EXPECT_THROW(folio::WriteFileAtomic(dir / "no" / "such" / "f", "x"), folio::Error);
    folio::WriteFileAtomic(dir / "f", "x");
    EXPECT_EQ(readFile(dir / "f"), "x");
    // Nothing but the target is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}
