#include "settings/Folders.h"

#include "settings/AppSettings.h"
#include "table/TxtTable.h"

namespace folio {

Folders Folders::Compute(const std::string& programFolder, const IniFile& settings)
{
    Folders f;
    f.program = programFolder;
    f.db = programFolder + Read(settings, appkeys::FoldersDb) + "/";
    f.projects = programFolder + Read(settings, appkeys::FoldersProjects) + "/";
    f.source = programFolder + Read(settings, appkeys::FoldersSource);
    f.jobs = programFolder + Read(settings, appkeys::FoldersJobs) + "/FTP/";
    f.templates = programFolder + Read(settings, appkeys::FoldersTemplates) + "/";
    return f;
}

std::filesystem::path SettingsFileFor(const std::filesystem::path& executable)
{
    std::filesystem::path p = executable;
    p.replace_extension(".ini");
    return p;
}

std::string GetProjectFolder(const Folders& folders, long long projectId)
{
    std::string result;
    if (projectId <= 0) return result;
    TVtTxtTable table(folders.db + "projects.tbl");
    if (table.Locate("id_projects", projectId)) result = folders.projects + table.GetValue("pj_folder") + "/";
    table.Release();
    return result;
}

} // namespace folio
