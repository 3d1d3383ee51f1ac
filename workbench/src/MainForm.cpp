#include "MainForm.h"

#include "FlatCheckBox.h"
#include "Tag.h"
#include "TreeImages.h"
#include "settings/AppSettings.h"
#include "settings/Folders.h"
#include "workers/VtFTPSend.h"
#include "workers/VtProcessText.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <tuple>

namespace {

// The book site's domain in the window caption: a reserved example domain.
constexpr const char* kSiteDomain = "example.org";

const char* const kPageNames[] = {"ProjectTabSheet", "FilesTabSheet", "AuthorTabSheet", "GenresTabSheet",
                                  "DescTabSheet",    "CitateTabSheet", "FTPTabSheet"};
const char* const kPageCaptions[] = {"Настройки проекта", "Файлы", "Авторы", "Жанры и Серии",
                                     "Описание",          "Цитата", "Связь с сайтом"};

QLabel* heading(const QString& text, const QColor& color)
{
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

} // namespace

QString TMainForm::Caption()
{
    return QString::fromLatin1(kSiteDomain) + QStringLiteral(" - система подготовки книг. версия 2.0(rev. 01.12.2003)");
}

template <class T>
T* TMainForm::Add(T* component, const char* name)
{
    component->setObjectName(QString::fromLatin1(name));
    components_.push_back(component);
    return component;
}

TMainForm::TMainForm(MainFormOptions options, QWidget* parent)
    : QWidget(parent), dialogs_(options.dialogs ? options.dialogs : std::make_shared<QtDialogs>())
{
    BuildWindow();

    // 1. The application settings file beside the program.
    const std::filesystem::path executable = options.executablePath.toStdString();
    settings_ = std::make_unique<folio::IniFile>(folio::SettingsFileFor(executable));
    // 2.
    PageControl->setCurrentIndex(ProjectPage);
    activePage_ = ProjectPage;
    // 3.-4. Folder names come from the settings file; the database folder is fixed now.
    programFolder_ = executable.parent_path().string() + "/";
    RunHandler([this] { databaseFolder_ = programFolder_ + Read(*settings_, folio::appkeys::FoldersDb) + "/"; });
    // 5. The ZIP support is linked into the program: there is nothing to load.
    // 6.-7.
    currentProjectId_ = 0;
    RunHandler([this] { LoadProjectTree(); });
    // 8.
    if (currentProjectId_ > 0) RunHandler([this] { LoadProjectOptions(); });
    // 9. Both workers are parked until the work they serve resumes them.
    ftpSender_ = std::make_unique<folio::TVtFTPSend>(nullptr, nullptr);
    ftpSender_->Start();
    // 10.
    for (QTableWidget* grid : {RBeforeStringGrid, RAfterStringGrid})
        grid->setHorizontalHeaderLabels({QStringLiteral("выражение"), QStringLiteral("строка для замены")});
    // 11.
    processThread_ = std::make_unique<folio::TVtProcessText>(nullptr, nullptr);
    processThread_->Start();
}

TMainForm::~TMainForm()
{
    // Both workers end at their next check; a file operation in progress completes first.
    ftpSender_.reset();
    processThread_.reset();
    // The queue entries carry their project ids by value: emptying the list frees them.
    PListComboBox->clear();
    settings_.reset();
}

void TMainForm::BuildWindow()
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(Caption());
    // The workbench's dense pages were laid out for a small UI font.
    QFont small = font();
    small.setPointSizeF(std::min<qreal>(small.pointSizeF(), 9));
    setFont(small);
    resize(812, 512);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Splitter1 = Add(new QSplitter(Qt::Horizontal, this), "Splitter1");
    Splitter1->setHandleWidth(5);
    Splitter1->setChildrenCollapsible(false);
    layout->addWidget(Splitter1);

    ImageList = MakeTreeImages();
    ProjectTreeView = Add(new QTreeWidget, "ProjectTreeView");
    ProjectTreeView->setHeaderHidden(true);
    ProjectTreeView->setIconSize(QSize(16, 16));
    ProjectTreeView->setContextMenuPolicy(Qt::CustomContextMenu);
    ProjectTreeView->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    ProjectTreeView->installEventFilter(this);
    ProjectTreeView->viewport()->installEventFilter(this);
    connect(ProjectTreeView, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* node, int) {
        if (treeUpdates_ == 0) RunHandler([&] { ProjectTreeViewEdited(node, node->text(0)); });
    });
    connect(ProjectTreeView, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { RunHandler([&] { ProjectTreeViewExpanding(node); }); });
    Splitter1->addWidget(ProjectTreeView);

    Panel1 = Add(new QWidget, "Panel1");
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    PageControl = Add(new QTabWidget, "PageControl");
    PageControl->setDocumentMode(true); // flat tabs
    PageControl->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 4px; }"));
    panelLayout->addWidget(PageControl);
    Splitter1->addWidget(Panel1);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({265, 812 - 265 - 5});

    for (int i = 0; i < PageCount; ++i) {
        TabSheets[i] = Add(new QWidget, kPageNames[i]);
        PageControl->addTab(TabSheets[i], QString::fromUtf8(kPageCaptions[i]));
    }
    BuildProjectPage(TabSheets[ProjectPage]);
    BuildGenresPage(TabSheets[GenresPage]);
    connect(PageControl, &QTabWidget::currentChanged, this, &TMainForm::PageChanged);

    ProjectsPM = Add(new QMenu(this), "ProjectsPM");
    ClosePMN = Add(ProjectsPM->addAction(QStringLiteral("Закрыть/Открыть проект")), "ClosePMN");
    DelPMN = Add(ProjectsPM->addAction(QStringLiteral("Удалить проект")), "DelPMN");
    AddPMN = Add(ProjectsPM->addAction(QStringLiteral("Добавить проект")), "AddPMN");
    AddDirPMN = Add(ProjectsPM->addAction(QStringLiteral("Добавить по каталогу")), "AddDirPMN");
    connect(ProjectTreeView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { ProjectsPM->popup(ProjectTreeView->viewport()->mapToGlobal(at)); });
    connect(ClosePMN, &QAction::triggered, this, [this] { RunHandler([this] { ClosePMNClick(); }); });
    connect(DelPMN, &QAction::triggered, this, [this] { RunHandler([this] { DelPMNClick(); }); });
    connect(AddPMN, &QAction::triggered, this, [this] { RunHandler([this] { AddPMNClick(); }); });
    connect(AddDirPMN, &QAction::triggered, this, [this] { RunHandler([this] { AddDirPMNClick(); }); });

    pageHandlers_[ProjectPage] = {[this] { ProjectTabSheetShow(); }, [this] { ProjectTabSheetHide(); }};
}

void TMainForm::BuildProjectPage(QWidget* page)
{
    auto* pageLayout = new QVBoxLayout(page);
    auto* columns = new QHBoxLayout;
    pageLayout->addLayout(columns, 1);

    auto* group = Add(new QGroupBox, "GroupBox1");
    group->setMinimumWidth(185); // grows where the system font needs more for a caption
    auto* g = new QVBoxLayout(group);
    g->setSpacing(1);
    auto box = [&](const char* name, const char* caption, bool enabled = true) {
        auto* cb = Add(new TfsCheckBox(QString::fromUtf8(caption)), name);
        cb->setEnabled(enabled);
        g->addWidget(cb);
        return cb;
    };
    g->addWidget(Add(heading(QStringLiteral("Параметры форматирования"), QColor(0, 128, 0)), "Label3"));
    box("AddHeaderCB", "Добавлять заголовок");
    box("RecodeCB", "Перекодировать из cp866");
    box("RBeforeCB", "Замены до обработки");
    box("RAfterCB", "Замены после обработки");
    box("VornProcessCB", "Постобработка (с) Vorn");
    box("PgAfterEmptyCB", "Абзац после пустой строки", false);

    AbzRadioGroup = Add(new QGroupBox(QStringLiteral("Инт. распознавание абзацев")), "AbzRadioGroup");
    auto* radios = new QVBoxLayout(AbzRadioGroup);
    radios->setContentsMargins(6, 2, 6, 2);
    radios->setSpacing(0);
    abzButtons_ = new QButtonGroup(AbzRadioGroup);
    const char* const items[] = {"Авто", "Включить", "Выключить"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(items[i]));
        abzButtons_->addButton(radio, i);
        radios->addWidget(radio);
    }
    SetAbzItemIndex(2); // the choice shown before any project is loaded
    g->addWidget(AbzRadioGroup);

    g->addWidget(Add(heading(QStringLiteral("Устранение проблем"), QColor(192, 0, 0)), "Label2"));
    box("NoDetectEncCB", "Не определять кодировку");
    g->addWidget(Add(heading(QStringLiteral("Параметры экспорта"), QColor(0, 0, 192)), "Label1"));
    box("CreatePDBCB", "Создать PDB файл");
    box("CreateZIPCB", "Создать ZIP файл");
    box("CreateXMLCB", "Создать XML файл", false);
    box("CreateWSLCB", "Создать zTXT файл");
    g->addWidget(Add(heading(QStringLiteral("Состояние проекта"), QColor(128, 0, 128)), "Label10"));
    box("ProcessCB", "Обработан", false);
    box("SCreatePDBCB", "Создан PDB", false);
    box("SCreateZIPCB", "Создан ZIP", false);
    box("SCreateWSLCB", "Создан zTXT", false);
    box("SImageSetCB", "Назначена картинка", false);
    g->addStretch(1);
    ProcessBitBtn = Add(new QPushButton(QStringLiteral("Обработать немедленно")), "ProcessBitBtn");
    g->addWidget(ProcessBitBtn);
    // The column scrolls rather than forcing the window taller than its 512 pixels.
    auto* scroll = new QScrollArea;
    scroll->setWidget(group);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFixedWidth(group->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width());
    columns->addWidget(scroll);

    auto* grids = new QVBoxLayout;
    auto gridPanel = [&](const char* panelName, const char* labelName, const char* caption, const char* gridName) {
        auto* panel = Add(new QWidget, panelName);
        auto* v = new QVBoxLayout(panel);
        v->setContentsMargins(0, 0, 0, 0);
        auto* label = Add(new QLabel(QString::fromUtf8(caption)), labelName);
        label->setFixedHeight(17);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this); // a click folds the other panel
        v->addWidget(label);
        auto* grid = Add(new QTableWidget(1, 2), gridName);
        grid->installEventFilter(this); // the columns follow the grid's width; Insert and Delete
        grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
        grid->verticalHeader()->setVisible(false);
        grid->verticalHeader()->setDefaultSectionSize(18);
        grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
        v->addWidget(grid);
        grids->addWidget(panel);
        return std::make_tuple(panel, label, grid);
    };
    std::tie(BeforePanel, Label14, RBeforeStringGrid) =
        gridPanel("BeforePanel", "Label14", "Замены до обработки", "RBeforeStringGrid");
    std::tie(AfterPanel, Label17, RAfterStringGrid) =
        gridPanel("AfterPanel", "Label17", "Замены после обработки", "RAfterStringGrid");
    columns->addLayout(grids, 1);

    auto* bottom = new QHBoxLayout;
    PListComboBox = Add(new QComboBox, "PListComboBox");
    PListComboBox->setEditable(false);
    PListComboBox->setFixedWidth(160);
    AddToThreadQueueButton =
        Add(new QPushButton(QStringLiteral("Добавить проект в очередь обработки")), "AddToThreadQueueButton");
    bottom->addWidget(PListComboBox);
    bottom->addWidget(AddToThreadQueueButton);
    bottom->addStretch(1);
    pageLayout->addLayout(bottom);
}

void TMainForm::BuildGenresPage(QWidget* page)
{
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(Add(new TfsCheckBox(QStringLiteral("Рассказ")), "StoryCB"));
    layout->addStretch(1);
}

int TMainForm::AbzItemIndex() const
{
    return abzButtons_->checkedId(); // -1 when none is chosen
}

void TMainForm::SetAbzItemIndex(int index)
{
    if (QAbstractButton* button = abzButtons_->button(index)) {
        button->setChecked(true);
        return;
    }
    // No choice: an exclusive group cannot uncheck its last button.
    abzButtons_->setExclusive(false);
    for (QAbstractButton* button : abzButtons_->buttons()) button->setChecked(false);
    abzButtons_->setExclusive(true);
}

folio::Folders TMainForm::CurrentFolders() const
{
    folio::Folders folders = folio::Folders::Compute(programFolder_, *settings_);
    folders.db = databaseFolder_;
    return folders;
}

bool TMainForm::RunHandler(const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        dialogs_->ShowError(this, QString::fromUtf8(e.what()));
    } catch (...) {
        dialogs_->ShowError(this, QStringLiteral("Неизвестная ошибка"));
    }
    return false;
}

void TMainForm::PageChanged(int index)
{
    const int previous = activePage_;
    activePage_ = index;
    if (previous != index) RunHandler([&] { RunPageHide(previous); });
    RunHandler([&] { RunPageShow(index); });
}

void TMainForm::ActivatePage(int index)
{
    if (index == activePage_) {
        // Already active: reload it for the project now current.
        RunPageHide(index);
        PageControl->setCurrentIndex(index);
        RunPageShow(index);
    } else {
        PageControl->setCurrentIndex(index); // runs the old page's hide and this page's show
    }
}

void TMainForm::RunPageShow(int index)
{
    if (index >= 0 && index < PageCount && pageHandlers_[index].show) pageHandlers_[index].show();
}

void TMainForm::RunPageHide(int index)
{
    if (index >= 0 && index < PageCount && pageHandlers_[index].hide) pageHandlers_[index].hide();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    const bool isGrid = watched == RBeforeStringGrid || watched == RAfterStringGrid;
    switch (event->type()) {
    case QEvent::Resize:
        // The layout settles the grids' widths after the window's own resize event.
        if (isGrid) FormResize();
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        bool handled = false;
        if (watched == ProjectTreeView) RunHandler([&] { handled = ProjectTreeViewKeyDown(key); });
        else if (isGrid)
            RunHandler([&] { handled = RBeforeStringGridKeyDown(static_cast<QTableWidget*>(watched), key); });
        if (handled) return true;
        break;
    }
    case QEvent::MouseButtonPress:
        // A right click opens the popup menu without moving the selection.
        if (watched == ProjectTreeView->viewport() && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
            return true;
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) break;
        if (watched == ProjectTreeView->viewport()) {
            // After the view has moved the selection to the clicked node.
            QMetaObject::invokeMethod(this, [this] { RunHandler([this] { ProjectTreeViewClick(); }); },
                                      Qt::QueuedConnection);
        } else if (watched == Label14) {
            RunHandler([this] { Label14Click(); });
        } else if (watched == Label17) {
            RunHandler([this] { Label17Click(); });
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The active page is shown for the first time with the window: fill it.
    if (!shownOnce_) {
        shownOnce_ = true;
        RunHandler([this] { RunPageShow(activePage_); });
    }
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TMainForm::FormResize()
{
    for (QTableWidget* grid : {RBeforeStringGrid, RAfterStringGrid}) {
        const int width = grid->width() / 2 - 4;
        grid->horizontalHeader()->setDefaultSectionSize(width);
        for (int column = 0; column < grid->columnCount(); ++column) grid->setColumnWidth(column, width);
    }
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (currentProjectId_ > 0) {
        try {
            SaveProjectOptions();
            RunPageHide(activePage_);
        } catch (...) {
            dialogs_->ShowMessage(this, QStringLiteral("Странные траблы про сохранении статуса проектов..."));
        }
    }
    if (!ftpSender_->Suspended()) {
        ftpSender_->Suspend();
        ftpSender_->Disconnect();
    }
    event->accept();
}
