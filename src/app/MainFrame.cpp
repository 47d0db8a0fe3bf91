#include "app/MainFrame.h"

#include "app/CommandTable.h"
#include "app/DocHintRelay.h"
#include "app/QVNApp.h"
#include "app/RecentFileList.h"
#include "app/SearchBar.h"
#include "app/StartPage.h"
#include "app/StatusPane.h"
#include "kit/HelpWindow.h"
#include "kit/QtText.h"
#include "project/CommandIds.h"
#include "project/QVNDoc.h"
#include "views/QVNBibTeXView.h"
#include "views/QVNListView.h"
#include "views/QVNTreeView.h"
#include "views/QVNView.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QWhatsThis>

#include <algorithm>
#include <optional>

namespace {

constexpr int kSeparator = 0;
constexpr QSize kButtonImageSize(18, 18);

QString Latin1(const char* text) {
    return QString::fromLatin1(text);
}

ListDisplayMode ModeOfCommand(int id) {
    switch (id) {
    case ID_VIEW_LARGEICON:
        return ListDisplayMode::LargeIcons;
    case ID_VIEW_SMALLICON:
        return ListDisplayMode::SmallIcons;
    case ID_VIEW_LIST:
        return ListDisplayMode::List;
    default:
        return ListDisplayMode::Details;
    }
}

} // namespace

CMainFrame::CMainFrame(CQVNApp& app, QWidget* parent)
    : QMainWindow(parent), m_app(app), m_doc(app.GetDocument()), m_docTarget(app.GetDocument()),
      m_relay(new CDocHintRelay(app.GetDocument(), this)) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/quorvane.svg")));
    setAcceptDrops(true);
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks |
                   QMainWindow::AllowTabbedDocks);
    // The explorer and the property pane own the left edge from top to bottom.
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);

    CreateActions();
    CreateToolBars();
    CreatePanes();
    CreateStatusBar();
    CreateMenus();

    // Shown instead of the main view while no project is open. Its
    // commands run once its button has finished its click: opening a
    // project takes the page away.
    m_startPage = new CStartPage(this);
    m_startPage->hide();
    connect(m_startPage, &CStartPage::commandRequested, this, [this](int id) {
        QMetaObject::invokeMethod(
            this, [this, id] { RouteCommand(id); }, Qt::QueuedConnection);
    });

    // The first main view: the files list.
    SwitchMainView(MainViewKind::Files);

    connect(m_relay, &CDocHintRelay::updated, this, [this] {
        UpdateStartPage();
        updateActions();
    });
    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::OnFocusChanged);
    connect(&m_app.GetRecentFiles(), &CRecentFileList::changed, this,
            &CMainFrame::UpdateRecentFiles);
    connect(m_searchBar, &CSearchBar::searchRequested, this, &CMainFrame::OnSearchRequested);
    connect(m_searchBar, &CSearchBar::helpRequested, this,
            [this] { ShowHelpTopic(Latin1(CHelpWindow::kSearchTopic)); });
    m_doc.SetTitleChangedCallback([this] { UpdateCaption(); });

    UpdateCaption();
    UpdateRecentFiles();
    UpdateStartPage();
    updateActions();
}

CMainFrame::~CMainFrame() {
    m_doc.SetTitleChangedCallback(nullptr);
    // The bars, panes and views go after this object's own members: none of
    // their last signals may reach it.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(&m_app.GetRecentFiles(), nullptr, this, nullptr);
    for (QObject* child : findChildren<QObject*>()) {
        disconnect(child, nullptr, this, nullptr);
    }
    delete m_helpWindow;
}

// ---------------------------------------------------------------------------
// Building the window

void CMainFrame::OpenWithDesktop(const char* target, const char* failure) {
    // The failure may come back only once the desktop's opener has given up;
    // by then this window may be gone.
    QPointer<CMainFrame> self(this);
    const auto report = [self, failure] {
        if (self != nullptr) {
            self->m_app.GetUserInterface().MessageBox(failure, {}, MsgIcon::Warning,
                                                      MsgButtons::Ok);
        }
    };
    if (!m_app.GetShell().Open(target, report)) {
        report();
    }
}

void CMainFrame::AttachPrompts(QMenu* menu) {
    for (QAction* action : menu->actions()) {
        if (const CommandInfo* info = FindCommand(action->data().toInt());
            info != nullptr && !action->isSeparator()) {
            action->setStatusTip(StatusText(*info));
        }
    }
    // A popup menu is a window of its own, so its status tips never reach
    // this window by themselves.
    connect(menu, &QMenu::hovered, this, [this](QAction* action) {
        const QString prompt = action->statusTip();
        if (prompt.isEmpty()) {
            statusBar()->clearMessage();
        } else {
            statusBar()->showMessage(prompt);
        }
    });
    connect(menu, &QMenu::aboutToHide, this, [this] { statusBar()->clearMessage(); });
}

QAction* CMainFrame::CreateAction(const CommandInfo& info) {
    const QString status = StatusText(info);
    const QString tip = ToolTipText(info);
    QString text = info.menuText != nullptr ? Latin1(info.menuText) : tip;
    auto* action = new QAction(text, this);
    action->setData(info.id);
    action->setStatusTip(status);
    if (!tip.isEmpty()) {
        action->setToolTip(tip);
    }
    action->setWhatsThis(status.isEmpty() ? tip : status);
    action->setCheckable(info.checkable);
    if (info.icon != nullptr) {
        action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(Latin1(info.icon))));
    }
    QList<QKeySequence> keys;
    for (const char* key : info.keys) {
        if (key != nullptr) {
            keys << QKeySequence(Latin1(key), QKeySequence::PortableText);
        }
    }
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    const int id = info.id;
    connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
    // Keys work without a menu item or button.
    addAction(action);
    return action;
}

void CMainFrame::CreateActions() {
    for (const CommandInfo& info : CommandTable()) {
        m_actions[info.id] = CreateAction(info);
    }
    // The recent-file list has one command per entry.
    m_recentActions[0] = m_actions.at(ID_FILE_MRU_FILE1);
    const CommandInfo& recent = *FindCommand(ID_FILE_MRU_FILE1);
    for (int i = 1; i < kRecentFileCount; ++i) {
        CommandInfo info = recent;
        info.id = ID_FILE_MRU_FILE1 + i;
        m_recentActions[static_cast<std::size_t>(i)] = m_actions[info.id] = CreateAction(info);
    }
    // The display modes show the current one like radio buttons.
    auto* modes = new QActionGroup(this);
    modes->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int id : {ID_VIEW_LARGEICON, ID_VIEW_SMALLICON, ID_VIEW_LIST, ID_VIEW_DETAILS}) {
        modes->addAction(m_actions.at(id));
    }
}

void CMainFrame::AddCommands(QWidget* target, std::initializer_list<int> ids) {
    for (int id : ids) {
        if (id == kSeparator) {
            if (auto* menu = qobject_cast<QMenu*>(target)) {
                menu->addSeparator();
            } else if (auto* bar = qobject_cast<QToolBar*>(target)) {
                bar->addSeparator();
            }
        } else {
            target->addAction(m_actions.at(id));
        }
    }
}

QMenu* CMainFrame::AddMenu(QMenu* parent, const char* title, std::initializer_list<int> ids) {
    QMenu* menu =
        parent != nullptr ? parent->addMenu(Latin1(title)) : menuBar()->addMenu(Latin1(title));
    AddCommands(menu, ids);
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateActions);
    return menu;
}

void CMainFrame::CreateMenus() {
    QMenu* file = AddMenu(nullptr, "&File", {});
    AddMenu(file, "&New...", {ID_FILE_NEW, ID_NEW_BIBTEX_FILE, ID_NEW_BIBTEX_ITEM});
    AddCommands(file, {ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, kSeparator});
    AddMenu(file, "&BibTeX format", {ID_BIBTEX_IMPORT, ID_BIBTEX_SAVE_ALL, ID_BIBTEX_SAVE_AS});
    AddCommands(
        file, {kSeparator, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, kSeparator});
    for (QAction* recent : m_recentActions) {
        file->addAction(recent);
    }
    AddCommands(file, {kSeparator, ID_APP_EXIT});

    AddMenu(nullptr, "&Edit",
            {ID_EDIT_UNDO, ID_EDIT_REDO, kSeparator, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE,
             kSeparator, ID_SEARCH, ID_EDIT_REPLACE, kSeparator, ID_EDIT_SELECT_ALL,
             ID_INVERT_SELECTION});

    QMenu* view = AddMenu(nullptr, "&View", {});
    AddMenu(view, "&Windows", {ID_VIEW_PREVIEW, ID_VIEW_PROPERTIES});
    AddMenu(view, "&Toolbars", {ID_VIEW_TOOLBAR, ID_VIEW_BIBTEXBAR, ID_VIEW_SEARCHBAR});
    AddCommands(view, {ID_VIEW_EXPLORER, ID_VIEW_STATUS_BAR, kSeparator, ID_VIEW_UPDATE});

    AddMenu(nullptr, "E&xtras", {ID_PROJECT_SETTINGS, ID_APPEARANCE});
    AddMenu(
        nullptr, "&Help",
        {ID_HELP_FINDER, kSeparator, ID_HELP_HOMEPAGE, ID_HELP_MANUAL, kSeparator, ID_APP_ABOUT});
}

void CMainFrame::CreateToolBars() {
    auto makeBar = [this](const char* caption, const char* name) {
        auto* bar = new QToolBar(Latin1(caption), this);
        bar->setObjectName(Latin1(name));
        bar->setIconSize(kButtonImageSize);
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        bar->setAllowedAreas(Qt::AllToolBarAreas);
        bar->setMovable(true);
        bar->setFloatable(true);
        return bar;
    };
    m_standardBar = makeBar("Toolbar", "standardBar");
    AddCommands(m_standardBar,
                {ID_FILE_NEW,        ID_FILE_OPEN,    ID_FILE_SAVE,      kSeparator,
                 ID_EDIT_CUT,        ID_EDIT_COPY,    ID_EDIT_PASTE,     kSeparator,
                 ID_FILE_PRINT,      kSeparator,      ID_VIEW_LARGEICON, ID_VIEW_SMALLICON,
                 ID_VIEW_LIST,       ID_VIEW_DETAILS, kSeparator,        ID_SORT_ASCENDING,
                 ID_SORT_DESCENDING, kSeparator,      ID_APP_ABOUT,      ID_CONTEXT_HELP});
    m_bibtexBar = makeBar("BibTeX", "bibtexBar");
    AddCommands(m_bibtexBar, {ID_NEW_BIBTEX_ITEM, ID_NEW_STRING, kSeparator, ID_BIBTEX_IMPORT,
                              ID_BIBTEX_SAVE_ALL, kSeparator, ID_VIEW_EXPLORER, ID_VIEW_PROPERTIES,
                              ID_VIEW_PREVIEW, kSeparator, ID_PROJECT_SETTINGS});
    m_searchBar = new CSearchBar(this);
    m_searchBar->SetOtherFieldsSource([this] {
        QStringList names;
        for (const std::string& name : m_doc.CollectOtherFieldNames()) {
            names << qvn::ToQString(name);
        }
        return names;
    });
    m_searchBar->setIconSize(kButtonImageSize);
    m_searchBar->setAllowedAreas(Qt::AllToolBarAreas);

    // One row on top, in this order.
    addToolBar(Qt::TopToolBarArea, m_standardBar);
    addToolBar(Qt::TopToolBarArea, m_bibtexBar);
    addToolBar(Qt::TopToolBarArea, m_searchBar);
    for (QToolBar* bar : {m_standardBar, m_bibtexBar, static_cast<QToolBar*>(m_searchBar)}) {
        connect(bar, &QToolBar::visibilityChanged, this, &CMainFrame::updateActions);
    }
}

void CMainFrame::CreatePanes() {
    auto makePane = [this](const char* caption, const char* name) {
        auto* dock = new QDockWidget(Latin1(caption), this);
        dock->setObjectName(Latin1(name));
        dock->setAllowedAreas(Qt::AllDockWidgetAreas);
        dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                          QDockWidget::DockWidgetFloatable);
        connect(dock, &QDockWidget::visibilityChanged, this, &CMainFrame::updateActions);
        return dock;
    };
    m_previewDock = makePane("Preview", "previewPane");
    m_preview = new QPlainTextEdit(m_previewDock);
    m_preview->setObjectName(QStringLiteral("previewText"));
    m_preview->setReadOnly(true);
    m_preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_preview->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_preview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_preview->setFrameShadow(QFrame::Sunken);
    m_preview->setWhatsThis(QStringLiteral("The BibTeX text of the selection."));
    m_previewDock->setWidget(m_preview);

    m_explorerDock = makePane("Project-Explorer", "explorerPane");
    m_explorerDock->setWidget(CreateExplorerPane(m_doc, *this, m_explorerDock));
    m_propertyDock = makePane("Properties", "propertyPane");
    m_propertyDock->setWidget(CreatePropertyPane(m_doc, *this, m_propertyDock));

    addDockWidget(Qt::LeftDockWidgetArea, m_explorerDock);
    splitDockWidget(m_explorerDock, m_propertyDock, Qt::Vertical);
    addDockWidget(Qt::RightDockWidgetArea, m_previewDock);
    resizeDocks({m_explorerDock, m_previewDock}, {kPaneSize, kPaneSize}, Qt::Horizontal);
    resizeDocks({m_explorerDock, m_propertyDock}, {kPaneSize, kPaneSize}, Qt::Vertical);
    // The preview starts hidden.
    m_previewDock->hide();
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    m_messagePane = new QLabel(Latin1(kDefaultMessage), bar);
    m_messagePane->setObjectName(QStringLiteral("messagePane"));
    bar->addWidget(m_messagePane, 1);
    m_locationPane = new CStatusPane(
        QStringLiteral("This is the location where the bibtex files are stored by default."), bar);
    m_locationPane->setObjectName(QStringLiteral("locationPane"));
    m_countPane = new CStatusPane(QStringLiteral("0000 BibTeX files"), bar);
    m_countPane->setObjectName(QStringLiteral("countPane"));
    m_fileCountPane = new CStatusPane(QStringLiteral("0000 BibTeX entries"), bar);
    m_fileCountPane->setObjectName(QStringLiteral("fileCountPane"));
    bar->addPermanentWidget(m_locationPane);
    bar->addPermanentWidget(m_countPane);
    bar->addPermanentWidget(m_fileCountPane);
}

void CMainFrame::SetExplorerWidget(QWidget* widget) {
    delete m_explorerDock->widget();
    m_explorerDock->setWidget(widget);
}

void CMainFrame::SetPropertyWidget(QWidget* widget) {
    delete m_propertyDock->widget();
    m_propertyDock->setWidget(widget);
}

// ---------------------------------------------------------------------------
// Offered to the views

void CMainFrame::SetPreviewText(const QString& text) {
    m_preview->setPlainText(text);
}

QPrinter& CMainFrame::GetPrinter() {
    return m_app.GetPrinter();
}

CQVNSettings& CMainFrame::GetAppearance() {
    return m_app.GetAppearance();
}

CProblemCheckRunner& CMainFrame::GetProblemCheck() {
    return m_app.GetProblemCheck();
}

QString CMainFrame::GetPreviewText() const {
    return m_preview->toPlainText();
}

CQVNView* CMainFrame::SwitchMainView(MainViewKind kind) {
    CQVNView* view = CreateMainView(kind, m_doc, *this, nullptr);
    if (view == nullptr) {
        return nullptr;
    }
    CQVNView* old = m_mainView;
    if (old != nullptr) {
        // The old view gets no hints from now on; it goes once the new one
        // is in place.
        old->Detach();
        if (centralWidget() == old) {
            takeCentralWidget();
        }
        old->hide();
    }
    if (m_activeView == old) {
        m_activeView = nullptr;
    }
    m_mainView = view;
    connect(view, &CQVNView::commandStateChanged, this, &CMainFrame::updateActions);
    if (IsStartPageShown()) {
        // Waits behind the start page until a project is open.
        view->setParent(this);
        view->hide();
        view->OnInitialUpdate();
        SetActiveView(view);
    } else {
        setCentralWidget(view);
        view->show();
        view->OnInitialUpdate();
        SetActiveView(view);
        // The active view has the keyboard.
        view->setFocus(Qt::OtherFocusReason);
    }
    if (old != nullptr) {
        old->deleteLater();
    }
    updateActions();
    return view;
}

bool CMainFrame::IsStartPageShown() const {
    return m_startPage != nullptr && centralWidget() == m_startPage;
}

CQVNListView* CMainFrame::GetShownList() const {
    return IsStartPageShown() ? nullptr : qobject_cast<CQVNListView*>(m_mainView);
}

void CMainFrame::UpdateStartPage() {
    QWidget* wanted = m_doc.IsProjectActive() ? static_cast<QWidget*>(m_mainView) : m_startPage;
    if (wanted == nullptr || centralWidget() == wanted) {
        return;
    }
    if (QWidget* old = takeCentralWidget()) {
        old->setParent(this);
        old->hide();
    }
    setCentralWidget(wanted);
    wanted->show();
    // The list stays the active view behind the page: its commands keep
    // their states and act on its empty contents.
    SetActiveView(m_mainView);
    if (wanted == m_startPage) {
        m_startPage->FocusFirst();
    } else {
        m_mainView->setFocus(Qt::OtherFocusReason);
        // Once the window has its size.
        QMetaObject::invokeMethod(this, &CMainFrame::FitExplorerToProjectName,
                                  Qt::QueuedConnection);
    }
}

void CMainFrame::FitExplorerToProjectName() {
    auto* tree = m_explorerDock->widget() != nullptr
                     ? m_explorerDock->widget()->findChild<QTreeView*>()
                     : nullptr;
    if (tree == nullptr || tree->model() == nullptr || tree->model()->rowCount() == 0) {
        return;
    }
    const QModelIndex root = tree->model()->index(0, 0);
    const QVariant font = root.data(Qt::FontRole);
    const QFontMetrics metrics(font.isValid() ? font.value<QFont>() : tree->font());
    // Branch mark, icon, label and the padding around them, then what the
    // pane puts around the tree's rows.
    const int label = (tree->rootIsDecorated() ? tree->indentation() : 0) +
                      tree->iconSize().width() +
                      metrics.horizontalAdvance(root.data(Qt::DisplayRole).toString()) + 16;
    const int wanted = label + m_explorerDock->width() - tree->viewport()->width();
    // The pane grows, never shrinks, and leaves the lists most of the window.
    const int width = std::min(wanted, this->width() / 3);
    if (width > m_explorerDock->width()) {
        resizeDocks({m_explorerDock}, {width}, Qt::Horizontal);
    }
}

CQVNView* CMainFrame::GetActiveView() const {
    return m_activeView;
}

CHelpWindow* CMainFrame::GetHelpWindow() const {
    return m_helpWindow;
}

void CMainFrame::SetActiveView(CQVNView* view) {
    if (m_activeView == view) {
        return;
    }
    m_activeView = view;
    updateActions();
}

void CMainFrame::ShowSearchBar() {
    m_searchBar->show();
    // A bar that was hidden shows its boxes once it is laid out again; only
    // a visible box takes the focus.
    layout()->activate();
    m_searchBar->layout()->activate();
    m_searchBar->FocusQuery();
    if (!m_searchBar->GetQueryBox()->hasFocus()) {
        QMetaObject::invokeMethod(m_searchBar, &CSearchBar::FocusQuery, Qt::QueuedConnection);
    }
    updateActions();
}

void CMainFrame::OnFocusChanged(QWidget*, QWidget* now) {
    for (QWidget* w = now; w != nullptr; w = w->parentWidget()) {
        if (auto* view = qobject_cast<CQVNView*>(w)) {
            if (&view->GetHost() == static_cast<IViewHost*>(this)) {
                SetActiveView(view);
            }
            break;
        }
    }
    updateActions();
}

void CMainFrame::OnSearchRequested() {
    const QString query = m_searchBar->GetQuery();
    m_searchBar->AddToHistory(query);
    if (m_doc.MakeSearch(qvn::FromQString(query), m_searchBar->GetField()) == nullptr) {
        m_searchBar->FocusQuery();
    }
    updateActions();
}

// ---------------------------------------------------------------------------
// Command routing

std::array<ICommandTarget*, 4> CMainFrame::Targets() {
    return {m_activeView.data(), &m_docTarget, this, &m_app};
}

CommandState CMainFrame::QueryCommand(int id) {
    // A project held open by another program is only looked at.
    if (m_doc.IsReadOnly() && CQVNDoc::IsEditingCommand(id)) {
        return {};
    }
    // The start page hides the list: there is nothing to print.
    if (IsStartPageShown() &&
        (id == ID_FILE_PRINT || id == ID_FILE_PRINT_DIRECT || id == ID_FILE_PRINT_PREVIEW)) {
        return {};
    }
    for (ICommandTarget* target : Targets()) {
        CommandState state;
        if (target != nullptr && target->UpdateCommand(id, state)) {
            return state;
        }
    }
    // Nobody handles it: disabled.
    return {};
}

namespace {

// The name of a command as an undo step names it: its menu text without the
// access key, the key text and a trailing ellipsis.
std::string StepName(int id) {
    const CommandInfo* info = FindCommand(id);
    if (info == nullptr || info->menuText == nullptr) {
        return {};
    }
    std::string name;
    for (const char* c = info->menuText; *c != '\0' && *c != '\t'; ++c) {
        if (*c != '&') {
            name += *c;
        }
    }
    while (!name.empty() && name.back() == '.') {
        name.pop_back();
    }
    return name;
}

// A step's name as a menu shows it: an ampersand stays an ampersand.
QString MenuEscaped(const std::string& text) {
    return qvn::ToQString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

void CMainFrame::RunUndo(int id) {
    const UndoOutcome outcome = id == ID_EDIT_UNDO ? m_doc.Undo() : m_doc.Redo();
    if (!outcome.done) {
        return;
    }
    if (auto* tree = qobject_cast<CQVNTreeView*>(m_explorerDock->widget());
        tree != nullptr && outcome.files) {
        tree->DropNodesOfGoneFiles();
    }
    // The changed items that the shown list holds are selected there.
    if (auto* list = qobject_cast<CQVNBibTeXView*>(GetShownList())) {
        std::vector<int> rows;
        for (const std::string& key : outcome.itemKeys) {
            if (const int row = list->FindRow(key); row >= 0) {
                rows.push_back(row);
            }
        }
        if (!rows.empty()) {
            list->SelectRows(rows);
        }
    }
    statusBar()->showMessage(
        qvn::ToQString((id == ID_EDIT_UNDO ? "Undone: " : "Redone: ") + outcome.name), 5000);
}

bool CMainFrame::RouteCommand(int id) {
    if (!QueryCommand(id).enabled) {
        updateActions();
        return false;
    }
    if (id == ID_EDIT_UNDO || id == ID_EDIT_REDO) {
        RunUndo(id);
        updateActions();
        return true;
    }
    // Whatever the command changes, in one or many objects, is one step.
    std::optional<CUndoStep> step;
    if (CQVNDoc::IsEditingCommand(id) && id != ID_FILE_SAVE) {
        step.emplace(m_doc, StepName(id));
    }
    bool handled = false;
    for (ICommandTarget* target : Targets()) {
        if (target != nullptr && target->OnCommand(id)) {
            handled = true;
            break;
        }
    }
    updateActions();
    return handled;
}

QAction* CMainFrame::GetAction(int id) const {
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::updateActions() {
    if (m_updating) {
        return;
    }
    m_updating = true;
    for (const auto& [id, action] : m_actions) {
        const CommandState state = QueryCommand(id);
        action->setEnabled(state.enabled);
        if (id == ID_EDIT_UNDO || id == ID_EDIT_REDO) {
            // The menu names the action: "Undo Replace in 'title'".
            const bool undo = id == ID_EDIT_UNDO;
            const std::string text = undo ? m_doc.UndoText() : m_doc.RedoText();
            action->setText(QLatin1Char('&') + MenuEscaped(text) +
                            QLatin1String(undo ? "\tCtrl+Z" : "\tCtrl+Y"));
            action->setStatusTip(state.enabled ? qvn::ToQString(text)
                                               : StatusText(*FindCommand(id)));
        }
        if (action->isCheckable()) {
            action->setChecked(state.checked);
        }
    }
    UpdateStatusPanes();
    // Opening, saving or reloading may change the read-only state.
    UpdateCaption();
    m_updating = false;
}

void CMainFrame::UpdateStatusPanes() {
    // The active view answers first; the document fills in what it leaves.
    std::optional<std::string> location;
    std::optional<std::string> count;
    if (m_activeView) {
        location = m_activeView->GetLocationText();
        count = m_activeView->GetCountText();
    }
    m_locationPane->SetPaneText(qvn::ToQString(location ? *location : m_doc.GetLocationText()));
    m_countPane->SetPaneText(count ? qvn::ToQString(*count) : QString());
    m_fileCountPane->SetPaneText(qvn::ToQString(m_doc.GetFileCountText()));
}

QWidget* CMainFrame::BarOfToggle(int id) const {
    switch (id) {
    case ID_VIEW_TOOLBAR:
        return m_standardBar;
    case ID_VIEW_BIBTEXBAR:
        return m_bibtexBar;
    case ID_VIEW_SEARCHBAR:
        return m_searchBar;
    case ID_VIEW_PREVIEW:
        return m_previewDock;
    case ID_VIEW_PROPERTIES:
        return m_propertyDock;
    case ID_VIEW_EXPLORER:
        return m_explorerDock;
    case ID_VIEW_STATUS_BAR:
        return statusBar();
    default:
        return nullptr;
    }
}

bool CMainFrame::UpdateCommand(int id, CommandState& state) {
    if (QWidget* bar = BarOfToggle(id)) {
        state.enabled = true;
        state.checked = !bar->isHidden();
        return true;
    }
    switch (id) {
    case ID_VIEW_LARGEICON:
    case ID_VIEW_SMALLICON:
    case ID_VIEW_LIST:
    case ID_VIEW_DETAILS: {
        auto* list = qobject_cast<CQVNListView*>(m_mainView);
        state.enabled = list != nullptr;
        state.checked = list != nullptr && list->GetDisplayMode() == ModeOfCommand(id);
        return true;
    }
    case ID_VIEW_LINEUP: {
        auto* list = qobject_cast<CQVNListView*>(m_mainView);
        state.enabled = list != nullptr && (list->GetDisplayMode() == ListDisplayMode::LargeIcons ||
                                            list->GetDisplayMode() == ListDisplayMode::SmallIcons);
        return true;
    }
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW: {
        // Asked here when the active view prints nothing itself (the
        // explorer, the property window): the list shown prints its rows.
        const CQVNListView* list = GetShownList();
        state.enabled = list != nullptr && list->GetProxy()->rowCount() > 0;
        return true;
    }
    case ID_SEARCH:
    case ID_HELP_FINDER:
    case ID_HELP:
    case ID_DEFAULT_HELP:
    case ID_CONTEXT_HELP:
    case ID_HELP_HOMEPAGE:
    case ID_HELP_MANUAL:
        state.enabled = true;
        return true;
    default:
        return false;
    }
}

bool CMainFrame::OnCommand(int id) {
    if (QWidget* bar = BarOfToggle(id)) {
        bar->setVisible(bar->isHidden());
        return true;
    }
    switch (id) {
    case ID_VIEW_LARGEICON:
    case ID_VIEW_SMALLICON:
    case ID_VIEW_LIST:
    case ID_VIEW_DETAILS:
        if (auto* list = qobject_cast<CQVNListView*>(m_mainView)) {
            list->SetDisplayMode(ModeOfCommand(id));
        }
        return true;
    case ID_VIEW_LINEUP:
        if (auto* list = qobject_cast<CQVNListView*>(m_mainView)) {
            list->ArrangeIcons();
        }
        return true;
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW:
        if (CQVNListView* list = GetShownList()) {
            return list->OnCommand(id);
        }
        return false;
    case ID_SEARCH:
        ShowSearchBar();
        return true;
    case ID_HELP_FINDER:
    case ID_DEFAULT_HELP:
        ShowHelpTopic(Latin1(CHelpWindow::kContents));
        return true;
    case ID_HELP: {
        QWidget* focus = QApplication::focusWidget();
        if (focus != nullptr && m_searchBar->isAncestorOf(focus)) {
            ShowHelpTopic(Latin1(CHelpWindow::kSearchTopic));
        } else if (m_activeView) {
            ShowHelpTopic(m_activeView->HelpTopic());
        } else {
            ShowHelpTopic(Latin1(CHelpWindow::kContents));
        }
        return true;
    }
    case ID_CONTEXT_HELP:
        QWhatsThis::enterWhatsThisMode();
        return true;
    case ID_HELP_MANUAL:
        OpenWithDesktop(CQVNApp::kManual, "Could not open the Quorvane Manual.");
        return true;
    case ID_HELP_HOMEPAGE:
        OpenWithDesktop(CQVNApp::kHomepage, "Could not open the Quorvane Homepage.");
        return true;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
// Caption, recent files, help, closing and dropping

void CMainFrame::UpdateCaption() {
    QString title = qvn::ToQString(m_doc.GetTitle());
    if (m_doc.IsReadOnly()) {
        title += QStringLiteral(" (read-only)");
    }
    const QString caption = QStringLiteral("%1 - %2").arg(title, Latin1(CQVNDoc::kAppTitle));
    if (caption != windowTitle()) {
        setWindowTitle(caption);
    }
}

void CMainFrame::UpdateRecentFiles() {
    const CRecentFileList& recent = m_app.GetRecentFiles();
    m_startPage->SetRecentFiles(recent.Entries());
    const int count = static_cast<int>(recent.Entries().size());
    for (int i = 0; i < kRecentFileCount; ++i) {
        QAction* action = m_recentActions[static_cast<std::size_t>(i)];
        if (count == 0) {
            // An empty list shows its place holder, disabled.
            action->setText(Latin1(FindCommand(ID_FILE_MRU_FILE1)->menuText));
            action->setVisible(i == 0);
        } else {
            action->setText(recent.MenuText(i));
            action->setVisible(i < count);
        }
    }
    updateActions();
}

void CMainFrame::ShowHelpTopic(const QString& page) {
    if (!m_helpWindow) {
        m_helpWindow = new CHelpWindow(this);
    }
    m_helpWindow->ShowTopic(page);
    m_helpWindow->show();
    m_helpWindow->raise();
    m_helpWindow->activateWindow();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_doc.SaveModified()) {
        event->ignore();
        return;
    }
    if (m_helpWindow) {
        m_helpWindow->close();
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data->hasUrls()) {
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) {
                event->acceptProposedAction();
                return;
            }
        }
    }
    event->ignore();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    event->acceptProposedAction();
    // Opened once the drop has finished: opening may ask questions.
    QMetaObject::invokeMethod(
        this, [this, paths] { OpenFiles(paths); }, Qt::QueuedConnection);
}

void CMainFrame::OpenFiles(const QStringList& paths) {
    // BibTeX files go into the open project, or start one together; other
    // files open as projects.
    std::vector<std::string> bibFiles;
    std::vector<std::string> projects;
    for (const QString& path : paths) {
        std::string full =
            qvn::FromQString(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
        (CQVNDoc::IsBibTexPath(full) ? bibFiles : projects).push_back(std::move(full));
    }
    if (!bibFiles.empty()) {
        if (m_doc.IsProjectActive()) {
            m_doc.OnImportBibTex(bibFiles);
        } else {
            m_doc.OpenBibTexFiles(bibFiles);
        }
    }
    for (const std::string& path : projects) {
        m_doc.OnFileOpen(path);
    }
    updateActions();
}
