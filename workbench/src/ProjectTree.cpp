// Building the project tree from "projects.tbl".

#include "Cp1251Text.h"
#include "MainForm.h"
#include "settings/AppSettings.h"
#include "settings/Folders.h"
#include "table/TxtTable.h"

#include <QComboBox>
#include <QTreeWidget>

namespace {

struct GroupNode {
    const char* caption;
    int pageCode; // the page shown is pageCode - 1
    const char* section; // entry nodes come from this section of "project.cfg"
};
constexpr GroupNode kGroups[] = {
    {"Настройки", 1, nullptr}, {"Файлы", 2, nullptr},  {"Автор", 3, "authors"}, {"Жанр", 4, "genres"},
    {"Серия", 4, "series"},    {"Описание", 5, nullptr}, {"Цитата", 6, nullptr},
};

QTreeWidgetItem* makeNode(const QString& text, long long data, const QIcon& image)
{
    auto* node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, Qt::UserRole, data);
    node->setIcon(0, image);
    return node;
}

} // namespace

void TMainForm::LoadProjectTree()
{
    ProjectTreeView->clear();
    folio::TVtTxtTable table(databaseFolder_ + "projects.tbl");
    for (; !table.Eof(); table.Next()) {
        const bool closed = table.ValueEquals("pj_closed", 1LL);
        const long long id = table.GetInteger("id_projects");
        const QString name = FromCp1251(table.GetValue("pj_name"));
        QTreeWidgetItem* project = makeNode(name, id, ImageList[closed ? 1 : 0]);
        project->setFlags(project->flags() | Qt::ItemIsEditable);
        ProjectTreeView->addTopLevelItem(project);
        if (currentProjectId_ == 0) {
            currentProjectId_ = id;
            currentProjectName_ = name;
        }
        for (const GroupNode& group : kGroups) {
            QTreeWidgetItem* node = makeNode(QString::fromUtf8(group.caption), group.pageCode, ImageList[0]);
            project->addChild(node);
            if (group.section) AddProjectGroupNodes(id, group.section, node);
        }
    }
    table.Release();
}

void TMainForm::AddProjectGroupNodes(long long projectId, std::string_view section, QTreeWidgetItem* groupNode)
{
    const std::string folder = folio::GetProjectFolder(CurrentFolders(), projectId);
    if (folder.empty()) return; // no such project: nothing to list
    const folio::IniFile config(folder + std::string(folio::projectkeys::ConfigFileName));
    for (const std::string& key : config.ReadSection(section))
        groupNode->addChild(makeNode(FromCp1251(key), 0, ImageList[0]));
}

bool TMainForm::IsProjectQueued(long long projectId) const
{
    for (int i = 0; i < PListComboBox->count(); ++i)
        if (PListComboBox->itemData(i).toLongLong() == projectId) return true;
    return false;
}
