// The main window: composition, start-up, resizing, closing and destruction.

#include "FlatCheckBox.h"
#include "MainForm.h"
#include "ProgramFolderFixture.h"
#include "workers/VtFTPSend.h"
#include "workers/VtProcessText.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

using testsupport::readFile;
using testsupport::writeFile;

namespace {

QList<TfsCheckBox*> checkBoxes(const TMainForm& form)
{
    QList<TfsCheckBox*> boxes;
    for (QObject* c : form.Components())
        if (auto* box = qobject_cast<TfsCheckBox*>(c)) boxes << box;
    return boxes;
}

QStringList gridTitles(QTableWidget* grid)
{
    QStringList titles;
    for (int c = 0; c < grid->columnCount(); ++c) titles << grid->horizontalHeaderItem(c)->text();
    return titles;
}

// Every file under a folder with its bytes, to show that nothing was written.
std::map<std::string, std::string> snapshot(const std::filesystem::path& root)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files[entry.path().string()] = readFile(entry.path());
    return files;
}

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT
private slots:
    void composition();
    void startWithHeaderOnlyTable();
    void startWithoutProjectsTable();
    void startLoadsTheFirstProject();
    void badProjectRowKeepsTheNodesBuiltSoFar();
    void resizeSetsGridColumnWidths();
    void closingWithoutProjectWritesNothing();
    void closingSavesTheCurrentProjectsOptions();
    void closingWhenSavingFailsStillCloses();
    void workersAreParkedAndStopAtDestruction();
};

void MainFormTest::composition()
{
    ProgramFolderFixture f;
    TMainForm form(f.options());
    QCOMPARE(form.windowTitle(), QStringLiteral("example.org - система подготовки книг. версия 2.0(rev. 01.12.2003)"));
    QCOMPARE(form.size(), QSize(812, 512));

    const QStringList pages = {"Настройки проекта", "Файлы", "Авторы", "Жанры и Серии", "Описание", "Цитата",
                               "Связь с сайтом"};
    const QStringList names = {"ProjectTabSheet", "FilesTabSheet", "AuthorTabSheet", "GenresTabSheet",
                               "DescTabSheet",    "CitateTabSheet", "FTPTabSheet"};
    QCOMPARE(form.PageControl->count(), 7);
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(form.PageControl->tabText(i), pages[i]);
        QCOMPARE(form.PageControl->widget(i)->objectName(), names[i]);
    }
    QCOMPARE(form.PageControl->currentIndex(), 0);

    QStringList items;
    for (QAction* a : form.ProjectsPM->actions()) items << a->objectName() + "=" + a->text();
    QCOMPARE(items, QStringList({"ClosePMN=Закрыть/Открыть проект", "DelPMN=Удалить проект",
                                 "AddPMN=Добавить проект", "AddDirPMN=Добавить по каталогу"}));

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.Splitter1->widget(0), static_cast<QWidget*>(form.ProjectTreeView));
    QCOMPARE(form.ProjectTreeView->width(), 265);
    QCOMPARE(form.Splitter1->handleWidth(), 5);

    // Two distinct 16 by 16 images: open and closed projects.
    const QImage open = form.ImageList[0].pixmap(16, 16).toImage();
    const QImage closed = form.ImageList[1].pixmap(16, 16).toImage();
    QCOMPARE(open.size(), QSize(16, 16));
    QVERIFY(open != closed);

    // The seventeen stored boxes, each under its own name, disabled where the editor only looks.
    QStringList boxNames, disabled;
    for (TfsCheckBox* box : checkBoxes(form)) {
        boxNames << box->objectName();
        if (!box->isEnabled()) disabled << box->objectName();
    }
    QCOMPARE(boxNames.size(), 17);
    QCOMPARE(disabled, QStringList({"PgAfterEmptyCB", "CreateXMLCB", "ProcessCB", "SCreatePDBCB", "SCreateZIPCB",
                                    "SCreateWSLCB", "SImageSetCB"}));
}

void MainFormTest::startWithHeaderOnlyTable()
{
    ProgramFolderFixture f;
    TMainForm form(f.options());
    QVERIFY(f.dialogs->shown.isEmpty());
    QCOMPARE(form.ProjectTreeView->topLevelItemCount(), 0);
    QCOMPARE(form.CurrentProjectId(), 0);
    for (TfsCheckBox* box : checkBoxes(form)) QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
    QCOMPARE(form.AbzItemIndex(), 2); // "Выключить"
    for (QTableWidget* grid : {form.RBeforeStringGrid, form.RAfterStringGrid}) {
        QCOMPARE(gridTitles(grid), QStringList({"выражение", "строка для замены"}));
        QCOMPARE(grid->rowCount(), 1);
        QVERIFY(!grid->item(0, 0) || grid->item(0, 0)->text().isEmpty());
    }
}

void MainFormTest::startWithoutProjectsTable()
{
    ProgramFolderFixture f;
    std::filesystem::remove(f.db("projects.tbl"));
    TMainForm form(f.options());
    QCOMPARE(f.dialogs->errors().size(), 1);
    QVERIFY(f.dialogs->errors()[0].contains("projects.tbl"));
    QCOMPARE(form.ProjectTreeView->topLevelItemCount(), 0);
    // The remaining steps were still done.
    QCOMPARE(gridTitles(form.RBeforeStringGrid), QStringList({"выражение", "строка для замены"}));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(!std::filesystem::exists(f.db("projects.tbl")));
}

void MainFormTest::startLoadsTheFirstProject()
{
    ProgramFolderFixture f;
    // "Книга" and an author "Пушкин" in cp1251.
    f.addProject(4, "\xCA\xED\xE8\xE3\xE0", false,
                 "[options]\r\nAddHeaderCB=1\r\nRecodeCB=yes\r\nProcessCB=2\r\nStoryCB=1\r\nAbzRadioGroup=7\r\n"
                 "[authors]\r\n\xCF\xF3\xF8\xEA\xE8\xED=12\r\n");
    f.addProject(2, "Second", true, "[options]\r\nAbzRadioGroup=-5\r\n");
    TMainForm form(f.options());
    QVERIFY(f.dialogs->shown.isEmpty());

    QCOMPARE(form.CurrentProjectId(), 4);
    QCOMPARE(form.CurrentProjectName(), QStringLiteral("Книга"));
    QCOMPARE(form.ProjectTreeView->topLevelItemCount(), 2);
    QTreeWidgetItem* first = form.ProjectTreeView->topLevelItem(0);
    QCOMPARE(first->data(0, Qt::UserRole).toLongLong(), 4);
    QStringList groups;
    for (int i = 0; i < first->childCount(); ++i)
        groups << first->child(i)->text(0) + ":" + first->child(i)->data(0, Qt::UserRole).toString();
    QCOMPARE(groups, QStringList({"Настройки:1", "Файлы:2", "Автор:3", "Жанр:4", "Серия:4", "Описание:5", "Цитата:6"}));
    QCOMPARE(first->child(2)->childCount(), 1);
    QCOMPARE(first->child(2)->child(0)->text(0), QStringLiteral("Пушкин"));
    QCOMPARE(first->child(2)->child(0)->data(0, Qt::UserRole).toLongLong(), 0);
    // Images: open project 0, closed project 1.
    QCOMPARE(first->icon(0).cacheKey(), form.ImageList[0].cacheKey());
    QCOMPARE(form.ProjectTreeView->topLevelItem(1)->icon(0).cacheKey(), form.ImageList[1].cacheKey());

    QStringList checked;
    for (TfsCheckBox* box : checkBoxes(form))
        if (box->isChecked()) checked << box->objectName();
    QCOMPARE(checked, QStringList({"AddHeaderCB", "ProcessCB", "StoryCB"})); // "yes" reads as the default
    QCOMPARE(form.AbzItemIndex(), 2);                                      // 7 is clamped to 2
}

void MainFormTest::badProjectRowKeepsTheNodesBuiltSoFar()
{
    ProgramFolderFixture f;
    f.addProject(1, "Good");
    writeFile(f.db("projects.tbl"), readFile(f.db("projects.tbl")) + "x\tBad\tProjectX\t0\r\n3\tLater\tProject3\t0\r\n");
    const std::string before = readFile(f.db("projects.tbl"));
    TMainForm form(f.options());
    QCOMPARE(f.dialogs->errors().size(), 1);
    QVERIFY(f.dialogs->errors()[0].contains("\"x\""));
    QCOMPARE(form.ProjectTreeView->topLevelItemCount(), 1);
    QCOMPARE(form.CurrentProjectId(), 1);
    QCOMPARE(readFile(f.db("projects.tbl")), before);
}

void MainFormTest::resizeSetsGridColumnWidths()
{
    ProgramFolderFixture f;
    TMainForm form(f.options());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.RBeforeStringGrid->setFixedWidth(401);
    form.RAfterStringGrid->setFixedWidth(300);
    form.resize(900, 600);
    QTRY_COMPARE(form.RBeforeStringGrid->width(), 401);
    QTRY_COMPARE(form.RBeforeStringGrid->columnWidth(0), 196);
    QCOMPARE(form.RBeforeStringGrid->columnWidth(1), 196);
    QCOMPARE(form.RBeforeStringGrid->horizontalHeader()->defaultSectionSize(), 196);
    QCOMPARE(form.RAfterStringGrid->columnWidth(0), 146);
}

void MainFormTest::closingWithoutProjectWritesNothing()
{
    ProgramFolderFixture f;
    const auto before = snapshot(f.dir.path());
    {
        TMainForm form(f.options());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.close());
    }
    QCOMPARE(snapshot(f.dir.path()), before);
    QVERIFY(!std::filesystem::exists(f.dir / "folioset.ini"));
    QVERIFY(f.dialogs->shown.isEmpty());
}

void MainFormTest::closingSavesTheCurrentProjectsOptions()
{
    ProgramFolderFixture f;
    f.addProject(1, "A", false, "[options]\r\nCreatePDBCB=1\r\n[files]\r\nsource=a.txt\r\n");
    {
        TMainForm form(f.options());
        form.findChild<TfsCheckBox*>("RecodeCB")->setChecked(true);
        form.findChild<TfsCheckBox*>("StoryCB")->setChecked(true);
        form.SetAbzItemIndex(1);
        QVERIFY(form.close());
    }
    const std::string cfg = readFile(f.project(1) / "project.cfg");
    QCOMPARE(QString::fromStdString(cfg),
             QStringLiteral("[options]\r\nCreatePDBCB=1\r\nAddHeaderCB=0\r\nRecodeCB=1\r\nRBeforeCB=0\r\n"
                            "RAfterCB=0\r\nVornProcessCB=0\r\nPgAfterEmptyCB=0\r\nNoDetectEncCB=0\r\n"
                            "CreateZIPCB=0\r\nCreateXMLCB=0\r\nCreateWSLCB=0\r\nProcessCB=0\r\nSCreatePDBCB=0\r\n"
                            "SCreateZIPCB=0\r\nSCreateWSLCB=0\r\nSImageSetCB=0\r\nStoryCB=1\r\nAbzRadioGroup=1\r\n"
                            "[files]\r\nsource=a.txt\r\n"));
}

void MainFormTest::closingWhenSavingFailsStillCloses()
{
    ProgramFolderFixture f;
    f.addProject(1, "A");
    TMainForm form(f.options());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    std::filesystem::remove_all(f.project(1)); // "project.cfg" can no longer be written
    QVERIFY(form.close());
    QCOMPARE(f.dialogs->shown, QStringList({"message: Странные траблы про сохранении статуса проектов..."}));
}

void MainFormTest::workersAreParkedAndStopAtDestruction()
{
    ProgramFolderFixture f;
    auto form = std::make_unique<TMainForm>(f.options());
    QVERIFY(form->FTPSender().Suspended());
    QVERIFY(form->ProcessThread().Suspended());
    // A resumed worker with nothing to do parks itself again.
    form->ProcessThread().Resume();
    QTRY_VERIFY(form->ProcessThread().Suspended());
    form->FTPSender().Resume();
    QTRY_VERIFY(form->FTPSender().Suspended());
    form.reset(); // joins both threads; a hang here fails the test by its time-out
}

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"
