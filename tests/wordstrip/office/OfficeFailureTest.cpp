// Runs that are interrupted, and offices that hang or die under them: every file gets its
// result or its warning, and no office process is left.

#include "OfficeFixture.h"

#include <gmock/gmock.h>

#include <csignal>
#include <set>

namespace wstest {
namespace {

using ::testing::HasSubstr;

class OfficeFailure : public OfficeRunTest {
protected:
    std::string Marker() const { return fs::weakly_canonical(Tmp()).string(); }
    // The office process proper (the one that opens documents) of this test's runs.
    pid_t OfficeProcess() const
    {
        for (const auto& [pid, cmdline] : ProcessesMentioning(Marker()))
            if (cmdline.find("soffice.bin") != std::string::npos) return pid;
        return -1;
    }
    size_t FilesIn(const fs::path& dir) const
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
};

TEST_F(OfficeFailure, CtrlCInTheMiddleOfABatchEndsTheOffice)
{
    const std::string book = BookRtf();
    for (int n = 1; n <= 6; ++n) testsupport::writeFile(Work() / ("doc" + std::to_string(n) + ".rtf"), book);
    struct Case {
        const char* name;
        bool wholeGroup; // as a terminal sends it; the office has a group of its own
        bool whileStarting;
    } cases[] = {
        {"process, mid-batch", false, false},
        {"process group, mid-batch", true, false},
        {"process, while the office starts", false, true},
    };
    int k = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path out = Work() / ("out" + std::to_string(++k));
        fs::create_directories(out);
        LiveRun run = StartOffice({"-o", out.string(), "*.rtf"}, Setup());
        if (c.whileStarting) {
            while (ProcessesMentioning(Marker()).empty()) ::usleep(10000);
        } else {
            ASSERT_TRUE(run.WaitForOutput(" --> "));
        }
        ASSERT_EQ(::kill(c.wholeGroup ? -run.Pid() : run.Pid(), SIGINT), 0);
        const RunResult r = run.Finish();
        EXPECT_EQ(r.exitCode, 3);
        EXPECT_TRUE(r.out.ends_with("Operation Aborted.\n")) << r.out;
        EXPECT_EQ(r.err, "");
        EXPECT_LT(FilesIn(out), 6u) << "the batch stopped";
        if (c.whileStarting) {
            EXPECT_EQ(r.out, "Operation Aborted.\n") << "nothing converted";
        }
        EXPECT_TRUE(ProcessesMentioning(Marker()).empty());
    }
}

TEST_F(OfficeFailure, HungOrDeadOfficeCostsOneFileAndIsStartedAgain)
{
    // Large enough that the save of the first file is still running when the office is hit.
    const std::string large = LargeRtf();
    struct Case {
        const char* name;
        int signal;
        std::string warning;
    } cases[] = {
        {"hung", SIGSTOP, "Warning: Document.SaveAs method failed.\n[80040201] The office stopped responding and was ended\n"},
        {"dead", SIGKILL, "Warning: Document.SaveAs method failed.\n[80040202] The office ended unexpectedly\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path in = Work() / c.name;
        const fs::path out = Work() / (std::string(c.name) + "-out");
        fs::create_directories(in);
        fs::create_directories(out);
        for (const char* name : {"a.rtf", "b.rtf", "c.rtf"}) testsupport::writeFile(in / name, large);
        RunSetup setup = Setup();
        setup.env["WORDSTRIP_OFFICE_TIMEOUT"] = "8";
        LiveRun run = StartOffice({"-o", out.string(), (in / "a.rtf").string(), (in / "b.rtf").string(),
                                   (in / "c.rtf").string()},
                                  setup);
        // The progress line comes just before the save, which takes a while on this document.
        ASSERT_TRUE(run.WaitForOutput(" --> "));
        const pid_t office = OfficeProcess();
        ASSERT_GT(office, 0);
        ASSERT_EQ(::kill(office, c.signal), 0);
        const RunResult r = run.Finish();
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.err, c.warning);
        EXPECT_THAT(r.out, HasSubstr("c.rtf --> "));
        std::set<std::string> written;
        for (const auto& entry : fs::directory_iterator(out)) written.insert(entry.path().filename().string());
        EXPECT_EQ(written, (std::set<std::string>{"b.txt", "c.txt"})) << "no half-written result, no temporary file";
        for (const char* name : {"b.txt", "c.txt"}) {
            ASSERT_TRUE(fs::exists(out / name)) << name;
            EXPECT_THAT(testsupport::readFile(out / name), HasSubstr(Cp1251("записи, номер 9999\r\n")));
        }
        EXPECT_TRUE(ProcessesMentioning(Marker()).empty());
    }
}

TEST_F(OfficeFailure, AKilledRunTakesItsOfficeAlong)
{
    const std::string book = BookRtf();
    for (int n = 1; n <= 6; ++n) testsupport::writeFile(Work() / ("doc" + std::to_string(n) + ".rtf"), book);
    LiveRun run = StartOffice({"*.rtf"}, Setup());
    ASSERT_TRUE(run.WaitForOutput(" --> "));
    ASSERT_EQ(::kill(run.Pid(), SIGKILL), 0);
    EXPECT_EQ(run.Finish().exitCode, 128 + SIGKILL);
    // Nothing of the program runs any more to end the office: its reaper does, at once.
    for (int wait = 0; wait < 3000 && !ProcessesMentioning(Marker()).empty(); ++wait) ::usleep(10000);
    EXPECT_TRUE(ProcessesMentioning(Marker()).empty());
    // Its private profile stays in the temporary folder (no code of ours is left to remove it).
    for (const auto& entry : fs::directory_iterator(Tmp())) fs::remove_all(entry.path());
}

TEST_F(OfficeFailure, CtrlCDoesNotWaitForAHungOffice)
{
    const std::string large = LargeRtf();
    for (const char* name : {"a.rtf", "b.rtf"}) testsupport::writeFile(Work() / name, large);
    fs::create_directories(Work() / "out");
    // The default time limit (minutes): a Ctrl-C must cut it short.
    LiveRun run = StartOffice({"-o", "out", "a.rtf", "b.rtf"}, Setup());
    ASSERT_TRUE(run.WaitForOutput(" --> "));
    const pid_t office = OfficeProcess();
    ASSERT_GT(office, 0);
    ASSERT_EQ(::kill(office, SIGSTOP), 0);
    ASSERT_EQ(::kill(run.Pid(), SIGINT), 0);
    const RunResult r = run.Finish();
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "Warning: Document.SaveAs method failed.\n[80004004] Operation aborted\n");
    EXPECT_TRUE(r.out.ends_with("Operation Aborted.\n")) << r.out;
    EXPECT_TRUE(fs::is_empty(Work() / "out"));
    EXPECT_TRUE(ProcessesMentioning(Marker()).empty());
}

} // namespace
} // namespace wstest
