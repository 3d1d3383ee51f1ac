#pragma once
// TMainForm: the workbench's main window. The project tree on the left, the seven pages of
// the current project on the right; it owns the settings file, the two background workers
// and the processing queue list.

#include "Dialogs.h"
#include "settings/IniFile.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QMenu;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TfsCheckBox;

namespace folio {
class TVtFTPSend;
class TVtProcessText;
struct Folders;
} // namespace folio

struct MainFormOptions {
    // The program's own file: the settings file and the program folder derive from it.
    QString executablePath;
    // Null: Qt's own dialogs.
    std::shared_ptr<Dialogs> dialogs;
};

class TMainForm : public QWidget {
    Q_OBJECT
public:
    // Page indexes, in the page control's order.
    enum Page { ProjectPage, FilesPage, AuthorPage, GenresPage, DescPage, CitatePage, FTPPage, PageCount };

    explicit TMainForm(MainFormOptions options, QWidget* parent = nullptr); // FormCreate
    ~TMainForm() override;                                                   // FormDestroy

    static QString Caption();

    // State of the window.
    long long CurrentProjectId() const { return currentProjectId_; }
    const QString& CurrentProjectName() const { return currentProjectName_; }
    const std::string& ProgramFolder() const { return programFolder_; }
    const std::string& DatabaseFolder() const { return databaseFolder_; }
    folio::IniFile& Settings() { return *settings_; }
    Dialogs& GetDialogs() { return *dialogs_; }
    // The folders as configured now, with the database folder fixed at start-up.
    folio::Folders CurrentFolders() const;
    folio::TVtFTPSend& FTPSender() { return *ftpSender_; }
    folio::TVtProcessText& ProcessThread() { return *processThread_; }

    // Project tree and project life cycle.
    void LoadProjectTree();
    void ProjectTreeViewClick();
    // The editor finished editing a node's text; refused for every node but a project's.
    void ProjectTreeViewEdited(QTreeWidgetItem* node, const QString& newText);
    void AddProject(const QString& name);
    void DeleteProject(long long projectId);
    void AddProjectsFromFolder();
    void ResetProjectPages();
    void ClosePMNClick();
    void DelPMNClick();
    void AddPMNClick();
    void AddDirPMNClick();

    void AddProjectGroupNodes(long long projectId, std::string_view section, QTreeWidgetItem* groupNode);
    bool IsProjectQueued(long long projectId) const;
    // Options and the settings page.
    void LoadProjectOptions();
    void SaveProjectOptions();
    void ProjectTabSheetShow();
    void ProjectTabSheetHide();
    void Label14Click();
    void Label17Click();

    // Components in creation order (the window's component order).
    const std::vector<QObject*>& Components() const { return components_; }

    // Runs a handler; a failure is shown through the dialogs and leaves the window usable.
    // Returns false when the handler failed.
    bool RunHandler(const std::function<void()>& handler);

    // Components, named as the window's stored options and the handlers know them.
    QTreeWidget* ProjectTreeView = nullptr;
    QSplitter* Splitter1 = nullptr;
    QWidget* Panel1 = nullptr;
    QTabWidget* PageControl = nullptr;
    std::array<QWidget*, PageCount> TabSheets{};
    QMenu* ProjectsPM = nullptr;
    QAction* ClosePMN = nullptr;
    QAction* DelPMN = nullptr;
    QAction* AddPMN = nullptr;
    QAction* AddDirPMN = nullptr;
    std::array<QIcon, 2> ImageList;

    // Settings page.
    QGroupBox* AbzRadioGroup = nullptr;
    QTableWidget* RBeforeStringGrid = nullptr;
    QTableWidget* RAfterStringGrid = nullptr;
    QWidget* BeforePanel = nullptr;
    QWidget* AfterPanel = nullptr;
    QWidget* Label14 = nullptr;
    QWidget* Label17 = nullptr;
    QComboBox* PListComboBox = nullptr;
    QPushButton* ProcessBitBtn = nullptr;
    QPushButton* AddToThreadQueueButton = nullptr;

    // The radio group's choice: -1 none, 0 "Авто", 1 "Включить", 2 "Выключить".
    int AbzItemIndex() const;
    void SetAbzItemIndex(int index);

protected:
    void closeEvent(QCloseEvent* event) override; // FormClose
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    template <class T>
    T* Add(T* component, const char* name);
    void BuildWindow();
    void BuildProjectPage(QWidget* page);
    void BuildGenresPage(QWidget* page);
    void FormResize();
    void PageChanged(int index);
    void ActivatePage(int index);
    bool ProjectTreeViewKeyDown(int key);
    void ProjectTreeViewExpanding(QTreeWidgetItem* node);
    bool RBeforeStringGridKeyDown(QTableWidget* grid, int key);
    void LoadGrid(QTableWidget* grid, const std::string& tableFile);
    void SaveGrid(QTableWidget* grid, const std::string& tableFile);
    void AddProjectGroupNodes(const folio::Folders& folders, long long projectId, std::string_view section,
                              QTreeWidgetItem* groupNode);
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, long long data, int image);
    void RunPageShow(int index);
    void RunPageHide(int index);

    std::shared_ptr<Dialogs> dialogs_;
    std::unique_ptr<folio::IniFile> settings_;
    std::string programFolder_;
    std::string databaseFolder_;
    long long currentProjectId_ = 0;
    QString currentProjectName_;
    std::unique_ptr<folio::TVtFTPSend> ftpSender_;
    std::unique_ptr<folio::TVtProcessText> processThread_;
    std::vector<QObject*> components_;
    QButtonGroup* abzButtons_ = nullptr;
    int activePage_ = ProjectPage;
    int treeUpdates_ = 0; // while above 0, node changes are the program's own, not edits
    bool shownOnce_ = false;

    // Show and hide handlers of each page; empty where a page has none yet.
    struct PageHandlers {
        std::function<void()> show;
        std::function<void()> hide;
    };
    std::array<PageHandlers, PageCount> pageHandlers_;
};
