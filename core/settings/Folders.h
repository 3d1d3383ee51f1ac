#pragma once
// The folder layout under the program folder. Every configured name is appended to the
// program folder as it stands (an absolute path does not work there, an empty name gives
// the program folder itself). Folder paths end with the separator.

#include "settings/IniFile.h"

#include <string>

namespace folio {

struct Folders {
    std::string program;   // the executable's folder
    std::string db;        // tables
    std::string projects;  // one folder per project
    std::string source;    // raw sources not yet attached (no trailing separator, as configured)
    std::string jobs;      // files waiting for upload: <jobs>/FTP/
    std::string templates; // the web-form template

    // programFolder must end with the separator.
    static Folders Compute(const std::string& programFolder, const IniFile& settings);
};

// The application settings file of an executable: its full path with the extension ".ini".
std::filesystem::path SettingsFileFor(const std::filesystem::path& executable);

// The project folder of a project id ("<projects>/<pj_folder>/"), or an empty text when the
// id is not above 0 or is not in "projects.tbl". Opens and releases "projects.tbl".
std::string GetProjectFolder(const Folders& folders, long long projectId);

} // namespace folio
