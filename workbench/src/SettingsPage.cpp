// The settings page's show and hide handlers and its two replacement grids.

#include "Cp1251Text.h"
#include "MainForm.h"
#include "Tag.h"
#include "project/ReplacementRows.h"
#include "settings/Folders.h"

#include <QTableWidget>

namespace {

QString cellText(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

void TMainForm::ProjectTabSheetShow()
{
    if (currentProjectId_ <= 0) return;
    SetTag(RBeforeStringGrid, currentProjectId_);
    SetTag(RAfterStringGrid, currentProjectId_);
    const std::string folder = folio::GetProjectFolder(CurrentFolders(), currentProjectId_);
    LoadGrid(RBeforeStringGrid, folder.empty() ? std::string() : folder + "rbefore.tbl");
    LoadGrid(RAfterStringGrid, folder.empty() ? std::string() : folder + "rafter.tbl");
}

void TMainForm::ProjectTabSheetHide()
{
    if (currentProjectId_ <= 0) return;
    // The grids were filled together for the project in their mark, which may no longer be current.
    const std::string folder = folio::GetProjectFolder(CurrentFolders(), Tag(RBeforeStringGrid));
    if (folder.empty()) return;
    SaveGrid(RBeforeStringGrid, folder + "rbefore.tbl");
    SaveGrid(RAfterStringGrid, folder + "rafter.tbl");
}

// The grid's header row is the view's own header; its data rows are the table's rows.
void TMainForm::LoadGrid(QTableWidget* grid, const std::string& tableFile)
{
    const auto rows = tableFile.empty() ? std::nullopt : folio::LoadReplacementRows(tableFile);
    grid->clearContents();
    if (!rows || rows->empty()) {
        grid->setRowCount(1);
        return;
    }
    grid->setRowCount(static_cast<int>(rows->size()));
    for (int r = 0; r < grid->rowCount(); ++r) {
        grid->setItem(r, 0, new QTableWidgetItem(FromCp1251((*rows)[r].first)));
        grid->setItem(r, 1, new QTableWidgetItem(FromCp1251((*rows)[r].second)));
    }
}

void TMainForm::SaveGrid(QTableWidget* grid, const std::string& tableFile)
{
    std::vector<folio::ReplacementRow> rows;
    for (int r = 0; r < grid->rowCount(); ++r)
        rows.emplace_back(ToCp1251(cellText(grid, r, 0)), ToCp1251(cellText(grid, r, 1)));
    folio::SaveReplacementRows(tableFile, rows);
}

bool TMainForm::RBeforeStringGridKeyDown(QTableWidget* grid, int key)
{
    if (key == Qt::Key_Insert) {
        grid->insertRow(grid->rowCount()); // at the end, not at the cursor
        return true;
    }
    if (key != Qt::Key_Delete) return false;
    int row = -1; // the top row of the selection
    for (const auto& range : grid->selectedRanges()) row = row < 0 ? range.topRow() : std::min(row, range.topRow());
    if (row < 0) row = grid->currentRow();
    if (row < 0) return true;
    const QString expression = cellText(grid, row, 0);
    if (!expression.isEmpty() &&
        !GetDialogs().Confirm(this, QStringLiteral("Удалить выражение?(") + expression + QStringLiteral(")")))
        return true;
    if (grid->rowCount() > 1) {
        grid->removeRow(row);
    } else {
        // The only data row is emptied, never removed.
        delete grid->takeItem(row, 0);
        delete grid->takeItem(row, 1);
    }
    return true;
}

// Folding a panel hides its grid, which leaves its 17-pixel caption line; the other panel
// takes the rest.
void TMainForm::Label14Click()
{
    RAfterStringGrid->hide();
    RBeforeStringGrid->show();
}

void TMainForm::Label17Click()
{
    RBeforeStringGrid->hide();
    RAfterStringGrid->show();
}
