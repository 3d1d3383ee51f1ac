#pragma once
// A folder of documents for whole runs of wordstrip against the recording automation server,
// with the server's record file, a private temporary folder and a private configuration
// folder (for the user registry).

#include "TestFiles.h"
#include "WordstripProcess.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace wstest {

namespace fs = std::filesystem;

class WordstripRunTest : public ::testing::Test {
protected:
    WordstripRunTest()
    {
        fs::create_directories(Work());
        fs::create_directories(Tmp());
        fs::create_directories(Config());
    }

    fs::path Work() const { return root_.path() / "work"; }
    fs::path Tmp() const { return root_.path() / "tmp"; }
    fs::path Config() const { return root_.path() / "config"; }
    fs::path RecordFile() const { return root_.path() / "record.log"; }

    // Writes a document (a fixture of the recording server) below the work folder.
    fs::path Doc(const std::string& relative, const std::string& content = "para Normal|Default Paragraph Font|text\n")
    {
        const fs::path path = Work() / relative;
        fs::create_directories(path.parent_path());
        testsupport::writeFile(path, content);
        return path;
    }

    RunSetup Setup() const
    {
        RunSetup setup;
        setup.cwd = Work();
        setup.env = {{"WORDSTRIP_RECORDING_LOG", RecordFile().string()},
                     {"TMPDIR", Tmp().string()},
                     {"XDG_CONFIG_HOME", Config().string()}};
        return setup;
    }

    // A run with the recording server chosen before the given arguments.
    RunResult Run(std::vector<std::string> args) const { return RunWith(Setup(), std::move(args)); }
    RunResult RunWith(const RunSetup& setup, std::vector<std::string> args) const
    {
        args.insert(args.begin(), {"-P", "Recording.Application"});
        return RunWordstrip(args, setup);
    }
    // A run with exactly the given arguments.
    RunResult RunPlain(const std::vector<std::string>& args) const { return RunWordstrip(args, Setup()); }

    // The server's record, one call a line.
    std::vector<std::string> Record() const
    {
        std::vector<std::string> lines;
        std::istringstream in(testsupport::readFile(RecordFile()));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // Only the record lines that begin with one of the prefixes.
    std::vector<std::string> RecordOf(std::initializer_list<std::string> prefixes) const
    {
        std::vector<std::string> lines;
        for (const auto& line : Record())
            for (const auto& prefix : prefixes)
                if (line.starts_with(prefix)) {
                    lines.push_back(line);
                    break;
                }
        return lines;
    }

    // The first quoted argument of a record line, its escapes undone.
    static std::string FirstStringArgument(const std::string& line)
    {
        std::string out;
        for (size_t i = line.find('"') + 1; i < line.size() && line[i] != '"'; ++i) {
            if (line[i] == '\\') ++i;
            out += line[i];
        }
        return out;
    }
    // The names passed to one member ("Documents.Open", "Document.SaveAs"), in order, without
    // the closing dot of a save.
    std::vector<std::string> NamesPassedTo(const std::string& member) const
    {
        std::vector<std::string> names;
        for (const auto& line : RecordOf({member + " "})) {
            std::string name = FirstStringArgument(line);
            if (member == "Document.SaveAs" && name.ends_with('.')) name.pop_back();
            names.push_back(name);
        }
        return names;
    }

    // A path below the work folder as the program shows it (symbolic links resolved).
    std::string W(const std::string& relative) const { return (fs::weakly_canonical(Work()) / relative).string(); }

private:
    testsupport::TempDir root_;
};

} // namespace wstest
