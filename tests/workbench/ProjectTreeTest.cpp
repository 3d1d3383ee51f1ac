// The project tree and the project life cycle, the settings page's options and its
// replacement grids, driven through the window as the editor drives them.

#include "FlatCheckBox.h"
#include "MainForm.h"
#include "ProgramFolderFixture.h"

#include <QAction>
#include <QComboBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

using testsupport::readFile;
using testsupport::writeFile;

namespace {

const std::string kHeader = "id_projects\tpj_name\tpj_folder\tpj_closed\r\n";

QTreeWidgetItem* projectNode(TMainForm& form, int index) { return form.ProjectTreeView->topLevelItem(index); }

QTreeWidgetItem* groupNode(TMainForm& form, int project, const QString& caption)
{
    QTreeWidgetItem* p = projectNode(form, project);
    for (int i = 0; i < p->childCount(); ++i)
        if (p->child(i)->text(0) == caption) return p->child(i);
    return nullptr;
}

// A left click on a node, as the editor makes it.
void click(TMainForm& form, QTreeWidgetItem* node)
{
    for (QTreeWidgetItem* p = node->parent(); p; p = p->parent()) p->setExpanded(true);
    form.ProjectTreeView->scrollToItem(node);
    const QPoint at = form.ProjectTreeView->visualItemRect(node).center();
    QTest::mouseClick(form.ProjectTreeView->viewport(), Qt::LeftButton, {}, at);
    QCoreApplication::processEvents();
}

void key(QWidget* target, Qt::Key k)
{
    QTest::keyClick(target, k);
    QCoreApplication::processEvents();
}

TfsCheckBox* box(TMainForm& form, const char* name) { return form.findChild<TfsCheckBox*>(name); }

QStringList checkedBoxes(TMainForm& form)
{
    QStringList names;
    for (QObject* c : form.Components())
        if (auto* b = qobject_cast<TfsCheckBox*>(c); b && b->isChecked()) names << b->objectName();
    return names;
}

void setCell(QTableWidget* grid, int row, int column, const QString& text)
{
    grid->setItem(row, column, new QTableWidgetItem(text));
}

QString cell(QTableWidget* grid, int row, int column)
{
    return grid->item(row, column) ? grid->item(row, column)->text() : QString();
}

struct Shown {
    ProgramFolderFixture f;
    std::unique_ptr<TMainForm> form;
    void open()
    {
        form = std::make_unique<TMainForm>(f.options());
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
};

} // namespace

class ProjectTreeTest : public QObject {
    Q_OBJECT
private slots:
    void addingLeavesTheFirstProjectCurrent();
    void insertAddsEvenWithEmptyTableWhilePopupDoesNothing();
    void deletingKeepsOrRemovesTheFolder();
    void deletingAsksFirst();
    void queuedProjectCannotBecomeCurrent();
    void groupNodesOpenTheirPagesAndReloadAnActivePage();
    void renamingAProjectAndRefusingGroups();
    void closingAndReopeningToggleTheImage();
    void rightClickKeepsTheSelection();
    void addingFromTheSourceFolder();
    void optionsFollowTheCurrentProject();
    void gridEditsAreSavedIntoTheProjectTheyWereLoadedFor();
    void gridKeys();
    void panelToggles();
};

void ProjectTreeTest::addingLeavesTheFirstProjectCurrent()
{
    Shown s;
    s.f.addProject(1, "A", false, "[options]\r\nRecodeCB=1\r\n");
    s.f.addProject(2, "B", false, "[options]\r\nCreateWSLCB=1\r\n");
    s.f.addProject(3, "C");
    writeFile(s.f.dir / "folioset.ini", "[projects]\r\ncount=3\r\n");
    s.open();
    click(*s.form, projectNode(*s.form, 1));
    QCOMPARE(s.form->CurrentProjectId(), 2);
    QCOMPARE(checkedBoxes(*s.form), QStringList({"CreateWSLCB"}));

    s.f.dialogs->inputAnswers.push_back(QStringLiteral("D"));
    key(s.form->ProjectTreeView, Qt::Key_Insert);
    QCOMPARE(s.f.dialogs->shown.last(), QStringLiteral("input: Добавление проекта / Введите название"));
    QCOMPARE(s.form->CurrentProjectId(), 1);
    QCOMPARE(s.form->CurrentProjectName(), QStringLiteral("A"));
    QCOMPARE(s.form->ProjectTreeView->topLevelItemCount(), 4);
    QCOMPARE(projectNode(*s.form, 3)->text(0), QStringLiteral("D"));
    QCOMPARE(checkedBoxes(*s.form), QStringList({"RecodeCB"})); // A's options
    QCOMPARE(readFile(s.f.project(4) / "project.cfg"),
             std::string("[options]\r\nCreatePDBCB=1\r\nCreateZIPCB=1\r\nAddHeaderCB=1\r\nVornProcessCB=1\r\n"));
}

void ProjectTreeTest::insertAddsEvenWithEmptyTableWhilePopupDoesNothing()
{
    Shown s;
    s.open();
    s.form->AddPMN->trigger(); // no current project: the popup's items do nothing
    QVERIFY(s.f.dialogs->shown.isEmpty());

    s.f.dialogs->inputAnswers = {std::nullopt, QString(), QStringLiteral("Книга")};
    key(s.form->ProjectTreeView, Qt::Key_Insert); // cancelled
    key(s.form->ProjectTreeView, Qt::Key_Insert); // empty
    QCOMPARE(s.form->ProjectTreeView->topLevelItemCount(), 0);
    key(s.form->ProjectTreeView, Qt::Key_Insert);
    QCOMPARE(s.form->ProjectTreeView->topLevelItemCount(), 1);
    QCOMPARE(s.form->CurrentProjectId(), 1); // the only project becomes current
    QCOMPARE(readFile(s.f.db("projects.tbl")), kHeader + "1\t\xCA\xED\xE8\xE3\xE0\tProject1\t0\r\n");
    QCOMPARE(checkedBoxes(*s.form), QStringList({"AddHeaderCB", "VornProcessCB", "CreatePDBCB", "CreateZIPCB"}));
    QCOMPARE(s.form->AbzItemIndex(), 0); // "Авто"
}

void ProjectTreeTest::deletingKeepsOrRemovesTheFolder()
{
    {
        Shown s; // "keepfiles" missing: the folder stays
        s.f.addProject(1, "A");
        s.f.addProject(2, "B");
        s.open();
        s.f.dialogs->confirmAnswers = {true};
        s.form->ProjectTreeView->setCurrentItem(projectNode(*s.form, 0));
        key(s.form->ProjectTreeView, Qt::Key_Delete);
        QCOMPARE(s.f.dialogs->shown, QStringList({"confirm: Действительно удалить?"}));
        QCOMPARE(readFile(s.f.db("projects.tbl")), kHeader + "2\tB\tProject2\t0\r\n");
        QVERIFY(std::filesystem::exists(s.f.project(1)));
        QCOMPARE(s.form->CurrentProjectId(), 2);
    }
    {
        Shown s; // "keepfiles" = 0: the files go, and the last project resets the pages
        s.f.addProject(1, "A", false, "[options]\r\nRecodeCB=1\r\nProcessCB=1\r\n");
        writeFile(s.f.project(1) / "book.txt", "text");
        writeFile(s.f.dir / "folioset.ini", "[options]\r\nkeepfiles=0\r\n");
        s.open();
        QCOMPARE(checkedBoxes(*s.form), QStringList({"RecodeCB", "ProcessCB"}));
        s.f.dialogs->confirmAnswers = {true};
        s.form->ProjectTreeView->setCurrentItem(projectNode(*s.form, 0));
        s.form->DelPMN->trigger();
        QVERIFY(!std::filesystem::exists(s.f.project(1)));
        QCOMPARE(s.form->ProjectTreeView->topLevelItemCount(), 0);
        QCOMPARE(s.form->CurrentProjectId(), 0);
        QCOMPARE(checkedBoxes(*s.form), QStringList({"AddHeaderCB", "VornProcessCB"}));
    }
}

void ProjectTreeTest::deletingAsksFirst()
{
    Shown s;
    s.f.addProject(1, "A");
    s.open();
    const std::string before = readFile(s.f.db("projects.tbl"));
    s.f.dialogs->confirmAnswers = {false};
    s.form->ProjectTreeView->setCurrentItem(projectNode(*s.form, 0));
    key(s.form->ProjectTreeView, Qt::Key_Delete);
    QCOMPARE(readFile(s.f.db("projects.tbl")), before);
    // Delete on a group node does nothing.
    s.form->ProjectTreeView->setCurrentItem(groupNode(*s.form, 0, "Файлы"));
    key(s.form->ProjectTreeView, Qt::Key_Delete);
    QCOMPARE(s.f.dialogs->shown.size(), 1);
}

void ProjectTreeTest::queuedProjectCannotBecomeCurrent()
{
    Shown s;
    s.f.addProject(1, "A");
    s.f.addProject(2, "B");
    s.open();
    s.form->PListComboBox->addItem("B", 2LL);
    QVERIFY(s.form->IsProjectQueued(2));
    QVERIFY(!s.form->IsProjectQueued(1));
    box(*s.form, "RecodeCB")->setChecked(true);
    setCell(s.form->RBeforeStringGrid, 0, 0, "x");

    click(*s.form, projectNode(*s.form, 1));
    QCOMPARE(s.form->CurrentProjectId(), 1);
    // A's options were saved and the page's hide handler wrote A's grid.
    QVERIFY(readFile(s.f.project(1) / "project.cfg").find("RecodeCB=1") != std::string::npos);
    QCOMPARE(readFile(s.f.project(1) / "rbefore.tbl"), std::string("expression\tvalue\r\nx\t\r\n"));
    projectNode(*s.form, 1)->setExpanded(true);
    QVERIFY(!projectNode(*s.form, 1)->isExpanded());
    // Its group nodes do not open it either.
    click(*s.form, groupNode(*s.form, 1, "Файлы"));
    QCOMPARE(s.form->CurrentProjectId(), 1);
    QCOMPARE(s.form->PageControl->currentIndex(), 0);
}

void ProjectTreeTest::groupNodesOpenTheirPagesAndReloadAnActivePage()
{
    Shown s;
    s.f.addProject(1, "A");
    s.f.addProject(2, "B", false, "[authors]\r\nAuthor=5\r\n");
    writeFile(s.f.project(2) / "rbefore.tbl", "expression\tvalue\r\nb\tB\r\n");
    s.open();
    QCOMPARE(s.form->PageControl->currentIndex(), 0);
    setCell(s.form->RBeforeStringGrid, 0, 0, "a");

    // "Настройки" of B while the settings page is active: the page is reloaded for B,
    // after A's edits were saved into A.
    click(*s.form, groupNode(*s.form, 1, "Настройки"));
    QCOMPARE(s.form->CurrentProjectId(), 2);
    QCOMPARE(s.form->CurrentProjectName(), QStringLiteral("B"));
    QCOMPARE(readFile(s.f.project(1) / "rbefore.tbl"), std::string("expression\tvalue\r\na\t\r\n"));
    QCOMPARE(cell(s.form->RBeforeStringGrid, 0, 0), QStringLiteral("b"));

    click(*s.form, groupNode(*s.form, 1, "Серия"));
    QCOMPARE(s.form->PageControl->currentIndex(), 3);
    click(*s.form, groupNode(*s.form, 0, "Жанр"));
    QCOMPARE(s.form->PageControl->currentIndex(), 3);
    QCOMPARE(s.form->CurrentProjectId(), 1);
    // An entry node opens its group's page for its project.
    click(*s.form, groupNode(*s.form, 1, "Автор")->child(0));
    QCOMPARE(s.form->PageControl->currentIndex(), 2);
    QCOMPARE(s.form->CurrentProjectId(), 2);
    click(*s.form, groupNode(*s.form, 1, "Цитата"));
    QCOMPARE(s.form->PageControl->currentIndex(), 5);
}

void ProjectTreeTest::renamingAProjectAndRefusingGroups()
{
    Shown s;
    s.f.addProject(1, "A");
    s.open();
    QVERIFY(!(groupNode(*s.form, 0, "Файлы")->flags() & Qt::ItemIsEditable));
    QVERIFY(projectNode(*s.form, 0)->flags() & Qt::ItemIsEditable);

    projectNode(*s.form, 0)->setText(0, QStringLiteral("Новое\tимя")); // as the tree's editor leaves it
    QCOMPARE(projectNode(*s.form, 0)->text(0), QStringLiteral("Новое имя"));
    QCOMPARE(s.form->CurrentProjectName(), QStringLiteral("Новое имя"));
    QCOMPARE(readFile(s.f.db("projects.tbl")), kHeader + "1\t\xCD\xEE\xE2\xEE\xE5 \xE8\xEC\xFF\tProject1\t0\r\n");

    s.form->ProjectTreeViewEdited(groupNode(*s.form, 0, "Файлы"), QStringLiteral("X"));
    QCOMPARE(groupNode(*s.form, 0, "Файлы")->text(0), QStringLiteral("Файлы"));
}

void ProjectTreeTest::closingAndReopeningToggleTheImage()
{
    Shown s;
    s.f.addProject(1, "A");
    s.open();
    s.form->ClosePMN->trigger();
    QCOMPARE(readFile(s.f.db("projects.tbl")), kHeader + "1\tA\tProject1\t1\r\n");
    QCOMPARE(projectNode(*s.form, 0)->icon(0).cacheKey(), s.form->ImageList[1].cacheKey());
    s.form->ClosePMN->trigger();
    QCOMPARE(readFile(s.f.db("projects.tbl")), kHeader + "1\tA\tProject1\t0\r\n");
    QCOMPARE(projectNode(*s.form, 0)->icon(0).cacheKey(), s.form->ImageList[0].cacheKey());
}

void ProjectTreeTest::rightClickKeepsTheSelection()
{
    Shown s;
    s.f.addProject(1, "A");
    s.f.addProject(2, "B");
    s.open();
    click(*s.form, projectNode(*s.form, 0));
    QTreeWidgetItem* b = projectNode(*s.form, 1);
    QTest::mouseClick(s.form->ProjectTreeView->viewport(), Qt::RightButton, {},
                      s.form->ProjectTreeView->visualItemRect(b).center());
    QCoreApplication::processEvents();
    QCOMPARE(s.form->ProjectTreeView->currentItem(), projectNode(*s.form, 0));
    QCOMPARE(s.form->CurrentProjectId(), 1);
    // "Удалить проект" then acts on the node selected before.
    s.f.dialogs->confirmAnswers = {true};
    s.form->DelPMN->trigger();
    QCOMPARE(readFile(s.f.db("projects.tbl")), kHeader + "2\tB\tProject2\t0\r\n");
}

void ProjectTreeTest::addingFromTheSourceFolder()
{
    Shown s;
    std::filesystem::create_directory(s.f.dir / "source");
    s.open();
    key(s.form->ProjectTreeView, Qt::Key_F5);
    QCOMPARE(s.f.dialogs->shown, QStringList({"message: нет свободных файлов"}));

    writeFile(s.f.dir / "source" / "a.txt", "");
    writeFile(s.f.dir / "source" / "b.doc", "");
    key(s.form->ProjectTreeView, Qt::Key_F5);
    QStringList names;
    for (int i = 0; i < s.form->ProjectTreeView->topLevelItemCount(); ++i) names << projectNode(*s.form, i)->text(0);
    names.sort();
    QCOMPARE(names, QStringList({"a.txt", "b.doc"}));
    QVERIFY(std::filesystem::exists(s.f.dir / "source" / "a.txt")); // the files stay
}

void ProjectTreeTest::optionsFollowTheCurrentProject()
{
    Shown s;
    s.f.addProject(1, "A", false, "[options]\r\nAbzRadioGroup=7\r\n");
    s.f.addProject(2, "B", false, "[options]\r\nStoryCB=1\r\nAbzRadioGroup=1\r\n");
    s.open();
    QCOMPARE(s.form->AbzItemIndex(), 2);
    box(*s.form, "NoDetectEncCB")->setChecked(true);
    click(*s.form, projectNode(*s.form, 1));
    const std::string a = readFile(s.f.project(1) / "project.cfg");
    QVERIFY(a.find("NoDetectEncCB=1") != std::string::npos);
    QVERIFY(a.find("AbzRadioGroup=2") != std::string::npos);
    QCOMPARE(checkedBoxes(*s.form), QStringList({"StoryCB"}));
    QCOMPARE(s.form->AbzItemIndex(), 1);
}

void ProjectTreeTest::gridEditsAreSavedIntoTheProjectTheyWereLoadedFor()
{
    Shown s;
    s.f.addProject(1, "A");
    s.f.addProject(2, "B");
    s.open();
    setCell(s.form->RBeforeStringGrid, 0, 0, "ё");
    setCell(s.form->RBeforeStringGrid, 0, 1, "е");
    s.form->RAfterStringGrid->setRowCount(3);
    setCell(s.form->RAfterStringGrid, 0, 0, "a");
    setCell(s.form->RAfterStringGrid, 0, 1, "b");
    setCell(s.form->RAfterStringGrid, 2, 0, "c"); // after an empty expression: not saved
    click(*s.form, projectNode(*s.form, 1));
    QCOMPARE(readFile(s.f.project(1) / "rbefore.tbl"), std::string("expression\tvalue\r\n\xB8\t\xE5\r\n"));
    QCOMPARE(readFile(s.f.project(1) / "rafter.tbl"), std::string("expression\tvalue\r\na\tb\r\n"));
    QVERIFY(!std::filesystem::exists(s.f.project(2) / "rbefore.tbl"));
    QCOMPARE(s.form->RBeforeStringGrid->rowCount(), 1);
    QCOMPARE(cell(s.form->RBeforeStringGrid, 0, 0), QString());

    click(*s.form, projectNode(*s.form, 0));
    QCOMPARE(cell(s.form->RBeforeStringGrid, 0, 0), QStringLiteral("ё"));
    QCOMPARE(s.form->RAfterStringGrid->rowCount(), 1);
}

void ProjectTreeTest::gridKeys()
{
    Shown s;
    s.f.addProject(1, "A");
    s.open();
    QTableWidget* grid = s.form->RBeforeStringGrid;
    grid->setFocus();
    grid->setRowCount(4);
    grid->setCurrentCell(1, 0);
    key(grid, Qt::Key_Insert);
    QCOMPARE(grid->rowCount(), 5);

    setCell(grid, 1, 0, "keep");
    setCell(grid, 2, 0, "next");
    grid->setCurrentCell(1, 0);
    s.f.dialogs->confirmAnswers = {false, true};
    key(grid, Qt::Key_Delete);
    QCOMPARE(s.f.dialogs->shown.last(), QStringLiteral("confirm: Удалить выражение?(keep)"));
    QCOMPARE(grid->rowCount(), 5);
    key(grid, Qt::Key_Delete);
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(cell(grid, 1, 0), QStringLiteral("next"));

    grid->setRowCount(1);
    setCell(grid, 0, 1, "value only");
    grid->setCurrentCell(0, 1);
    key(grid, Qt::Key_Delete); // no expression: no question; the only row is emptied
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(cell(grid, 0, 1), QString());
    QCOMPARE(s.f.dialogs->shown.size(), 2);
}

void ProjectTreeTest::panelToggles()
{
    Shown s;
    s.open();
    QTest::mouseClick(s.form->Label14, Qt::LeftButton);
    QVERIFY(s.form->RBeforeStringGrid->isVisible());
    QVERIFY(!s.form->RAfterStringGrid->isVisible());
    QTRY_COMPARE(s.form->AfterPanel->height(), 17);
    QTest::mouseClick(s.form->Label17, Qt::LeftButton);
    QVERIFY(!s.form->RBeforeStringGrid->isVisible());
    QTRY_COMPARE(s.form->BeforePanel->height(), 17);
}

QTEST_MAIN(ProjectTreeTest)
#include "ProjectTreeTest.moc"
