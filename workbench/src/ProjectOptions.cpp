// The current project's options: every flat-style check box of the window and the
// paragraph radio group, to and from [options] of its "project.cfg".

#include "FlatCheckBox.h"
#include "MainForm.h"
#include "settings/AppSettings.h"
#include "settings/Folders.h"

#include <algorithm>

void TMainForm::LoadProjectOptions()
{
    const std::string folder = folio::GetProjectFolder(CurrentFolders(), currentProjectId_);
    if (folder.empty()) return;
    const folio::IniFile config(folder + std::string(folio::projectkeys::ConfigFileName));
    for (QObject* component : components_)
        if (auto* box = qobject_cast<TfsCheckBox*>(component))
            box->setChecked(config.ReadBool(folio::projectkeys::Options, box->objectName().toStdString(), false));
    SetAbzItemIndex(std::clamp(Read(config, folio::projectkeys::AbzRadioGroup), -1, 2));
}

void TMainForm::SaveProjectOptions()
{
    const std::string folder = folio::GetProjectFolder(CurrentFolders(), currentProjectId_);
    if (folder.empty()) return;
    std::vector<std::pair<std::string, std::string>> keys;
    for (QObject* component : components_)
        if (auto* box = qobject_cast<TfsCheckBox*>(component))
            keys.emplace_back(box->objectName().toStdString(), box->isChecked() ? "1" : "0");
    keys.emplace_back(std::string(folio::projectkeys::AbzRadioGroup.key), std::to_string(AbzItemIndex()));
    folio::IniFile config(folder + std::string(folio::projectkeys::ConfigFileName));
    config.WriteStrings(folio::projectkeys::Options, keys);
}
