#include "project/Projects.h"

#include "settings/AppSettings.h"
#include "table/TxtTable.h"
#include "text/Cp1251.h"

#include <filesystem>

namespace folio {
namespace {

std::string projectsTable(const Folders& folders) { return folders.db + "projects.tbl"; }

} // namespace

std::string CleanProjectName(std::string_view name)
{
    std::string clean(name);
    for (char& c : clean)
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    return clean;
}

long long AddProjectRecord(const Folders& folders, IniFile& settings, std::string_view name)
{
    TVtTxtTable table(projectsTable(folders));
    const long long id = static_cast<long long>(Read(settings, appkeys::ProjectsCount)) + 1;
    Write(settings, appkeys::ProjectsCount, static_cast<int>(id));
    const std::string folderName = "Project" + std::to_string(id);
    const std::string folder = folders.projects + folderName;
    std::filesystem::create_directories(folder);
    table.AppendRecord({std::to_string(id), CleanProjectName(name), folderName, "0"});
    table.Release();

    std::vector<std::pair<std::string, std::string>> options;
    for (std::string_view key : projectkeys::NewProjectOptions) options.emplace_back(key, "1");
    IniFile(folder + "/" + std::string(projectkeys::ConfigFileName)).WriteStrings(projectkeys::Options, options);
    return id;
}

std::optional<std::string> DeleteProjectRecord(const Folders& folders, long long projectId)
{
    TVtTxtTable table(projectsTable(folders));
    if (!table.Locate("id_projects", projectId)) return std::nullopt;
    const std::string folder = folders.projects + table.GetValue("pj_folder") + "/";
    table.Delete();
    table.Release();
    return folder;
}

void RemoveProjectFiles(const std::string& projectFolder)
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(projectFolder, ec)) {
        std::error_code entryError;
        if (!entry.is_directory(entryError)) std::filesystem::remove(entry.path(), entryError);
    }
    std::filesystem::remove(projectFolder, ec); // fails while a sub-folder remains
}

bool RenameProjectRecord(const Folders& folders, long long projectId, std::string_view name)
{
    TVtTxtTable table(projectsTable(folders));
    const bool found = table.Locate("id_projects", projectId);
    if (found) table.SetValue("pj_name", CleanProjectName(name));
    table.Release();
    return found;
}

bool ToggleProjectClosed(const Folders& folders, long long projectId)
{
    TVtTxtTable table(projectsTable(folders));
    const bool found = table.Locate("id_projects", projectId);
    if (found) table.SetValue("pj_closed", table.ValueEquals("pj_closed", 0LL) ? 1LL : 0LL);
    table.Release();
    return found;
}

std::vector<std::string> ListFolderFiles(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        std::error_code entryError;
        if (!entry.is_directory(entryError)) names.push_back(entry.path().filename().string());
    }
    return names;
}

} // namespace folio
