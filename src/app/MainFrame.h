// The main window: menus, the standard, BibTeX and search toolbars in one row,
// the preview, explorer and property panes, the status bar with its four
// panes, and the main view that fills the client area. It routes every
// command to the active view, the document, itself and the application, and
// computes the menu and button states from the same routing.
#pragma once

#include "app/DocCommandTarget.h"
#include "kit/CommandTarget.h"
#include "views/ViewFactory.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <map>

class CDocHintRelay;
class CHelpWindow;
class CQVNApp;
class CQVNDoc;
class CQVNListView;
class CQVNView;
class CSearchBar;
class CStartPage;
class CStatusPane;
class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QToolBar;

class CMainFrame : public QMainWindow, public ICommandTarget, public IViewHost {
    Q_OBJECT
public:
    static constexpr const char* kDefaultMessage = "For Help, press F1";
    static constexpr int kPaneSize = 300;

    explicit CMainFrame(CQVNApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CQVNApp& GetApp() const { return m_app; }
    CQVNDoc& GetDocument() const { return m_doc; }

    // --- Offered to the views.
    void SetPreviewText(const QString& text) override;
    QString GetPreviewText() const;
    // The view that fills the client area.
    CQVNView* GetMainView() const override { return m_mainView; }
    // Replaces the main view by a new one of `kind` (also when the kind is
    // the same) and returns it for the caller to configure; null, with the
    // old view kept, while that kind is not available.
    CQVNView* SwitchMainView(MainViewKind kind) override;
    void ShowSearchBar();
    CQVNView* GetActiveView() const;
    void SetActiveView(CQVNView* view) override;
    // A view's context menu shows the prompt of the command under the pointer
    // in the status bar, as the main menus do.
    void AttachPrompts(QMenu* menu) override;
    void UpdateCommandStates() override { updateActions(); }
    QPrinter& GetPrinter() override;
    CQVNSettings& GetAppearance() override;
    CProblemCheckRunner& GetProblemCheck() override;

    // --- Commands.
    // Carries a command out through the routing; false when it is disabled
    // or nobody handles it.
    bool RouteCommand(int id) override;
    CommandState QueryCommand(int id) override;
    // Recomputes the state of every command and the status bar panes.
    void updateActions();
    QAction* GetAction(int id) const;
    bool OnCommand(int id) override;
    bool UpdateCommand(int id, CommandState& state) override;

    // --- Parts, for the application and the tests.
    QToolBar* GetStandardBar() const { return m_standardBar; }
    QToolBar* GetBibTexBar() const { return m_bibtexBar; }
    CSearchBar* GetSearchBar() const { return m_searchBar; }
    QDockWidget* GetPreviewPane() const { return m_previewDock; }
    QDockWidget* GetExplorerPane() const { return m_explorerDock; }
    QDockWidget* GetPropertyPane() const { return m_propertyDock; }
    QPlainTextEdit* GetPreviewEdit() const { return m_preview; }
    CStartPage* GetStartPage() const { return m_startPage; }
    // Whether the start page fills the client area (no project is open).
    bool IsStartPageShown() const;
    QLabel* GetMessagePane() const { return m_messagePane; }
    CStatusPane* GetLocationPane() const { return m_locationPane; }
    CStatusPane* GetCountPane() const { return m_countPane; }
    CStatusPane* GetFileCountPane() const { return m_fileCountPane; }
    CHelpWindow* GetHelpWindow() const;
    // Replaces what a pane hosts (the explorer and property views).
    void SetExplorerWidget(QWidget* widget);
    void SetPropertyWidget(QWidget* widget);

    void ShowHelpTopic(const QString& page);
    // Opens project files one after the other, as dropped on the window.
    void OpenFiles(const QStringList& paths);
    // Enter in the search bar's query box.
    void OnSearchRequested();
    void UpdateCaption();
    void UpdateRecentFiles();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    QAction* CreateAction(const struct CommandInfo& info);
    void CreateMenus();
    void CreateToolBars();
    void CreatePanes();
    void CreateStatusBar();
    QMenu* AddMenu(QMenu* parent, const char* title, std::initializer_list<int> ids);
    void AddCommands(QWidget* target, std::initializer_list<int> ids);
    void UpdateStatusPanes();
    // The start page while no project is open, else the main view.
    void UpdateStartPage();
    // Widens the explorer so that the project's name shows whole, within
    // a third of the window.
    void FitExplorerToProjectName();
    // The list shown in the client area, null while the start page shows.
    CQVNListView* GetShownList() const;
    // Undo or redo, then the changed items selected in the shown list.
    void RunUndo(int id);
    void OnFocusChanged(QWidget* old, QWidget* now);
    std::array<ICommandTarget*, 4> Targets();
    QWidget* BarOfToggle(int id) const;
    // Opens a document or an address with the desktop; `failure` is shown
    // when that fails, at once or later.
    void OpenWithDesktop(const char* target, const char* failure);

    CQVNApp& m_app;
    CQVNDoc& m_doc;
    CDocCommandTarget m_docTarget;
    CDocHintRelay* m_relay;
    std::map<int, QAction*> m_actions;
    std::array<QAction*, 4> m_recentActions{};

    QToolBar* m_standardBar = nullptr;
    QToolBar* m_bibtexBar = nullptr;
    CSearchBar* m_searchBar = nullptr;
    QDockWidget* m_previewDock = nullptr;
    QDockWidget* m_explorerDock = nullptr;
    QDockWidget* m_propertyDock = nullptr;
    QPlainTextEdit* m_preview = nullptr;
    QLabel* m_messagePane = nullptr;
    CStatusPane* m_locationPane = nullptr;
    CStatusPane* m_countPane = nullptr;
    CStatusPane* m_fileCountPane = nullptr;
    CStartPage* m_startPage = nullptr;

    CQVNView* m_mainView = nullptr;
    QPointer<CQVNView> m_activeView;
    QPointer<CHelpWindow> m_helpWindow;
    bool m_updating = false;
};
