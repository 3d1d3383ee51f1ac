// The project tree: building it from "projects.tbl", clicks, renaming, keys and the
// popup menu's commands.

#include "Cp1251Text.h"
#include "MainForm.h"
#include "project/Projects.h"
#include "settings/AppSettings.h"
#include "settings/Folders.h"
#include "table/TxtTable.h"

#include <QComboBox>
#include <QTreeWidget>

namespace {

struct GroupNode {
    const char* caption;
    int pageCode;        // the page shown is pageCode - 1
    const char* section; // entry nodes come from this section of "project.cfg"
};
constexpr GroupNode kGroups[] = {
    {"Настройки", 1, nullptr}, {"Файлы", 2, nullptr},  {"Автор", 3, "authors"}, {"Жанр", 4, "genres"},
    {"Серия", 4, "series"},    {"Описание", 5, nullptr}, {"Цитата", 6, nullptr},
};

long long nodeData(const QTreeWidgetItem* node) { return node->data(0, Qt::UserRole).toLongLong(); }

// Counts the program's own changes of the tree, which are not the editor's edits.
struct TreeUpdate {
    int& depth;
    explicit TreeUpdate(int& d) : depth(d) { ++depth; }
    ~TreeUpdate() { --depth; }
};

} // namespace

QTreeWidgetItem* TMainForm::AddNode(QTreeWidgetItem* parent, const QString& text, long long data, int image)
{
    auto* node = new QTreeWidgetItem(QStringList{text});
    node->setData(0, Qt::UserRole, data);
    node->setIcon(0, ImageList[image]);
    if (parent) parent->addChild(node);
    else ProjectTreeView->addTopLevelItem(node);
    return node;
}

void TMainForm::LoadProjectTree()
{
    TreeUpdate update(treeUpdates_);
    ProjectTreeView->clear();
    const folio::Folders folders = CurrentFolders(); // read once, not three times a project
    folio::TVtTxtTable table(databaseFolder_ + "projects.tbl");
    for (; !table.Eof(); table.Next()) {
        const bool closed = table.ValueEquals("pj_closed", 1LL);
        const long long id = table.GetInteger("id_projects");
        const QString name = FromCp1251(table.GetValue("pj_name"));
        QTreeWidgetItem* project = AddNode(nullptr, name, id, closed ? 1 : 0);
        project->setFlags(project->flags() | Qt::ItemIsEditable); // only project names can be edited
        if (currentProjectId_ == 0) {
            currentProjectId_ = id;
            currentProjectName_ = name;
        }
        for (const GroupNode& group : kGroups) {
            QTreeWidgetItem* node = AddNode(project, QString::fromUtf8(group.caption), group.pageCode, 0);
            if (group.section) AddProjectGroupNodes(folders, id, group.section, node);
        }
    }
    table.Release();
}

void TMainForm::AddProjectGroupNodes(long long projectId, std::string_view section, QTreeWidgetItem* groupNode)
{
    AddProjectGroupNodes(CurrentFolders(), projectId, section, groupNode);
}

void TMainForm::AddProjectGroupNodes(const folio::Folders& folders, long long projectId, std::string_view section,
                                     QTreeWidgetItem* groupNode)
{
    const std::string folder = folio::GetProjectFolder(folders, projectId);
    if (folder.empty()) return; // no such project: nothing to list
    const folio::IniFile config(folder + std::string(folio::projectkeys::ConfigFileName));
    for (const std::string& key : config.ReadSection(section)) AddNode(groupNode, FromCp1251(key), 0, 0);
}

bool TMainForm::IsProjectQueued(long long projectId) const
{
    for (int i = 0; i < PListComboBox->count(); ++i)
        if (PListComboBox->itemData(i).toLongLong() == projectId) return true;
    return false;
}

void TMainForm::ProjectTreeViewClick()
{
    if (currentProjectId_ > 0) SaveProjectOptions();
    QTreeWidgetItem* node = ProjectTreeView->currentItem();
    if (!node) return;

    if (!node->parent()) { // a project
        RunPageHide(activePage_);
        const long long id = nodeData(node);
        if (IsProjectQueued(id)) return;
        currentProjectId_ = id;
        LoadProjectOptions();
        RunPageShow(activePage_);
        TreeUpdate update(treeUpdates_);
        ProjectTreeView->collapseAll();
        ProjectTreeView->expandRecursively(ProjectTreeView->indexFromItem(node));
        currentProjectName_ = node->text(0);
        return;
    }
    if (nodeData(node) != 0) { // a group
        QTreeWidgetItem* project = node->parent();
        if (IsProjectQueued(nodeData(project))) {
            TreeUpdate update(treeUpdates_);
            project->setExpanded(false);
            for (int i = 0; i < project->childCount(); ++i) project->child(i)->setExpanded(false);
            return;
        }
        currentProjectId_ = nodeData(project);
        currentProjectName_ = project->text(0);
    } else { // an entry: it opens its group's page
        node = node->parent();
        QTreeWidgetItem* project = node->parent();
        currentProjectId_ = nodeData(project);
        currentProjectName_ = project->text(0);
    }
    LoadProjectOptions();
    ActivatePage(static_cast<int>(nodeData(node)) - 1);
    if (currentProjectId_ > 0) LoadProjectOptions();
}

void TMainForm::ProjectTreeViewEdited(QTreeWidgetItem* node, const QString& newText)
{
    // Only project names are edited; group and entry nodes are not editable and keep their text.
    if (node->parent()) return;
    const long long id = nodeData(node);
    const std::string name = folio::CleanProjectName(ToCp1251(newText));
    const QString shown = FromCp1251(name);
    if (shown != node->text(0)) {
        TreeUpdate update(treeUpdates_);
        node->setText(0, shown);
    }
    folio::RenameProjectRecord(CurrentFolders(), id, name);
    if (id == currentProjectId_) currentProjectName_ = shown;
}

void TMainForm::ProjectTreeViewExpanding(QTreeWidgetItem* node)
{
    if (!node->parent() && IsProjectQueued(nodeData(node))) {
        TreeUpdate update(treeUpdates_);
        node->setExpanded(false);
    }
}

bool TMainForm::ProjectTreeViewKeyDown(int key)
{
    switch (key) {
    case Qt::Key_Delete:
        if (QTreeWidgetItem* node = ProjectTreeView->currentItem(); node && !node->parent())
            DeleteProject(nodeData(node));
        return true;
    case Qt::Key_Insert:
        if (const auto name = GetDialogs().InputBox(this, QStringLiteral("Добавление проекта"),
                                                   QStringLiteral("Введите название"), QString());
            name && !name->isEmpty())
            AddProject(*name);
        return true;
    case Qt::Key_F5:
        AddProjectsFromFolder();
        return true;
    default:
        return false;
    }
}

void TMainForm::ClosePMNClick()
{
    if (currentProjectId_ == 0) return;
    folio::ToggleProjectClosed(CurrentFolders(), currentProjectId_);
    LoadProjectTree();
}

void TMainForm::DelPMNClick()
{
    if (currentProjectId_ != 0) ProjectTreeViewKeyDown(Qt::Key_Delete);
}

void TMainForm::AddPMNClick()
{
    if (currentProjectId_ != 0) ProjectTreeViewKeyDown(Qt::Key_Insert);
}

void TMainForm::AddDirPMNClick()
{
    if (currentProjectId_ != 0) ProjectTreeViewKeyDown(Qt::Key_F5);
}
