#pragma once
// A throw-away program folder for window tests: "db/" with the tables the window reads,
// "projects/", and helpers to add projects as the workbench lays them out.

#include "MainForm.h"
#include "ScriptedDialogs.h"
#include "TestFiles.h"

#include <QString>

#include <memory>

class ProgramFolderFixture {
public:
    testsupport::TempDir dir;
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();

    ProgramFolderFixture()
    {
        std::filesystem::create_directories(dir / "db");
        std::filesystem::create_directories(dir / "projects");
        testsupport::writeFile(dir / "db" / "projects.tbl", "id_projects\tpj_name\tpj_folder\tpj_closed\r\n");
    }

    std::filesystem::path db(const std::string& file) const { return dir.path() / "db" / file; }
    std::filesystem::path project(int id) const { return dir.path() / "projects" / ("Project" + std::to_string(id)); }

    // Appends a project row (name in cp1251) and creates its folder with the given "project.cfg".
    void addProject(int id, const std::string& name, bool closed = false, const std::string& config = "")
    {
        std::string table = testsupport::readFile(db("projects.tbl"));
        table += std::to_string(id) + "\t" + name + "\tProject" + std::to_string(id) + "\t" + (closed ? "1" : "0") + "\r\n";
        testsupport::writeFile(db("projects.tbl"), table);
        std::filesystem::create_directories(project(id));
        if (!config.empty()) testsupport::writeFile(project(id) / "project.cfg", config);
    }

    MainFormOptions options() const
    {
        return {QString::fromStdString((dir.path() / "folioset").string()), dialogs};
    }
};
