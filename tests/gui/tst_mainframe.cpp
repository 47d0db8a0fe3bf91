// The main window: its layout at start, its caption and status bar, and how
// commands are enabled, checked and carried out through the routing.
#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "app/RecentFileList.h"
#include "app/SearchBar.h"
#include "app/StartPage.h"
#include "app/StatusPane.h"
#include "model/BibTexEntry.h"
#include "model/BibTexString.h"
#include "model/Catalogue.h"
#include "project/CommandIds.h"
#include "project/QVNDoc.h"
#include "search/SearchManager.h"
#include "support/AppTestCase.h"
#include "support/GuiTestSupport.h"
#include "views/QVNBibTeXView.h"
#include "views/QVNListView.h"
#include "views/QVNProjectView.h"
#include "views/QVNPropertyView.h"
#include "views/QVNTreeView.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeView>
#include <QUrl>

#include <memory>

const char* const kRefsBib =
    "@string{jacm = \"Journal of the ACM\"}\n"
    "@article{smith2000, author = {Smith, J.}, journal = jacm, year = 2000}\n";
const char* const kMoreBib =
    "@book{knuth84, author = {Knuth, D. E.}, title = {The TeXbook}, year = 1984}\n";

class TestMainFrame : public QObject, public AppTestCase {
    Q_OBJECT

private:
    CMainFrame& Frame() { return *m_app->GetMainFrame(); }
    bool Enabled(int id) { return Frame().GetAction(id)->isEnabled(); }
    bool Checked(int id) { return Frame().GetAction(id)->isChecked(); }
    void StartWithProject() {
        const QString path = WriteProject(m_dir, QStringLiteral("thesis.qvp"), 2, 3, 4);
        QVERIFY(m_app->Start({QStringLiteral("quorvane"), path}));
    }

    static QString WriteBib(const QTemporaryDir& dir, const QString& name, const char* text) {
        const QString path = dir.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(text);
        }
        return path;
    }
    // Files dropped on the middle of the window, as a file manager drops
    // them.
    void Drop(const QStringList& paths) {
        Frame().show();
        QVERIFY(QTest::qWaitForWindowExposed(&Frame()));
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) {
            urls << QUrl::fromLocalFile(path);
        }
        data.setUrls(urls);
        // The widget under the pointer gets the events; what it does not
        // take goes to the window.
        const QPoint center = Frame().rect().center();
        QWidget* target = Frame().childAt(center);
        if (target == nullptr) {
            target = &Frame();
        }
        const QPoint at = target->mapFrom(&Frame(), center);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        QVERIFY(drop.isAccepted());
    }

private Q_SLOTS:
    void init() { StartSession(); }
    void cleanup() { EndSession(); }

    void startupLayout() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        CMainFrame& frame = Frame();
        // Three toolbars on top, in one row, in this order.
        const QList<QToolBar*> bars = {frame.GetStandardBar(), frame.GetBibTexBar(),
                                       frame.GetSearchBar()};
        const QStringList captions = {"Toolbar", "BibTeX", "Search"};
        for (int i = 0; i < bars.size(); ++i) {
            QCOMPARE(bars[i]->windowTitle(), captions[i]);
            QCOMPARE(frame.toolBarArea(bars[i]), Qt::TopToolBarArea);
            QVERIFY(!frame.toolBarBreak(bars[i]));
            QVERIFY(!bars[i]->isHidden());
            if (i > 0) {
                QCOMPARE(bars[i]->geometry().top(), bars[i - 1]->geometry().top());
                QVERIFY(bars[i]->geometry().left() >= bars[i - 1]->geometry().right());
            }
        }
        // The panes: explorer above the properties on the left, the preview
        // on the right and hidden.
        QCOMPARE(frame.GetExplorerPane()->windowTitle(), QStringLiteral("Project-Explorer"));
        QCOMPARE(frame.GetPropertyPane()->windowTitle(), QStringLiteral("Properties"));
        QCOMPARE(frame.GetPreviewPane()->windowTitle(), QStringLiteral("Preview"));
        QCOMPARE(frame.dockWidgetArea(frame.GetExplorerPane()), Qt::LeftDockWidgetArea);
        QCOMPARE(frame.dockWidgetArea(frame.GetPropertyPane()), Qt::LeftDockWidgetArea);
        QCOMPARE(frame.dockWidgetArea(frame.GetPreviewPane()), Qt::RightDockWidgetArea);
        QVERIFY(!frame.GetExplorerPane()->isHidden());
        QVERIFY(!frame.GetPropertyPane()->isHidden());
        QVERIFY(frame.GetPreviewPane()->isHidden());
        const QRect explorer = frame.GetExplorerPane()->geometry();
        const QRect properties = frame.GetPropertyPane()->geometry();
        QCOMPARE(properties.left(), explorer.left());
        QVERIFY(properties.top() > explorer.bottom());
        QCOMPARE(explorer.width(), CMainFrame::kPaneSize);
        // The preview is a read-only text box with both scroll bars.
        QPlainTextEdit* preview = frame.GetPreviewEdit();
        QVERIFY(preview->isReadOnly());
        QCOMPARE(preview->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(preview->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        // The files list is the first main view, shown maximised.
        QVERIFY(qobject_cast<CQVNProjectView*>(frame.GetMainView()) != nullptr);
        QVERIFY(frame.isMaximized());
        QVERIFY(m_dialogs->messages.empty());
    }

    void searchBarControls() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        CSearchBar* bar = Frame().GetSearchBar();
        QCOMPARE(bar->GetQueryBox()->width(), 200);
        QCOMPARE(bar->GetFieldBox()->width(), 100);
        QVERIFY(bar->GetQueryBox()->isEditable());
        QVERIFY(!bar->GetFieldBox()->isEditable());
        QCOMPARE(bar->GetQueryBox()->toolTip(), QStringLiteral("String to be searched for"));
        QCOMPARE(bar->GetFieldBox()->toolTip(), QStringLiteral("Field to be searched in"));
        QCOMPARE(bar->GetFieldBox()->count(), 38);
        // Catalogue order, not sorted.
        QCOMPARE(bar->GetFieldBox()->itemText(0), QStringLiteral("abstract"));
        QCOMPARE(bar->GetFieldBox()->itemText(4), QStringLiteral("author"));
        QCOMPARE(bar->GetFieldBox()->itemText(37), QStringLiteral("year"));
        QCOMPARE(bar->GetFieldBox()->currentText(), QStringLiteral("title"));
        QCOMPARE(bar->GetQueryBox()->font().pointSize(), 8);
        QCOMPARE(bar->GetFieldBox()->font().pointSize(), 8);
    }

    void captionFollowsTheDocument() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        QCOMPARE(Frame().windowTitle(), QStringLiteral("Untitled - Quorvane"));
        const QString path = WriteProject(m_dir, QStringLiteral("my thesis.qvp"), 1, 1, 0);
        Frame().OpenFiles({path});
        QCOMPARE(Frame().windowTitle(), QStringLiteral("my thesis - Quorvane"));
    }

    void statusBarPanes() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        CMainFrame& frame = Frame();
        QCOMPARE(frame.GetMessagePane()->text(), QStringLiteral("For Help, press F1"));
        QCOMPARE(frame.GetLocationPane()->GetSizingText(),
                 QStringLiteral("This is the location where the bibtex files are stored by "
                                "default."));
        QCOMPARE(frame.GetCountPane()->GetSizingText(), QStringLiteral("0000 BibTeX files"));
        QCOMPARE(frame.GetFileCountPane()->GetSizingText(), QStringLiteral("0000 BibTeX entries"));
        QCOMPARE(frame.GetFileCountPane()->GetPaneText(), QStringLiteral("\t0 files"));
        QCOMPARE(frame.GetLocationPane()->GetPaneText(), QString());
        // The files list gives no count: the pane stays empty.
        QCOMPARE(frame.GetCountPane()->GetPaneText(), QString());
        // The tab centres the text; the tab itself is not shown.
        QCOMPARE(frame.GetFileCountPane()->text(), QStringLiteral("0 files"));
        QVERIFY(frame.GetFileCountPane()->alignment() & Qt::AlignHCenter);

        const QString path = WriteProject(m_dir, QStringLiteral("panes.qvp"), 3, 1, 0, "/data/bib");
        frame.OpenFiles({path});
        QCOMPARE(frame.GetFileCountPane()->GetPaneText(), QStringLiteral("\t3 files"));
        QCOMPARE(frame.GetLocationPane()->GetPaneText(), QStringLiteral("/data/bib"));
        QVERIFY(frame.GetLocationPane()->alignment() & Qt::AlignLeft);
    }

    void hoveredCommandShowsItsPrompt() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        QAction* open = Frame().GetAction(ID_FILE_OPEN);
        open->showStatusText(&Frame());
        QCOMPARE(Frame().statusBar()->currentMessage(),
                 QStringLiteral("Open an existing document"));
        Frame().statusBar()->clearMessage();
        QVERIFY(Frame().GetMessagePane()->isVisible());
        QCOMPARE(Frame().GetMessagePane()->text(), QStringLiteral("For Help, press F1"));
    }

    void enablingWithoutProject_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("enabled");
        // The document's commands need an active project.
        QTest::newRow("import") << int(ID_BIBTEX_IMPORT) << false;
        QTest::newRow("save all BibTeX files") << int(ID_BIBTEX_SAVE_ALL) << false;
        QTest::newRow("BibTeX save as") << int(ID_BIBTEX_SAVE_AS) << false;
        QTest::newRow("update") << int(ID_VIEW_UPDATE) << false;
        QTest::newRow("project settings") << int(ID_PROJECT_SETTINGS) << false;
        QTest::newRow("appearance") << int(ID_APPEARANCE) << false;
        QTest::newRow("replace") << int(ID_EDIT_REPLACE) << false;
        QTest::newRow("new string") << int(ID_NEW_STRING) << false;
        QTest::newRow("new item") << int(ID_NEW_BIBTEX_ITEM) << false;
        QTest::newRow("search") << int(ID_SEARCH) << false;
        // Always there.
        QTest::newRow("new project") << int(ID_FILE_NEW) << true;
        QTest::newRow("open") << int(ID_FILE_OPEN) << true;
        QTest::newRow("save") << int(ID_FILE_SAVE) << true;
        QTest::newRow("save as") << int(ID_FILE_SAVE_AS) << true;
        QTest::newRow("exit") << int(ID_APP_EXIT) << true;
        QTest::newRow("about") << int(ID_APP_ABOUT) << true;
        QTest::newRow("help topics") << int(ID_HELP_FINDER) << true;
        QTest::newRow("toggle preview") << int(ID_VIEW_PREVIEW) << true;
        QTest::newRow("status bar") << int(ID_VIEW_STATUS_BAR) << true;
        QTest::newRow("select all") << int(ID_EDIT_SELECT_ALL) << true;
        QTest::newRow("details") << int(ID_VIEW_DETAILS) << true;
        // Nobody handles these.
        QTest::newRow("undo") << int(ID_EDIT_UNDO) << false;
        QTest::newRow("next pane") << int(ID_NEXT_PANE) << false;
        QTest::newRow("previous pane") << int(ID_PREV_PANE) << false;
        // The files list neither sorts on the toolbar's commands nor offers
        // clipboard data.
        QTest::newRow("sort ascending") << int(ID_SORT_ASCENDING) << false;
        QTest::newRow("copy") << int(ID_EDIT_COPY) << false;
        QTest::newRow("paste") << int(ID_EDIT_PASTE) << false;
        // Arrange icons only in the icon modes.
        QTest::newRow("arrange icons") << int(ID_VIEW_LINEUP) << false;
        // An empty recent-file list shows its place holder disabled.
        QTest::newRow("recent file") << int(ID_FILE_MRU_FILE1) << false;
    }
    void enablingWithoutProject() {
        QFETCH(int, id);
        QFETCH(bool, enabled);
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        QCOMPARE(Enabled(id), enabled);
    }

    void enablingWithProject_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("import") << int(ID_BIBTEX_IMPORT) << true;
        QTest::newRow("save all BibTeX files") << int(ID_BIBTEX_SAVE_ALL) << true;
        QTest::newRow("update") << int(ID_VIEW_UPDATE) << true;
        QTest::newRow("project settings") << int(ID_PROJECT_SETTINGS) << true;
        QTest::newRow("replace") << int(ID_EDIT_REPLACE) << true;
        QTest::newRow("new item") << int(ID_NEW_BIBTEX_ITEM) << true;
        QTest::newRow("search") << int(ID_SEARCH) << true;
        QTest::newRow("undo") << int(ID_EDIT_UNDO) << false;
        QTest::newRow("recent file") << int(ID_FILE_MRU_FILE1) << true;
    }
    void enablingWithProject() {
        QFETCH(int, id);
        QFETCH(bool, enabled);
        StartWithProject();
        QCOMPARE(Enabled(id), enabled);
    }

    void cancelledWizardLeavesCommandsDisabled() {
        StartWithProject();
        QVERIFY(Enabled(ID_BIBTEX_IMPORT));
        // The first new request of a run after a start with a file empties
        // the project without the wizard; the second one asks.
        QVERIFY(Frame().RouteCommand(ID_FILE_NEW));
        QCOMPARE(m_dialogs->wizardRuns, 0);
        QVERIFY(!Enabled(ID_BIBTEX_IMPORT));
        m_dialogs->wizardAnswers.push_back(NewProjectValues{"Fresh", "/tmp", "strings.bib"});
        QVERIFY(Frame().RouteCommand(ID_FILE_NEW));
        QCOMPARE(m_dialogs->wizardRuns, 1);
        QVERIFY(Enabled(ID_BIBTEX_IMPORT));
        QVERIFY(m_dialogs->messages.empty());
    }

    void toggleCommandsShowAndHide_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<bool>("startsVisible");
        QTest::newRow("preview") << int(ID_VIEW_PREVIEW) << "previewPane" << false;
        QTest::newRow("properties") << int(ID_VIEW_PROPERTIES) << "propertyPane" << true;
        QTest::newRow("explorer") << int(ID_VIEW_EXPLORER) << "explorerPane" << true;
        QTest::newRow("toolbar") << int(ID_VIEW_TOOLBAR) << "standardBar" << true;
        QTest::newRow("BibTeX bar") << int(ID_VIEW_BIBTEXBAR) << "bibtexBar" << true;
        QTest::newRow("search bar") << int(ID_VIEW_SEARCHBAR) << "searchBar" << true;
        QTest::newRow("status bar") << int(ID_VIEW_STATUS_BAR) << "statusBar" << true;
    }
    void toggleCommandsShowAndHide() {
        QFETCH(int, id);
        QFETCH(QString, widget);
        QFETCH(bool, startsVisible);
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        QWidget* target = Frame().findChild<QWidget*>(widget);
        QVERIFY(target != nullptr);
        QCOMPARE(!target->isHidden(), startsVisible);
        QCOMPARE(Checked(id), startsVisible);
        QVERIFY(Frame().RouteCommand(id));
        QCOMPARE(!target->isHidden(), !startsVisible);
        QCOMPARE(Checked(id), !startsVisible);
        // Triggering the menu item toggles back.
        Frame().GetAction(id)->trigger();
        QCOMPARE(!target->isHidden(), startsVisible);
        QCOMPARE(Checked(id), startsVisible);
    }

    void closedPaneUncheckesItsCommand() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        Frame().GetPropertyPane()->close();
        QVERIFY(!Checked(ID_VIEW_PROPERTIES));
    }

    void displayModesAreRadioChecked_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("arrange");
        QTest::newRow("large icons")
            << int(ID_VIEW_LARGEICON) << int(ListDisplayMode::LargeIcons) << true;
        QTest::newRow("small icons")
            << int(ID_VIEW_SMALLICON) << int(ListDisplayMode::SmallIcons) << true;
        QTest::newRow("list") << int(ID_VIEW_LIST) << int(ListDisplayMode::List) << false;
        QTest::newRow("details") << int(ID_VIEW_DETAILS) << int(ListDisplayMode::Details) << false;
    }
    void displayModesAreRadioChecked() {
        QFETCH(int, id);
        QFETCH(int, mode);
        QFETCH(bool, arrange);
        StartWithProject();
        auto* list = qobject_cast<CQVNListView*>(Frame().GetMainView());
        QVERIFY(list != nullptr);
        QVERIFY(Checked(ID_VIEW_DETAILS));
        QVERIFY(Frame().RouteCommand(id));
        QCOMPARE(int(list->GetDisplayMode()), mode);
        for (int other : {ID_VIEW_LARGEICON, ID_VIEW_SMALLICON, ID_VIEW_LIST, ID_VIEW_DETAILS}) {
            QCOMPARE(Checked(other), other == id);
        }
        QCOMPARE(Enabled(ID_VIEW_LINEUP), arrange);
    }

    void searchCommandShowsAndFocusesTheSearchBar() {
        StartWithProject();
        // The offscreen screen is too narrow for the three bars in one row.
        Frame().showNormal();
        Frame().resize(1600, 1000);
        Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Frame()));
        QVERIFY(Frame().RouteCommand(ID_VIEW_SEARCHBAR));
        QVERIFY(Frame().GetSearchBar()->isHidden());
        QTest::keyClick(&Frame(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(!Frame().GetSearchBar()->isHidden());
        QVERIFY(Checked(ID_VIEW_SEARCHBAR));
        QTRY_VERIFY(Frame().GetSearchBar()->GetQueryBox()->hasFocus());
    }

    // Undo and redo name the action in the menu and the status prompt, are
    // enabled only when there is a step, and select the changed item.
    void undoAndRedoNameTheActionAndSelectTheItem() {
        StartWithProject();
        CQVNDoc& doc = m_app->GetDocument();
        QVERIFY(!Enabled(ID_EDIT_UNDO));
        QVERIFY(!Enabled(ID_EDIT_REDO));
        const std::string key = doc.GetItems().Files().begin() == doc.GetItems().Files().end()
                                    ? std::string()
                                    : (*(*doc.GetItems().Files().begin()).second->begin()).first;
        QVERIFY(!key.empty());
        CBibTexEntry* item = doc.GetItems().FindKey(key);
        QVERIFY(doc.AddItemField(*item, "note", "first") == CQVNDoc::AddFieldResult::Added);
        Frame().updateActions();
        QVERIFY(Enabled(ID_EDIT_UNDO));
        QCOMPARE(Frame().GetAction(ID_EDIT_UNDO)->text(),
                 QStringLiteral("&Undo Add Field 'note'\tCtrl+Z"));
        QCOMPARE(Frame().GetAction(ID_EDIT_UNDO)->statusTip(),
                 QStringLiteral("Undo Add Field 'note'"));
        QVERIFY(Frame().RouteCommand(ID_EDIT_UNDO));
        QVERIFY(doc.GetItems().FindKey(key)->GetNamedValue("note").empty());
        QVERIFY(!doc.IsModified());
        QVERIFY(!Enabled(ID_EDIT_UNDO));
        QVERIFY(Enabled(ID_EDIT_REDO));
        Frame().GetAction(ID_EDIT_REDO)->trigger();
        QCOMPARE(doc.GetItems().FindKey(key)->GetNamedValue("note"), std::string_view("{first}"));
        QVERIFY(doc.IsModified());
        if (CQVNView* list = Frame().GetMainView()) {
            if (auto* items = qobject_cast<CQVNBibTeXView*>(list);
                items && items->FindRow(key) >= 0) {
                QCOMPARE(items->GetSelectedRows(), std::vector<int>{items->FindRow(key)});
            }
        }
    }

    // Undo and redo rename and remove files without the explorer's own
    // edit: its file nodes still name exactly the project's files.
    void undoAndRedoOfFileChangesKeepTheExplorerTrue() {
        StartWithProject();
        CQVNDoc& doc = m_app->GetDocument();
        auto* tree = qobject_cast<CQVNTreeView*>(Frame().GetExplorerPane()->widget());
        QVERIFY(tree != nullptr);
        auto nodes = [&] {
            QStringList labels;
            const QModelIndex files = tree->GetFilesNode();
            for (int row = 0; row < tree->GetModel()->rowCount(files); ++row) {
                labels << tree->GetModel()->index(row, 0, files).data().toString();
            }
            return labels;
        };
        QStringList before = nodes();
        QVERIFY(!before.isEmpty());
        const std::string name = before.front().toStdString();
        QCOMPARE(doc.RenameBibTexFile(name, "renamed"), RenameFileResult::Renamed);
        doc.UpdateAllViews(nullptr, UpdateHint::Change);
        QVERIFY(nodes().contains("renamed"));
        QVERIFY(Frame().RouteCommand(ID_EDIT_UNDO));
        QCOMPARE(nodes(), before);
        QVERIFY(Frame().RouteCommand(ID_EDIT_REDO));
        QVERIFY(nodes().contains("renamed"));
        QVERIFY(!nodes().contains(before.front()));
        QVERIFY(doc.RemoveFile("renamed"));
        QVERIFY(Frame().RouteCommand(ID_EDIT_UNDO));
        QVERIFY(nodes().contains("renamed"));
        QVERIFY(Frame().RouteCommand(ID_EDIT_REDO));
        QVERIFY(!nodes().contains("renamed"));
    }

    void enterInTheQueryBoxMakesASearch() {
        StartWithProject();
        CSearchBar* bar = Frame().GetSearchBar();
        CQVNDoc& doc = m_app->GetDocument();
        auto search = [&](const QString& text) {
            bar->GetQueryBox()->setEditText(text);
            QTest::keyClick(bar->GetQueryBox()->lineEdit(), Qt::Key_Return);
        };
        // Every item's title holds "title"; "Title" differs in case and makes
        // a second search with the same results.
        search(QStringLiteral("title"));
        QCOMPARE(doc.GetSearches().GetCount(), 1);
        QCOMPARE(doc.GetSearches().GetAt(0)->GetResultCount(), 6);
        search(QStringLiteral("title"));
        QCOMPARE(doc.GetSearches().GetCount(), 1);
        search(QStringLiteral("Title"));
        QCOMPARE(doc.GetSearches().GetCount(), 2);
        // The history keeps one entry per text ignoring case.
        QCOMPARE(bar->GetQueryBox()->count(), 1);
        QCOMPARE(bar->GetQueryBox()->itemText(0), QStringLiteral("title"));
        QVERIFY(m_dialogs->messages.empty());

        search(QStringLiteral("no such words"));
        QCOMPARE(doc.GetSearches().GetCount(), 2);
        QCOMPARE(bar->GetQueryBox()->count(), 2);
        QCOMPARE(m_dialogs->messages.size(), std::size_t(1));
        QCOMPARE(m_dialogs->messages[0].text,
                 std::string("There are no entries matching this query."));
        QCOMPARE(m_dialogs->messages[0].caption, std::string("Search..."));
        QCOMPARE(m_dialogs->messages[0].icon, MsgIcon::Information);
    }

    void fieldBoxListsOtherFieldsAndSearchesThem() {
        StartWithProject();
        CSearchBar* bar = Frame().GetSearchBar();
        CQVNDoc& doc = m_app->GetDocument();
        std::vector<CBibTexEntry*> items;
        doc.GetItems().ForEachItem(
            [&](const CBibTexEntry& item) { items.push_back(const_cast<CBibTexEntry*>(&item)); });
        items[0]->SetOtherField("urldate", "{2020}");
        items[1]->SetOtherField("DOI", "{10.1/abc}");
        items[2]->SetOtherField("doi", "{10.2/xyz}");
        // The names come when the box is clicked open, once each, sorted,
        // after the catalogue.
        Frame().showNormal();
        Frame().resize(1600, 1000);
        Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Frame()));
        QTest::mouseClick(bar->GetFieldBox(), Qt::LeftButton);
        QTRY_COMPARE(bar->GetFieldBox()->count(), 40);
        bar->GetFieldBox()->hidePopup();
        QCOMPARE(bar->GetFieldBox()->itemText(38), QStringLiteral("DOI"));
        QCOMPARE(bar->GetFieldBox()->itemText(39), QStringLiteral("urldate"));
        bar->GetFieldBox()->setCurrentIndex(38);
        bar->GetQueryBox()->setEditText(QStringLiteral("10.2"));
        QTest::keyClick(bar->GetQueryBox()->lineEdit(), Qt::Key_Return);
        QCOMPARE(doc.GetSearches().GetCount(), 1);
        QCOMPARE(doc.GetSearches().GetAt(0)->GetResults(), std::vector<CBibTexEntry*>{items[2]});
        QCOMPARE(doc.GetSearches().GetAt(0)->GetLabel(),
                 std::string("\"10.2\" (1 results) in \"DOI\""));
        // A field no item holds any more leaves the box; the title is chosen.
        items[1]->RemoveOtherField("doi");
        items[2]->RemoveOtherField("doi");
        bar->RefreshOtherFields();
        QCOMPARE(bar->GetFieldBox()->count(), 39);
        QCOMPARE(bar->GetFieldBox()->currentText(), QStringLiteral("title"));
    }

    void searchWithoutProjectFindsNothing() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        CSearchBar* bar = Frame().GetSearchBar();
        bar->GetQueryBox()->setEditText(QString());
        QTest::keyClick(bar->GetQueryBox()->lineEdit(), Qt::Key_Return);
        QCOMPARE(m_dialogs->Texts(),
                 std::vector<std::string>{"There are no entries matching this query."});
    }

    void updateCommandRefillsTheFilesList() {
        StartWithProject();
        auto* view = qobject_cast<CQVNProjectView*>(Frame().GetMainView());
        QVERIFY(view != nullptr);
        Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Frame()));
        m_app->GetDocument().AddString("late", "Added later", false);
        QCOMPARE(view->GetProxy()->index(0, 1).data().toString(), QStringLiteral("4"));
        QTest::keyClick(&Frame(), Qt::Key_F5);
        QCOMPARE(view->GetProxy()->index(0, 1).data().toString(), QStringLiteral("5"));
    }

    void switchingTheMainViewReplacesIt() {
        StartWithProject();
        CQVNView* first = Frame().GetMainView();
        CQVNView* second = Frame().SwitchMainView(MainViewKind::Files);
        QVERIFY(second != nullptr);
        QVERIFY(second != first);
        QCOMPARE(Frame().GetMainView(), second);
        QCOMPARE(Frame().centralWidget(), second);
        QCOMPARE(Frame().GetActiveView(), second);
        // The new view shows the project at once.
        QCOMPARE(qobject_cast<CQVNListView*>(second)->GetProxy()->rowCount(), 3);
        // Every kind of list is available.
        for (MainViewKind kind :
             {MainViewKind::Items, MainViewKind::Strings, MainViewKind::SearchResults}) {
            CQVNView* view = Frame().SwitchMainView(kind);
            QVERIFY(view != nullptr);
            QCOMPARE(Frame().GetMainView(), view);
        }
    }

    // The preview and the property window show what the list shows selected,
    // whatever click made the selection: a click on one of several selected
    // rows (which the list applies on release, as the press may start a
    // drag) and a click beside the rows.
    void previewAndPropertiesFollowEveryClick_data() {
        QTest::addColumn<bool>("strings");
        QTest::newRow("items list") << false;
        QTest::newRow("strings list") << true;
    }
    void previewAndPropertiesFollowEveryClick() {
        QFETCH(bool, strings);
        StartWithProject();
        auto* tree = qobject_cast<CQVNTreeView*>(Frame().GetExplorerPane()->widget());
        tree->SelectNode(strings ? tree->GetStringsNode() : tree->GetFileNode("file0"));
        auto* list = qobject_cast<CQVNListView*>(Frame().GetMainView());
        QVERIFY(list != nullptr);
        QWidget* rows = list->GetDetailsView()->viewport();
        const auto at = [list](int row) {
            return list->GetDetailsView()->visualRect(list->GetProxy()->index(row, 0)).center();
        };
        const auto name = [list](int row) {
            return list->GetProxy()->index(row, 0).data().toString().toStdString();
        };
        auto* properties = qobject_cast<CQVNPropertyView*>(Frame().GetPropertyPane()->widget());
        const auto shown = [properties, strings]() -> std::string {
            if (strings) {
                return properties->GetString() != nullptr
                           ? properties->GetString()->GetAbbreviation()
                           : std::string();
            }
            return properties->GetItem() != nullptr ? properties->GetItem()->GetKey()
                                                    : std::string();
        };

        QTest::mouseClick(rows, Qt::LeftButton, {}, at(0));
        QTest::mouseClick(rows, Qt::LeftButton, Qt::ShiftModifier, at(2));
        QCOMPARE(list->GetSelectedRows().size(), std::size_t(3));
        QCOMPARE(shown(), name(0));
        QVERIFY(Frame().GetPreviewText().contains(QString::fromStdString(name(2))));

        QTest::mouseClick(rows, Qt::LeftButton, {}, at(1));
        QCOMPARE(list->GetSelectedRows().size(), std::size_t(1));
        QCOMPARE(shown(), name(1));
        QVERIFY(Frame().GetPreviewText().contains(QString::fromStdString(name(1))));
        QVERIFY(!Frame().GetPreviewText().contains(QString::fromStdString(name(0))));

        const QPoint beside(5, rows->height() - 3);
        QVERIFY(!list->GetDetailsView()->indexAt(beside).isValid());
        QTest::mouseClick(rows, Qt::LeftButton, {}, beside);
        QVERIFY(!list->HasSelection());
        QCOMPARE(shown(), std::string());
        QCOMPARE(Frame().GetPreviewText(), QString());
    }

    // Ctrl+C, Ctrl+X and Ctrl+V do what the command does, and nothing while
    // it is disabled: the lists and the explorer never put the text of the
    // cell under the cursor on the clipboard by themselves.
    void clipboardKeysFollowTheirCommands_data() {
        QTest::addColumn<QString>("place");
        QTest::newRow("files list") << "files";
        QTest::newRow("items list, nothing selected") << "items";
        QTest::newRow("strings list, nothing selected") << "strings";
        QTest::newRow("search results, nothing selected") << "search";
        QTest::newRow("explorer, a file node") << "explorer";
    }
    void clipboardKeysFollowTheirCommands() {
        QFETCH(QString, place);
        StartWithProject();
        Frame().show();
        Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Frame()));
        auto* tree = qobject_cast<CQVNTreeView*>(Frame().GetExplorerPane()->widget());
        if (place == QLatin1String("items") || place == QLatin1String("explorer")) {
            tree->SelectNode(tree->GetFileNode("file0"));
        } else if (place == QLatin1String("strings")) {
            tree->SelectNode(tree->GetStringsNode());
        } else if (place == QLatin1String("search")) {
            QVERIFY(m_app->GetDocument().MakeSearch("Title", kFieldTitle) != nullptr);
        }
        QWidget* target = nullptr;
        if (place == QLatin1String("explorer")) {
            target = tree->GetTree();
        } else {
            auto* list = qobject_cast<CQVNListView*>(Frame().GetMainView());
            QVERIFY(list != nullptr);
            target = list->GetDetailsView();
            QWidget* rows = list->GetDetailsView()->viewport();
            // A click on the first row, then one beside the rows: the row
            // stays the current one, nothing is selected.
            QTest::mouseClick(
                rows, Qt::LeftButton, {},
                list->GetDetailsView()->visualRect(list->GetProxy()->index(0, 0)).center());
            if (place != QLatin1String("files")) {
                QTest::mouseClick(rows, Qt::LeftButton, {}, QPoint(5, rows->height() - 3));
                QVERIFY(!list->HasSelection());
            }
            QVERIFY(list->GetDetailsView()->currentIndex().isValid());
        }
        target->setFocus();
        Frame().updateActions();
        QVERIFY(!Enabled(ID_EDIT_COPY));
        QVERIFY(!Enabled(ID_EDIT_CUT));

        const QString before = QStringLiteral("text of another program");
        QApplication::clipboard()->setText(before);
        const int items = m_app->GetDocument().GetItems().GetTotalCount();
        const int strings = m_app->GetDocument().GetStrings().GetCount();
        for (const QKeySequence::StandardKey key :
             {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste}) {
            QTest::keySequence(target, QKeySequence(key));
        }
        QCOMPARE(QApplication::clipboard()->text(), before);
        QCOMPARE(m_app->GetDocument().GetItems().GetTotalCount(), items);
        QCOMPARE(m_app->GetDocument().GetStrings().GetCount(), strings);
    }

    void copyKeyCopiesTheSelectedItems() {
        StartWithProject();
        Frame().show();
        Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Frame()));
        auto* tree = qobject_cast<CQVNTreeView*>(Frame().GetExplorerPane()->widget());
        tree->SelectNode(tree->GetFileNode("file1"));
        auto* list = qobject_cast<CQVNListView*>(Frame().GetMainView());
        QTest::mouseClick(
            list->GetDetailsView()->viewport(), Qt::LeftButton, {},
            list->GetDetailsView()->visualRect(list->GetProxy()->index(0, 0)).center());
        list->GetDetailsView()->setFocus();
        QApplication::clipboard()->setText(QStringLiteral("old"));
        QTest::keySequence(list->GetDetailsView(), QKeySequence(QKeySequence::Copy));
        // The item's BibTeX text, not the key in the cell.
        const QString copied = QApplication::clipboard()->text();
        QVERIFY2(copied.startsWith(QStringLiteral("@")) && copied.contains(QStringLiteral("key1_")),
                 qPrintable(copied));
    }

    // Started without a file, the window says what to do: a new project,
    // opening one, the recent projects, one after the other with Tab and
    // pressed with the keyboard. Once a project is open the list is back.
    void startPageLeadsToAProject() {
        const QString older = WriteProject(m_dir, QStringLiteral("older.qvp"), 1, 1, 0);
        const QString recent = WriteProject(m_dir, QStringLiteral("recent.qvp"), 2, 3, 0);
        m_app->GetRecentFiles().Add(older);
        m_app->GetRecentFiles().Add(recent);
        m_app->GetRecentFiles().Save();
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        Frame().show();
        Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Frame()));
        CStartPage* page = Frame().GetStartPage();
        QVERIFY(Frame().IsStartPageShown());
        QVERIFY(page->isVisible());
        QVERIFY(!Frame().GetMainView()->isVisible());
        const std::vector<QAbstractButton*> buttons = page->GetButtons();
        QStringList texts;
        for (const QAbstractButton* button : buttons) {
            texts << button->text();
        }
        QCOMPARE(texts, QStringList({"New project", "Open project", "recent.qvp", "older.qvp"}));
        QTRY_COMPARE(QApplication::focusWidget(), buttons[0]);
        // Nothing to print while no list is shown.
        Frame().updateActions();
        QVERIFY(!Enabled(ID_FILE_PRINT));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), buttons[1]);
        QTest::keyClick(buttons[1], Qt::Key_Return);
        // The open dialog was asked and cancelled: the page stays.
        QTRY_COMPARE(m_dialogs->fileRequests.size(), std::size_t(1));
        QVERIFY(Frame().IsStartPageShown());

        buttons[1]->setFocus();
        QTest::keyClick(buttons[1], Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), buttons[2]);
        QTest::keyClick(buttons[2], Qt::Key_Space);
        QTRY_VERIFY(!Frame().IsStartPageShown());
        QCOMPARE(QString::fromStdString(m_app->GetDocument().GetPathName()), recent);
        QVERIFY(!page->isVisible());
        QCOMPARE(Frame().centralWidget(), static_cast<QWidget*>(Frame().GetMainView()));
        QVERIFY(Frame().GetMainView()->isVisible());
        Frame().updateActions();
        QVERIFY(Enabled(ID_FILE_PRINT));
        QVERIFY(m_dialogs->messages.empty());
    }

    // Print is for the list shown, whichever pane was clicked last: enabled
    // while the list has rows.
    void printFollowsTheListShown() {
        StartWithProject();
        Frame().show();
        Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Frame()));
        auto* tree = qobject_cast<CQVNTreeView*>(Frame().GetExplorerPane()->widget());
        QTreeView* nodes = tree->GetTree();
        const auto clickNode = [&](const QModelIndex& node) {
            QTest::mouseClick(nodes->viewport(), Qt::LeftButton, {},
                              nodes->visualRect(node).center());
            QTRY_COMPARE(Frame().GetActiveView(), static_cast<CQVNView*>(tree));
            Frame().updateActions();
        };
        for (const QModelIndex& node :
             {tree->GetFileNode("file0"), tree->GetStringsNode(), tree->GetRootNode()}) {
            clickNode(node);
            QVERIFY2(Enabled(ID_FILE_PRINT), qPrintable(node.data().toString()));
            QVERIFY(Enabled(ID_FILE_PRINT_PREVIEW));
        }
        // An empty list has nothing to print.
        m_dialogs->answers.push_back(MsgResult::Yes);
        QVERIFY(m_app->GetDocument().OnDeleteAllStrings());
        clickNode(tree->GetStringsNode());
        auto* list = qobject_cast<CQVNListView*>(Frame().GetMainView());
        QVERIFY(list != nullptr);
        QCOMPARE(list->GetProxy()->rowCount(), 0);
        QVERIFY(!Enabled(ID_FILE_PRINT));
        QVERIFY(!Enabled(ID_FILE_PRINT_PREVIEW));
    }

    // A long project name shows whole in the explorer at its first width.
    void explorerShowsTheProjectName() {
        const QString name = QStringLiteral("Dissertation on distributed consensus protocols");
        const QString path = m_dir.filePath(QStringLiteral("long.qvp"));
        {
            CQVNDoc doc;
            doc.NewProject();
            doc.StartProject({name.toStdString(), {}, "strings.bib"});
            QVERIFY(doc.SaveProject(path.toStdString()));
        }
        QVERIFY(m_app->Start({QStringLiteral("quorvane"), path}));
        Frame().resize(1400, 900);
        Frame().show();
        QVERIFY(QTest::qWaitForWindowExposed(&Frame()));
        auto* tree = qobject_cast<CQVNTreeView*>(Frame().GetExplorerPane()->widget());
        QTreeView* nodes = tree->GetTree();
        const QModelIndex root = tree->GetRootNode();
        const QString label = root.data().toString();
        QCOMPARE(label, name);
        QCOMPARE(root.data(Qt::ToolTipRole).toString(), label);
        QFont font = nodes->font();
        font.setBold(true);
        const int needed = nodes->visualRect(root).left() + nodes->iconSize().width() +
                           QFontMetrics(font).horizontalAdvance(label);
        QVERIFY2(needed <= nodes->viewport()->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(needed).arg(nodes->viewport()->width())));
    }

    // The last column takes the room the others leave; a width the user
    // drags stays the column's own, for every items list.
    void listColumnsUseTheWindowWidth() {
        StartWithProject();
        Frame().resize(1400, 900);
        Frame().show();
        Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Frame()));
        auto* tree = qobject_cast<CQVNTreeView*>(Frame().GetExplorerPane()->widget());
        tree->SelectNode(tree->GetFileNode("file0"));
        const auto list = [&] { return qobject_cast<CQVNListView*>(Frame().GetMainView()); };
        const auto fills = [&](QHeaderView* header) {
            return header->length() >= list()->GetDetailsView()->viewport()->width();
        };
        QHeaderView* header = list()->GetDetailsView()->header();
        QVERIFY(header->count() > 2);
        QVERIFY(fills(header));

        // A drag on the border of the first field column widens it.
        const int before = header->sectionSize(1);
        const int edge = header->sectionViewportPosition(1) + before - 1;
        const int y = header->height() / 2;
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
        QTest::mouseMove(header->viewport(), QPoint(edge + 40, y));
        QTest::mouseMove(header->viewport(), QPoint(edge + 80, y));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(edge + 80, y));
        QCOMPARE(header->sectionSize(1), before + 80);
        QVERIFY(fills(header));
        QCOMPARE(m_app->GetAppearance().GetColumnWidth(0), before + 80);

        // Another file's list shows the field at the user's width.
        tree->SelectNode(tree->GetFileNode("file1"));
        QCOMPARE(list()->GetDetailsView()->header()->sectionSize(1), before + 80);
        QVERIFY(fills(list()->GetDetailsView()->header()));
        // A narrower window leaves the columns their own widths.
        Frame().resize(700, 900);
        QTRY_VERIFY(fills(list()->GetDetailsView()->header()));
        QCOMPARE(list()->GetDetailsView()->header()->sectionSize(1), before + 80);
    }

    // A .bib file starts a project on every road a user takes: the command
    // line, File > Open, a drop on the window; a drop on an open project
    // adds the files to it.
    void bibFilesStartAProject_data() {
        QTest::addColumn<QString>("road");
        QTest::newRow("command line") << "command line";
        QTest::newRow("File > Open") << "menu";
        QTest::newRow("drop") << "drop";
    }
    void bibFilesStartAProject() {
        QFETCH(QString, road);
        const QTemporaryDir folder;
        const QString refs = WriteBib(folder, QStringLiteral("refs.bib"), kRefsBib);
        const QString more = WriteBib(folder, QStringLiteral("more.bib"), kMoreBib);
        if (road == QLatin1String("command line")) {
            QVERIFY(m_app->Start({QStringLiteral("quorvane"), refs, more}));
        } else {
            QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
            QVERIFY(Frame().IsStartPageShown());
            if (road == QLatin1String("menu")) {
                m_dialogs->openFileAnswers.push_back({refs.toStdString(), more.toStdString()});
                Frame().GetAction(ID_FILE_OPEN)->trigger();
            } else {
                Drop({refs, more});
            }
        }
        CQVNDoc& doc = m_app->GetDocument();
        QTRY_VERIFY(doc.IsProjectActive());
        QVERIFY(!Frame().IsStartPageShown());
        QCOMPARE(doc.GetTitle(), std::string("refs"));
        QVERIFY(Frame().windowTitle().startsWith(QStringLiteral("refs")));
        QCOMPARE(doc.GetItems().GetFileCount(), 2);
        QVERIFY(doc.GetItems().Lookup("more", "knuth84") != nullptr);
        QCOMPARE(m_dialogs->Texts(), std::vector<std::string>{"Import with 0 errors finished."});
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"more.bib", "refs.bib"}));

        // The first save proposes refs.qvp beside refs.bib.
        const QString project = folder.filePath(QStringLiteral("refs.qvp"));
        m_dialogs->saveFileAnswers.push_back(project.toStdString());
        Frame().GetAction(ID_FILE_SAVE)->trigger();
        QVERIFY(!m_dialogs->fileRequests.empty());
        QCOMPARE(QString::fromStdString(m_dialogs->fileRequests.back().initialName), project);
        QCOMPARE(QString::fromStdString(doc.GetPathName()), project);
        QVERIFY(QFileInfo::exists(project));
    }

    void droppedBibFilesGoIntoTheOpenProject() {
        StartWithProject();
        const QTemporaryDir folder;
        const QString refs = WriteBib(folder, QStringLiteral("refs.bib"), kRefsBib);
        CQVNDoc& doc = m_app->GetDocument();
        const std::string path = doc.GetPathName();
        const int files = doc.GetItems().GetFileCount();
        Drop({refs});
        QTRY_COMPARE(doc.GetItems().GetFileCount(), files + 1);
        QCOMPARE(doc.GetPathName(), path);
        QVERIFY(doc.GetItems().Lookup("refs", "smith2000") != nullptr);
        QVERIFY(doc.IsModified());
        QCOMPARE(m_dialogs->Texts(), std::vector<std::string>{"Import with 0 errors finished."});
    }

    void selectingInTheFilesListShowsNoPreview() {
        StartWithProject();
        auto* view = qobject_cast<CQVNListView*>(Frame().GetMainView());
        Frame().SetPreviewText(QStringLiteral("something"));
        view->SelectRow(1);
        view->OnUserSelection();
        QCOMPARE(Frame().GetPreviewText(), QStringLiteral("No preview available."));
    }
};

QTEST_MAIN(TestMainFrame)
#include "tst_mainframe.moc"
