#pragma once
// The project list in "projects.tbl" and the project folders: adding, renaming, closing
// and deleting projects, as the tree's commands need them. Names are cp1251.

#include "settings/Folders.h"
#include "settings/IniFile.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace folio {

// A project name as the table can hold it: every TAB, CR or LF becomes a space.
std::string CleanProjectName(std::string_view name);

// Adds a project: the next number from [projects] "count" (written back at once), its
// folder "Project<n>" (parents created), its row in "projects.tbl", and its "project.cfg"
// with the options a new project starts with. Returns the new id.
long long AddProjectRecord(const Folders& folders, IniFile& settings, std::string_view name);

// Removes the project's row. Returns the folder the project had ("<projects>/<pj_folder>/"),
// or nothing when the id is not in the table.
std::optional<std::string> DeleteProjectRecord(const Folders& folders, long long projectId);

// Deletes the plain files of a project folder, then the folder itself; a sub-folder or a
// file that cannot be deleted is left where it is, without complaint.
void RemoveProjectFiles(const std::string& projectFolder);

// Sets "pj_name"; false when the id is not in the table.
bool RenameProjectRecord(const Folders& folders, long long projectId, std::string_view name);

// Flips "pj_closed" between 0 and 1; false when the id is not in the table.
bool ToggleProjectClosed(const Folders& folders, long long projectId);

// The names of the plain files of a folder (hidden ones included, folders excluded), in the
// order the file system lists them. A missing folder lists nothing.
std::vector<std::string> ListFolderFiles(const std::string& folder);

} // namespace folio
