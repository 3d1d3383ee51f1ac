// Adding and deleting projects from the tree.

#include "Cp1251Text.h"
#include "FlatCheckBox.h"
#include "MainForm.h"
#include "Tag.h"
#include "project/Projects.h"
#include "settings/AppSettings.h"
#include "settings/Folders.h"

#include <QPlainTextEdit>
#include <QTreeWidget>

void TMainForm::AddProject(const QString& name)
{
    folio::AddProjectRecord(CurrentFolders(), *settings_, ToCp1251(name));
    ProjectTreeView->clear();
    currentProjectId_ = 0;
    LoadProjectTree();
    if (currentProjectId_ > 0) LoadProjectOptions();
}

void TMainForm::DeleteProject(long long projectId)
{
    if (!GetDialogs().Confirm(this, QStringLiteral("Действительно удалить?"))) return;
    const folio::Folders folders = CurrentFolders();
    const std::optional<std::string> folder = folio::DeleteProjectRecord(folders, projectId);
    if (!folder) return;
    ProjectTreeView->clear();
    currentProjectId_ = 0;
    LoadProjectTree();
    if (currentProjectId_ > 0) LoadProjectOptions();
    if (Read(*settings_, folio::appkeys::OptionsKeepFiles)) return; // the folder stays as it was
    folio::RemoveProjectFiles(*folder);
    if (ProjectTreeView->topLevelItemCount() == 0) ResetProjectPages();
    ProjectTreeView->setFocus();
}

void TMainForm::AddProjectsFromFolder()
{
    const std::vector<std::string> files = folio::ListFolderFiles(CurrentFolders().source + "/");
    if (files.empty()) {
        GetDialogs().ShowMessage(this, QStringLiteral("нет свободных файлов"));
        return;
    }
    for (const std::string& file : files) AddProject(QString::fromStdString(file)); // file names are UTF-8 here
}

void TMainForm::ResetProjectPages()
{
    for (QObject* component : components_) SetTag(component, 0);
    for (QObject* component : components_)
        if (auto* box = qobject_cast<TfsCheckBox*>(component)) box->setChecked(false);
    findChild<TfsCheckBox*>(QStringLiteral("AddHeaderCB"))->setChecked(true);
    findChild<TfsCheckBox*>(QStringLiteral("VornProcessCB"))->setChecked(true);
    for (const char* memo : {"SrcFileMemo", "DescMemo", "CitateMemo"})
        if (auto* edit = findChild<QPlainTextEdit*>(QString::fromLatin1(memo))) edit->clear();
}
