#pragma once
// Whole runs of wordstrip against the real office: generated documents, the office's own
// converter for fixtures in formats wordstrip does not write, running programs whose output is
// read while they work, and a check that no office process outlives a test.

#include "../RunFixture.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace wstest {

// Cyrillic text as cp1251 bytes, and the RTF escapes of the same text.
std::string Cp1251(const std::string& utf8);
std::string RtfText(const std::string& utf8);

// The test document: a heading in the user paragraph style "Glava", a paragraph with a word in
// the user character style "Vydelenie" and a comment, and a third paragraph with a comment.
std::string BookRtf();
// The same text in plenty of paragraphs (some two megabytes of RTF): its save takes a while.
std::string LargeRtf();
// A paragraph with an 8 by 8 PNG picture.
std::string PictureRtf();
// The text of BookRtf as wordstrip's default format writes it (cp1251, CR LF).
std::string BookText();

// Processes (pid, command line) whose command line mentions the text.
std::vector<std::pair<pid_t, std::string>> ProcessesMentioning(const std::string& text);

// A program started in a process group of its own; its standard output can be read line by
// line while it runs.
class LiveRun {
public:
    LiveRun(const std::vector<std::string>& argv, const RunSetup& setup);
    ~LiveRun();
    pid_t Pid() const { return pid_; }
    // Reads standard output until a line containing the text has come; false at its end.
    bool WaitForOutput(const std::string& text);
    RunResult Finish();

private:
    pid_t pid_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    std::string out_;
    std::string err_;
    bool waited_ = false;
};

class OfficeRunTest : public WordstripRunTest {
protected:
    // No office process of this test survives it, and its private profiles are gone.
    void TearDown() override;

    // A run against the real office ("Word.Application" is the default).
    RunResult RunOffice(const std::vector<std::string>& args, RunSetup setup) const;
    RunResult RunOffice(const std::vector<std::string>& args) const { return RunOffice(args, Setup()); }
    LiveRun StartOffice(const std::vector<std::string>& args, const RunSetup& setup) const;

    // Has the office itself convert files (soffice --convert-to), for fixtures in formats that
    // wordstrip does not write.
    void OfficeConvert(const std::string& format, const std::vector<fs::path>& inputs, const fs::path& outdir) const;
};

} // namespace wstest
