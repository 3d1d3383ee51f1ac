// A real signal to a real process in the middle of a batch: the current step is finished,
// nothing more is converted, the office is shut down and the run ends with code 3.

#include "RunFixture.h"

#include <gmock/gmock.h>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace wstest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class AbortRun : public WordstripRunTest {};

TEST_F(AbortRun, SignalInTheMiddleOfABatchAbortsTheRun)
{
    struct Case {
        int signal;
        std::vector<std::string> options;
    } cases[] = {
        {SIGINT, {}},
        {SIGTERM, {"-q"}},
        {SIGHUP, {"-s"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options) + " signal " + std::to_string(c.signal));
        fs::remove(RecordFile());
        for (const char* name : {"a.txt", "b.txt", "c.txt"}) fs::remove(Work() / name);
        Doc("a.doc");
        Doc("b.doc", "pause Documents.Open\npara Normal|Default Paragraph Font|b\n"); // waits for the signal
        Doc("c.doc");

        int notify[2];
        ASSERT_EQ(::pipe2(notify, O_CLOEXEC), 0);
        RunSetup setup = Setup();
        setup.env["WORDSTRIP_RECORDING_NOTIFY_FD"] = std::to_string(notify[1]);
        setup.keepFds = {notify[1]};
        std::vector<std::string> args{"-P", "Recording.Application"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.insert(args.end(), {"a.doc", "b.doc", "c.doc"});
        RunningWordstrip running(args, setup);
        ::close(notify[1]);

        char buffer[16] = {};
        const ssize_t n = ::read(notify[0], buffer, sizeof buffer); // blocks until b.doc is being opened
        ::close(notify[0]);
        ASSERT_EQ(std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0), "paused\n");
        ASSERT_EQ(::kill(running.Pid(), c.signal), 0);
        const RunResult r = running.Wait();

        EXPECT_EQ(r.exitCode, 3);
        EXPECT_TRUE(r.out.ends_with("Operation Aborted.\n")) << r.out;
        EXPECT_EQ(r.err, "");
        // b.doc was opened (the step in progress), then only closed; c.doc was never touched.
        EXPECT_THAT(RecordOf({"Documents.Open", "Document.SaveAs", "Document.Close", "Application.Quit"}),
                    ElementsAre(HasSubstr("a.doc"), HasSubstr("Document.SaveAs"), "Document.Close call 0 -> 0x00000000",
                                HasSubstr("b.doc"), "Document.Close call 0 -> 0x00000000",
                                "Application.Quit call 0 -> 0x00000000"));
        EXPECT_FALSE(fs::exists(Work() / "c.txt"));
        EXPECT_FALSE(fs::exists(Work() / "b.txt"));
        EXPECT_TRUE(fs::is_empty(Tmp()));
    }
}

} // namespace
} // namespace wstest
