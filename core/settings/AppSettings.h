#pragma once
// The keys of the application settings file ("folioset.ini" beside the program) and of each
// project's "project.cfg", with their types and defaults, so that every reader of a key
// uses the same section, name and default.

#include "settings/IniFile.h"

#include <array>
#include <string>
#include <string_view>

namespace folio {

struct TextKey { std::string_view section, key, defaultValue; };
struct IntKey { std::string_view section, key; int defaultValue; };
struct BoolKey { std::string_view section, key; bool defaultValue; };

inline std::string Read(const IniFile& ini, const TextKey& k) { return ini.ReadString(k.section, k.key, k.defaultValue); }
inline int Read(const IniFile& ini, const IntKey& k) { return ini.ReadInteger(k.section, k.key, k.defaultValue); }
inline bool Read(const IniFile& ini, const BoolKey& k) { return ini.ReadBool(k.section, k.key, k.defaultValue); }
inline void Write(IniFile& ini, const TextKey& k, std::string_view v) { ini.WriteString(k.section, k.key, v); }
inline void Write(IniFile& ini, const IntKey& k, int v) { ini.WriteInteger(k.section, k.key, v); }
inline void Write(IniFile& ini, const BoolKey& k, bool v) { ini.WriteBool(k.section, k.key, v); }

namespace appkeys {
// Folder names, relative to the program folder (appended to it as they stand).
inline constexpr TextKey FoldersDb{"folders", "db", "db"};
inline constexpr TextKey FoldersProjects{"folders", "projects", "projects"};
inline constexpr TextKey FoldersSource{"folders", "source", "source"};
inline constexpr TextKey FoldersJobs{"folders", "jobs", "jobs"};
inline constexpr TextKey FoldersTemplates{"folders", "templates", "templates"};
// The number given to the last project added.
inline constexpr IntKey ProjectsCount{"projects", "count", 0};
inline constexpr BoolKey OptionsKeepFiles{"options", "keepfiles", true};
inline constexpr IntKey OptionsReadLines{"options", "readlines", 10};
inline constexpr TextKey OptionsNameTemplate{"options", "nametpl", "%A - %N"};
inline constexpr TextKey ConvertersPdbMaker{"converters", "pdbmaker", ""};
inline constexpr TextKey ConvertersZtxtMaker{"converters", "ztxtmaker", ""};
inline constexpr TextKey TemplatesWebForm{"templates", "webform", ""};
inline constexpr TextKey FtpHost{"ftp", "host", ""};
inline constexpr TextKey FtpUserName{"ftp", "username", ""};
inline constexpr TextKey FtpPassword{"ftp", "password", ""};
inline constexpr TextKey FtpUserDir{"ftp", "userdir", ""};
} // namespace appkeys

// "project.cfg" in each project folder.
namespace projectkeys {
inline constexpr std::string_view ConfigFileName = "project.cfg";
inline constexpr std::string_view Options = "options";
inline constexpr std::string_view Files = "files";
inline constexpr std::string_view Authors = "authors";
inline constexpr std::string_view Genres = "genres";
inline constexpr std::string_view Series = "series";

// One boolean per option check box, stored under the check box's name. The settings page
// reads every box with the default false; the processing worker reads some of them with
// defaults of its own.
struct OptionBox {
    std::string_view name;
    bool processingDefault;
    bool readByProcessing;
};
inline constexpr std::array<OptionBox, 17> OptionBoxes{{
    {"AddHeaderCB", true, true},
    {"RecodeCB", false, true},
    {"NoDetectEncCB", false, false},
    {"PgAfterEmptyCB", false, true},
    {"CreatePDBCB", true, true},
    {"CreateZIPCB", true, true},
    {"CreateXMLCB", false, false},
    {"CreateWSLCB", false, false},
    {"ProcessCB", false, false},
    {"SCreatePDBCB", false, false},
    {"SCreateZIPCB", false, false},
    {"SImageSetCB", false, false},
    {"RBeforeCB", false, true},
    {"RAfterCB", false, true},
    {"SCreateWSLCB", false, false},
    {"VornProcessCB", true, true},
    {"StoryCB", false, false},
}};
// Set to true in the "project.cfg" of a new project, in this order.
inline constexpr std::array<std::string_view, 4> NewProjectOptions{
    "CreatePDBCB", "CreateZIPCB", "AddHeaderCB", "VornProcessCB"};

// Paragraph recognition: 0 "Авто", 1 "Включить", 2 "Выключить".
inline constexpr IntKey AbzRadioGroup{"options", "AbzRadioGroup", 0};
inline constexpr int AbzRadioGroupProcessingDefault = 2;
inline constexpr TextKey InSeriesNo{"options", "InSeriesNoEdit", ""};
inline constexpr TextKey Title{"options", "title", ""};
inline constexpr TextKey Source{"files", "source", ""};
inline constexpr TextKey BaseName{"files", "basename", ""};
} // namespace projectkeys

} // namespace folio
