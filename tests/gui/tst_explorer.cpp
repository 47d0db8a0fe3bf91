// The project explorer: its nodes after a project is opened and as the
// document changes, renaming, creating and removing BibTeX files, searches,
// dropped items, the context menus, command states, status texts and the
// main view it asks for.
#include "HintRecorder.h"
#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "app/StatusPane.h"
#include "model/BibTexEntry.h"
#include "model/Catalogue.h"
#include "project/CommandIds.h"
#include "project/QVNDoc.h"
#include "search/SearchManager.h"
#include "support/AppTestCase.h"
#include "support/GuiTestSupport.h"
#include "views/ExplorerModel.h"
#include "views/QVNBibTeXView.h"
#include "views/QVNProjectView.h"
#include "views/QVNTreeView.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QWindow>

#include <memory>
#include <utility>
#include <vector>

Q_DECLARE_METATYPE(ExplorerNodeKind)

namespace {

using Items = std::vector<std::pair<std::string, std::string>>; // file, key

using testsupport::HintRecorder;

QStringList Labels(const QAbstractItemModel& model, const QModelIndex& parent) {
    QStringList labels;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        labels << model.index(row, 0, parent).data().toString();
    }
    return labels;
}

} // namespace

class TestExplorer : public QObject, public AppTestCase {
    Q_OBJECT

private:
    CMainFrame& Frame() { return *m_app->GetMainFrame(); }
    CQVNDoc& Doc() { return m_app->GetDocument(); }
    CQVNTreeView* Tree() {
        return qobject_cast<CQVNTreeView*>(Frame().GetExplorerPane()->widget());
    }
    QTreeView* Control() { return Tree()->GetTree(); }
    QModelIndex File(const std::string& name) { return Tree()->GetFileNode(name); }

    // A running program with an active project of these items (and
    // `stringCount` strings), saved nowhere.
    void StartProject(const Items& items, const std::string& location = "/home/ana/thesis",
                      const std::string& stringsFile = "strings.bib", int stringCount = 0) {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        CQVNDoc& doc = Doc();
        doc.StartProject({"Thesis", location, stringsFile});
        for (const auto& [file, key] : items) {
            auto item = std::make_unique<CBibTexEntry>(file, key, 0);
            item->SetField(kFieldTitle, "Title of " + key, false);
            QVERIFY(doc.AddItem(std::move(item)));
        }
        for (int s = 0; s < stringCount; ++s) {
            doc.AddString("abbr" + std::to_string(s), "Value", false);
        }
        doc.UpdateAllViews(nullptr, UpdateHint::Bulk);
        doc.SetModifiedFlag(false);
    }
    void StartDefault() {
        StartProject({{"thesis", "t1"}, {"thesis", "t2"}, {"other", "o1"}, {"Alpha", "a1"}}, "/x",
                     "strings.bib", 2);
    }

    // The line edit of the label being edited, or null.
    QLineEdit* Editor() {
        for (QLineEdit* edit : Control()->viewport()->findChildren<QLineEdit*>()) {
            if (edit->objectName() == QLatin1String("labelEdit") && edit->isVisible()) {
                return edit;
            }
        }
        return nullptr;
    }
    // Types `text` into the open edit box and ends the edit with `key`.
    void FinishEdit(const QString& text, Qt::Key key = Qt::Key_Return) {
        QLineEdit* edit = Editor();
        QVERIFY(edit != nullptr);
        edit->setText(text);
        QTest::keyClick(edit, key);
        Settle();
    }
    // The edit box ends its edit, then the explorer handles the text, each
    // once the events before it are done.
    static void Settle() {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
        }
    }
    void Key(Qt::Key key) {
        QTest::keyClick(Control(), key);
        QCoreApplication::processEvents();
    }
    void Select(const QModelIndex& node) {
        QVERIFY(node.isValid());
        Tree()->SelectNode(node);
        QCOMPARE(Tree()->GetSelectedNode(), node);
    }
    // The search "Title" over the titles: every item.
    CSearch* SearchTitles(const char* query = "Title") {
        return Doc().MakeSearch(query, kFieldTitle);
    }
    QPoint OnImage(const QModelIndex& node) {
        const QRect rect = Control()->visualRect(node);
        return QPoint(rect.left() + 8, rect.center().y());
    }

    // One event of a drag as the window system delivers it: to the main
    // window, which hands it to the widget under the pointer (`pos` is in
    // the tree's viewport). Qt sends the moves and the drop of a drag only
    // to a widget that took its enter. True when it was accepted.
    bool DragEvent(QEvent::Type type, const QPoint& pos, const QMimeData* data) {
        QWidget* viewport = Control()->viewport();
        const QPoint at = viewport->mapTo(viewport->window(), pos);
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        std::unique_ptr<QDropEvent> event;
        if (type == QEvent::Drop) {
            event = std::make_unique<QDropEvent>(at, actions, data, Qt::LeftButton, Qt::NoModifier);
        } else if (type == QEvent::DragEnter) {
            event = std::make_unique<QDragEnterEvent>(at, actions, data, Qt::LeftButton,
                                                      Qt::NoModifier);
        } else {
            event =
                std::make_unique<QDragMoveEvent>(at, actions, data, Qt::LeftButton, Qt::NoModifier);
        }
        QCoreApplication::sendEvent(viewport->window()->windowHandle(), event.get());
        return event->isAccepted();
    }

private Q_SLOTS:
    void init() { StartSession(); }
    void cleanup() { EndSession(); }

    void emptyWithoutProject() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        QVERIFY(Tree() != nullptr);
        QCOMPARE(Tree()->GetModel()->rowCount(), 0);
        QVERIFY(!Tree()->GetRootNode().isValid());
        // Every command of the tree is disabled while no project is active.
        Frame().SetActiveView(Tree());
        for (int id : {ID_NEW_BIBTEX_ITEM, ID_SAVE_FILE_AS, ID_SAVE_SELECTION, ID_REMOVE_FILE,
                       ID_NEW_BIBTEX_FILE, ID_RENAME_FILE, ID_SORT_ASCENDING, ID_SORT_DESCENDING}) {
            QVERIFY2(!Frame().QueryCommand(id).enabled, qPrintable(QString::number(id)));
        }
    }

    void nodesAfterOpen() {
        const QString path = WriteProject(m_dir, QStringLiteral("thesis.qvp"), 2, 3, 4);
        QVERIFY(m_app->Start({QStringLiteral("quorvane"), path}));
        CQVNTreeView* tree = Tree();
        const CExplorerModel& model = *tree->GetModel();
        // The root, then nothing else at the top: no searches yet.
        QCOMPARE(Labels(model, {}), QStringList{"Test project"});
        const QModelIndex root = tree->GetRootNode();
        QVERIFY(root.data(Qt::FontRole).value<QFont>().bold());
        QVERIFY(!tree->GetStringsNode().data(Qt::FontRole).value<QFont>().bold());
        QCOMPARE(Labels(model, root), (QStringList{"@strings", "BibTeX files"}));
        QCOMPARE(Labels(model, tree->GetFilesNode()), (QStringList{"file0", "file1"}));
        QVERIFY(!tree->GetSearchGroupNode().isValid());
        // Kinds and images.
        const QList<std::pair<QModelIndex, ExplorerNodeKind>> kinds = {
            {root, ExplorerNodeKind::Root},
            {tree->GetStringsNode(), ExplorerNodeKind::Strings},
            {tree->GetFilesNode(), ExplorerNodeKind::FilesGroup},
            {tree->GetFileNode("file0"), ExplorerNodeKind::File}};
        for (const auto& [node, kind] : kinds) {
            QCOMPARE(node.data(CExplorerModel::KindRole).toInt(), int(kind));
            QVERIFY(!node.data(Qt::DecorationRole).value<QIcon>().isNull());
        }
        // Expanded, the root selected, the files list in the main window.
        QVERIFY(Control()->isExpanded(root));
        QVERIFY(Control()->isExpanded(tree->GetFilesNode()));
        QCOMPARE(tree->GetSelectedNode(), root);
        QVERIFY(qobject_cast<CQVNProjectView*>(Frame().GetMainView()) != nullptr);
        QCOMPARE(Control()->indentation(), CQVNTreeView::kIndent);
        QCOMPARE(Control()->sizeHintForRow(0) >= CQVNTreeView::kItemHeight, true);
        // Another project replaces every node.
        const QString second = WriteProject(m_dir, QStringLiteral("second.qvp"), 1, 1, 0);
        Frame().OpenFiles({second});
        QCOMPARE(Labels(model, tree->GetFilesNode()), QStringList{"file0"});
        QCOMPARE(tree->GetSelectedNode(), tree->GetRootNode());
    }

    void modelPassesTheTester() {
        StartDefault();
        QAbstractItemModelTester tester(Tree()->GetModel(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        SearchTitles();
        Doc().AddItem(std::make_unique<CBibTexEntry>("beta", "b1", 0));
        Doc().UpdateAllViews(nullptr, UpdateHint::Bulk);
        Select(File("beta"));
        Key(Qt::Key_F2);
        FinishEdit(QStringLiteral("zeta"));
        Key(Qt::Key_Insert);
        FinishEdit(QStringLiteral("New File"));
        Tree()->SetCommandNode(Tree()->GetModel()->index(0, 0, Tree()->GetSearchGroupNode()));
        QVERIFY(Frame().RouteCommand(ID_DELETE_SEARCH));
        Select(File("other"));
        Key(Qt::Key_Delete);
        Doc().ClearContents();
        QCOMPARE(Tree()->GetModel()->rowCount(), 0);
    }

    void filesKeptInAlphabeticalOrder_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("ignoring case")
            << QStringList{"beta", "Gamma", "alpha"} << QStringList{"alpha", "beta", "Gamma"};
        // Names equal but for case: capitals (lower bytes) first.
        QTest::newRow("case only")
            << QStringList{"refs", "Refs", "REFS"} << QStringList{"REFS", "Refs", "refs"};
        // Characters, not numbers.
        QTest::newRow("numbers") << QStringList{"New File (2)", "New File", "New File (10)"}
                                 << QStringList{"New File", "New File (10)", "New File (2)"};
    }
    void filesKeptInAlphabeticalOrder() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, expected);
        StartProject({});
        for (const QString& file : files) {
            // One by one, as hints come.
            Doc().AddFile(file.toStdString());
            Doc().UpdateAllViews(nullptr, UpdateHint::Change);
        }
        QCOMPARE(Labels(*Tree()->GetModel(), Tree()->GetFilesNode()), expected);
    }

    void renameSortsAgainAndRelabels() {
        StartDefault();
        Select(File("Alpha"));
        Key(Qt::Key_F2);
        FinishEdit(QStringLiteral("zeta"));
        QCOMPARE(Labels(*Tree()->GetModel(), Tree()->GetFilesNode()),
                 (QStringList{"other", "thesis", "zeta"}));
        QVERIFY(Doc().HasFile("zeta"));
        QVERIFY(!Doc().HasFile("Alpha"));
        QVERIFY(Doc().LookupItem("zeta", "a1") != nullptr);
        QVERIFY(Doc().IsModified());
        QCOMPARE(Tree()->GetSelectedNode(), File("zeta"));
        QVERIFY(m_dialogs->messages.empty());
    }

    void refusedRenames_data() {
        QTest::addColumn<QString>("newName");
        QTest::addColumn<QString>("stringsFile");
        QTest::addColumn<QString>("message");
        const QString illegal = "File 'thesis' cannot be renamed to '%1'.\nIllegal file name.";
        const QString inUse = "File 'thesis' cannot be renamed to '%1'.\nThere is already a "
                              "file with this name\nin your project.";
        QTest::newRow("comma") << "a,b"
                               << "strings.bib" << illegal.arg("a,b");
        QTest::newRow("colon") << "a:b"
                               << "strings.bib" << illegal.arg("a:b");
        QTest::newRow("slash") << "a/b"
                               << "strings.bib" << illegal.arg("a/b");
        QTest::newRow("acute accent") << "caf\u00b4"
                                      << "strings.bib" << illegal.arg("caf\u00b4");
        QTest::newRow("another file") << "other"
                                      << "strings.bib" << inUse.arg("other");
        QTest::newRow("strings file") << "strings"
                                      << "strings.bib" << inUse.arg("strings");
        // The export dialog writes a strings file stored without ".bib" as
        // refs.bib.
        QTest::newRow("strings file without extension") << "refs"
                                                        << "refs" << inUse.arg("refs");
        QTest::newRow("empty") << ""
                               << "strings.bib"
                               << QStringLiteral("File 'thesis' cannot be renamed to ''.");
    }
    void refusedRenames() {
        QFETCH(QString, newName);
        QFETCH(QString, stringsFile);
        QFETCH(QString, message);
        StartProject({{"thesis", "t1"}, {"other", "o1"}}, "/x", stringsFile.toStdString());
        Select(File("thesis"));
        m_dialogs->answers.push_back(MsgResult::Cancel);
        Key(Qt::Key_F2);
        FinishEdit(newName);
        QCOMPARE(m_dialogs->messages.size(), std::size_t(1));
        const RecordedMessage& shown = m_dialogs->messages.front();
        QCOMPARE(QString::fromStdString(shown.text), message);
        QCOMPARE(shown.caption, std::string("Rename BibTeX file"));
        QCOMPARE(shown.icon, MsgIcon::Warning);
        QCOMPARE(shown.buttons, MsgButtons::OkCancel);
        // Cancel: the old name stays, in the tree and the project.
        QVERIFY(Editor() == nullptr);
        QVERIFY(File("thesis").isValid());
        QVERIFY(Doc().LookupItem("thesis", "t1") != nullptr);
        QCOMPARE(Doc().GetItems().GetFileCount(), 2);
        QVERIFY(!Doc().IsModified());
    }

    void okReopensTheEditOnTheSameNode() {
        StartDefault();
        Select(File("thesis"));
        m_dialogs->answers.push_back(MsgResult::Ok);
        Key(Qt::Key_F2);
        FinishEdit(QStringLiteral("a:b"));
        QCOMPARE(m_dialogs->messages.size(), std::size_t(1));
        // The rejected name is there to be corrected.
        QLineEdit* edit = Editor();
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->text(), QStringLiteral("a:b"));
        QCOMPARE(edit->maxLength(), CQVNTreeView::kMaxLabelLength);
        FinishEdit(QStringLiteral("a-b"));
        QCOMPARE(m_dialogs->messages.size(), std::size_t(1));
        QVERIFY(Doc().HasFile("a-b"));
        QCOMPARE(Tree()->GetSelectedNode(), File("a-b"));
    }

    void unchangedOrEscapedEditRenamesNothing_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("key");
        QTest::newRow("same name") << "thesis" << int(Qt::Key_Return);
        // Escape gives up the edit, whatever the box holds.
        QTest::newRow("escape") << "renamed" << int(Qt::Key_Escape);
        QTest::newRow("escape illegal") << "a,b" << int(Qt::Key_Escape);
    }
    void unchangedOrEscapedEditRenamesNothing() {
        QFETCH(QString, text);
        QFETCH(int, key);
        StartDefault();
        Select(File("thesis"));
        Key(Qt::Key_F2);
        FinishEdit(text, Qt::Key(key));
        QVERIFY(m_dialogs->messages.empty());
        QVERIFY(File("thesis").isValid());
        QVERIFY(Doc().HasFile("thesis"));
        QVERIFY(!Doc().IsModified());
    }

    void renameChangingOnlyTheCase() {
        StartDefault();
        QAbstractItemModelTester tester(Tree()->GetModel(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        SearchTitles();
        Select(File("thesis"));
        Key(Qt::Key_F2);
        FinishEdit(QStringLiteral("Thesis"));
        QVERIFY(m_dialogs->messages.empty());
        // Node and file carry the new name; the items went along and the
        // search still holds them.
        QVERIFY(File("Thesis").isValid());
        QVERIFY(!File("thesis").isValid());
        QVERIFY(Doc().HasFile("Thesis"));
        QVERIFY(!Doc().HasFile("thesis"));
        QCOMPARE(Doc().GetItemCount("Thesis"), 2);
        QVERIFY(Doc().GetItems().IsConsistent());
        QVERIFY(Doc().GetSearches().IsConsistent());
        QCOMPARE(Doc().GetSearches().GetAt(0)->GetResultCount(), 4);
        QCOMPARE(Labels(*Tree()->GetModel(), Tree()->GetFilesNode()),
                 (QStringList{"Alpha", "other", "Thesis"}));
    }

    // A rename ended by a click beside the nodes, after a rename cancelled
    // with Escape, as it happened: the node stays selected and its list
    // shows the file under its new name (it once showed an empty list when
    // the click's release came before the end of the edit was handled).
    void renameEndedByAClickBesideTheNodes() {
        StartDefault();
        Select(File("thesis"));
        Key(Qt::Key_F2);
        QVERIFY(Editor() != nullptr);
        QTest::keyClick(Editor(), Qt::Key_Escape);
        Settle();
        Key(Qt::Key_F2);
        QLineEdit* edit = Editor();
        QVERIFY(edit != nullptr);
        edit->setText(QStringLiteral("chapter"));
        QWidget* viewport = Control()->viewport();
        const QPoint beside(5, viewport->height() - 3);
        QVERIFY(!Control()->indexAt(beside).isValid());
        QTest::mouseClick(viewport, Qt::LeftButton, {}, beside);
        Settle();
        QVERIFY(Doc().HasFile("chapter"));
        QCOMPARE(Tree()->GetSelectedNode(), File("chapter"));
        auto* list = qobject_cast<CQVNBibTeXView*>(Frame().GetMainView());
        QVERIFY(list != nullptr);
        QCOMPARE(list->GetFileName(), std::string("chapter"));
        QCOMPARE(list->GetProxy()->rowCount(), 2);
        Frame().updateActions();
        QCOMPARE(Frame().GetCountPane()->GetPaneText(), QStringLiteral("\t2 entries"));
        // Another click beside the nodes leaves the node selected.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, beside);
        QCOMPARE(Tree()->GetSelectedNode(), File("chapter"));
    }

    void editBoxTakesFifteenCharacters() {
        StartProject({{"thesis", "t1"}, {"a-very-long-file-name", "l1"}});
        Select(File("thesis"));
        Key(Qt::Key_F2);
        QLineEdit* edit = Editor();
        QVERIFY(edit != nullptr);
        QCOMPARE(edit->maxLength(), 15);
        // The box leaves the image free and reaches the pane's edge.
        const QRect node = Control()->visualRect(File("thesis"));
        QVERIFY(edit->geometry().left() > node.left() + 16);
        QCOMPARE(edit->geometry().right(), node.right());
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("abcdefghijklmnopqrst"));
        QCOMPARE(edit->text(), QStringLiteral("abcdefghijklmno"));
        QTest::keyClick(edit, Qt::Key_Return);
        Settle();
        QVERIFY(Doc().HasFile("abcdefghijklmno"));
        // A longer name that exists is not cut short by merely editing it.
        Select(File("a-very-long-file-name"));
        Key(Qt::Key_F2);
        QCOMPARE(Editor()->text(), QStringLiteral("a-very-long-file-name"));
        QTest::keyClick(Editor(), Qt::Key_Return);
        Settle();
        QVERIFY(Doc().HasFile("a-very-long-file-name"));
        QVERIFY(m_dialogs->messages.empty());
    }

    void f2StartsNoEditOnOtherNodes() {
        StartDefault();
        SearchTitles();
        const QModelIndex search = Tree()->GetModel()->index(0, 0, Tree()->GetSearchGroupNode());
        for (const QModelIndex& node :
             {Tree()->GetStringsNode(), Tree()->GetRootNode(), Tree()->GetFilesNode(),
              Tree()->GetSearchGroupNode(), search}) {
            Select(node);
            Key(Qt::Key_F2);
            QVERIFY2(Editor() == nullptr, qPrintable(node.data().toString()));
            QVERIFY(!Tree()->EditLabel(node));
        }
        QVERIFY(m_dialogs->messages.empty());
    }

    void insertTwiceMakesNewFileAndNewFileOne() {
        StartDefault();
        Select(File("other"));
        Key(Qt::Key_Insert);
        // The new node is at the end of the group, selected and being edited.
        const QModelIndex files = Tree()->GetFilesNode();
        const QModelIndex last = Tree()->GetModel()->index(3, 0, files);
        QCOMPARE(last.data().toString(), QStringLiteral("New File"));
        QCOMPARE(Tree()->GetSelectedNode(), last);
        QVERIFY(Editor() != nullptr);
        QCOMPARE(Editor()->text(), QStringLiteral("New File"));
        QTest::keyClick(Editor(), Qt::Key_Return);
        Settle();
        Key(Qt::Key_Insert);
        QCOMPARE(Editor()->text(), QStringLiteral("New File (1)"));
        QTest::keyClick(Editor(), Qt::Key_Return);
        Settle();
        QVERIFY(Doc().HasFile("New File"));
        QVERIFY(Doc().HasFile("New File (1)"));
        QCOMPARE(Doc().GetItemCount("New File"), 0);
        QVERIFY(Doc().IsModified());
        QCOMPARE(Labels(*Tree()->GetModel(), files),
                 (QStringList{"Alpha", "New File", "New File (1)", "other", "thesis"}));
        QCOMPARE(Tree()->GetSelectedNode(), File("New File (1)"));
    }

    void newFileEndsUnderTheNameItWasGiven_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("file");
        QTest::newRow("renamed") << "chapter" << int(Qt::Key_Return) << int(MsgResult::Ok)
                                 << "chapter";
        QTest::newRow("escape") << "chapter" << int(Qt::Key_Escape) << int(MsgResult::Ok)
                                << "New File";
        // A refused name and Cancel: the node keeps the proposed name, and
        // has its file.
        QTest::newRow("refused, cancel")
            << "thesis" << int(Qt::Key_Return) << int(MsgResult::Cancel) << "New File";
    }
    void newFileEndsUnderTheNameItWasGiven() {
        QFETCH(QString, text);
        QFETCH(int, key);
        QFETCH(int, answer);
        QFETCH(QString, file);
        StartDefault();
        m_dialogs->answers.push_back(MsgResult(answer));
        Frame().SetActiveView(Tree());
        QVERIFY(Frame().RouteCommand(ID_NEW_BIBTEX_FILE));
        FinishEdit(text, Qt::Key(key));
        QVERIFY(Editor() == nullptr);
        QVERIFY(Doc().HasFile(file.toStdString()));
        QVERIFY(File(file.toStdString()).isValid());
        // Every node has its file.
        QCOMPARE(Tree()->GetModel()->rowCount(Tree()->GetFilesNode()),
                 Doc().GetItems().GetFileCount());
    }

    void removeFile_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("removed");
        QTest::newRow("yes") << int(MsgResult::Yes) << true;
        QTest::newRow("no") << int(MsgResult::No) << false;
    }
    void removeFile() {
        QFETCH(int, answer);
        QFETCH(bool, removed);
        StartDefault();
        Select(File("thesis"));
        m_dialogs->answers.push_back(MsgResult(answer));
        Key(Qt::Key_Delete);
        QCOMPARE(m_dialogs->messages.size(), std::size_t(1));
        const RecordedMessage& shown = m_dialogs->messages.front();
        QCOMPARE(shown.text,
                 std::string("Do you really want to delete file 'thesis' and \nall it's BibTeX "
                             "items?"));
        QCOMPARE(shown.caption, std::string("Delete BibTeX items?"));
        QCOMPARE(shown.icon, MsgIcon::Warning);
        QCOMPARE(shown.buttons, MsgButtons::YesNo);
        QCOMPARE(File("thesis").isValid(), !removed);
        QCOMPARE(Doc().HasFile("thesis"), !removed);
        QCOMPARE(Doc().GetItems().GetTotalCount(), removed ? 2 : 4);
        QCOMPARE(Doc().IsModified(), removed);
        // The node above the removed last one takes the selection.
        QCOMPARE(Tree()->GetSelectedNode(), removed ? File("other") : File("thesis"));
    }

    void removeAppliesToFileNodesOnly() {
        // A file may carry the name of the group or of the project.
        StartProject({{"BibTeX files", "b1"}, {"Thesis", "t1"}});
        for (const QModelIndex& node : {Tree()->GetFilesNode(), Tree()->GetRootNode()}) {
            Select(node);
            Key(Qt::Key_Delete);
        }
        QVERIFY(m_dialogs->messages.empty());
        QVERIFY(Doc().HasFile("BibTeX files"));
        QVERIFY(Doc().HasFile("Thesis"));
        QVERIFY(Tree()->GetRootNode().isValid());
    }

    void searchGroupComesAndGoes() {
        StartDefault();
        QAbstractItemModelTester tester(Tree()->GetModel(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        CSearch* first = SearchTitles("Title");
        QVERIFY(first != nullptr);
        const QModelIndex group = Tree()->GetSearchGroupNode();
        QVERIFY(group.isValid());
        // Top level, after the root, expanded; its first search is selected.
        QCOMPARE(group.row(), 1);
        QCOMPARE(group.data().toString(), QStringLiteral("Search results"));
        QCOMPARE(Labels(*Tree()->GetModel(), group),
                 QStringList{"\"Title\" (4 results) in \"title\""});
        QCOMPARE(Tree()->GetSelectedNode(), Tree()->GetModel()->index(0, 0, group));
        SearchTitles("of t");
        QCOMPARE(Labels(*Tree()->GetModel(), group),
                 (QStringList{"\"Title\" (4 results) in \"title\"",
                              "\"of t\" (2 results) in \"title\""}));
        QCOMPARE(Tree()->GetSelectedNode(), Tree()->GetModel()->index(1, 0, group));
        // Choosing a search again selects its node.
        SearchTitles("Title");
        QCOMPARE(Tree()->GetSelectedNode(), Tree()->GetModel()->index(0, 0, group));

        // Delete the selected search, then the other through its menu.
        Frame().SetActiveView(Tree());
        QVERIFY(Frame().RouteCommand(ID_DELETE_SEARCH));
        QCOMPARE(Doc().GetSearches().GetCount(), 1);
        QCOMPARE(Labels(*Tree()->GetModel(), group),
                 QStringList{"\"of t\" (2 results) in \"title\""});
        Tree()->SetCommandNode(Tree()->GetModel()->index(0, 0, group));
        std::unique_ptr<QMenu> menu(
            Tree()->CreateContextMenu(Tree()->GetModel()->index(0, 0, group)));
        QVERIFY(menu != nullptr);
        menu->actions().at(0)->trigger();
        QCOMPARE(Doc().GetSearches().GetCount(), 0);
        QVERIFY(!Tree()->GetSearchGroupNode().isValid());
        QCOMPARE(Tree()->GetModel()->rowCount(), 1);
        QCOMPARE(Tree()->GetSelectedNode(), Tree()->GetRootNode());
    }

    void selectionSwitchesTheMainView() {
        StartDefault();
        SearchTitles();
        HintRecorder recorder(Doc());
        CQVNTreeView* tree = Tree();
        // The lists of items, strings and searches may be missing: the main
        // view then stays, and nothing breaks.
        const QModelIndex search = tree->GetModel()->index(0, 0, tree->GetSearchGroupNode());
        for (const QModelIndex& node : {tree->GetStringsNode(), tree->GetFilesNode(),
                                        File("thesis"), search, tree->GetSearchGroupNode()}) {
            recorder.hints.clear();
            Select(node);
            QCOMPARE(recorder.hints.size(), std::size_t(1));
            QCOMPARE(recorder.hints[0].sender, static_cast<IDocObserver*>(tree));
            QCOMPARE(recorder.hints[0].hint, UpdateHint::Change);
            QCOMPARE(Frame().GetActiveView(), static_cast<CQVNView*>(tree));
        }
        // The project brings a new files list.
        CQVNView* before = Frame().GetMainView();
        Select(tree->GetRootNode());
        QVERIFY(Frame().GetMainView() != before);
        QVERIFY(qobject_cast<CQVNProjectView*>(Frame().GetMainView()) != nullptr);
        QCOMPARE(Frame().GetActiveView(), static_cast<CQVNView*>(tree));
    }

    void dropMovesOrCopies_data() {
        QTest::addColumn<bool>("fromSearch");
        QTest::addColumn<bool>("fromOwnList");
        QTest::addColumn<bool>("moved");
        QTest::newRow("items list") << false << true << true;
        QTest::newRow("search results") << true << true << false;
        QTest::newRow("another program") << false << false << false;
    }
    void dropMovesOrCopies() {
        QFETCH(bool, fromSearch);
        QFETCH(bool, fromOwnList);
        QFETCH(bool, moved);
        StartDefault();
        SearchTitles();
        if (fromSearch) {
            Select(Tree()->GetModel()->index(0, 0, Tree()->GetSearchGroupNode()));
        } else {
            Select(File("thesis"));
        }
        Doc().SetModifiedFlag(false);
        HintRecorder recorder(Doc());
        const std::string text = Doc().LookupItem("thesis", "t1")->FormatText() + "\n" +
                                 Doc().LookupItem("thesis", "t2")->FormatText();
        QVERIFY(Tree()->DropItems(File("other"), text, fromOwnList));
        QVERIFY(Doc().IsModified());
        if (moved) {
            QVERIFY(Doc().LookupItem("other", "t1") != nullptr);
            QVERIFY(Doc().LookupItem("other", "t2") != nullptr);
            QCOMPARE(Doc().GetItemCount("thesis"), 0);
            QCOMPARE(Doc().GetItems().GetTotalCount(), 4);
        } else {
            // Copies under keys of their own; the originals stay.
            QVERIFY(Doc().LookupItem("thesis", "t1") != nullptr);
            QVERIFY(Doc().LookupItem("other", "t1a") != nullptr);
            QVERIFY(Doc().LookupItem("other", "t2a") != nullptr);
            QCOMPARE(Doc().LookupItem("other", "t1a")->GetField(kFieldTitle),
                     std::string("Title of t1"));
            QCOMPARE(Doc().GetItems().GetTotalCount(), 6);
        }
        QVERIFY(Doc().GetItems().IsConsistent());
        QVERIFY(Doc().GetSearches().IsConsistent());
        // Every view is told, the tree included; the selection stays.
        QCOMPARE(recorder.hints.size(), std::size_t(1));
        QCOMPARE(recorder.hints[0].sender, nullptr);
        QCOMPARE(recorder.hints[0].hint, UpdateHint::Change);
        QCOMPARE(Tree()->GetDropHighlight(), Tree()->GetSelectedNode());
    }

    void dropsThatDoNothing() {
        StartDefault();
        Select(File("thesis"));
        const std::string item = Doc().LookupItem("thesis", "t1")->FormatText();
        // On its own list, on a node that is no file, nothing, or no BibTeX.
        QVERIFY(!Tree()->DropItems(File("thesis"), item, true));
        QVERIFY(!Tree()->DropItems(Tree()->GetFilesNode(), item, true));
        QVERIFY(!Tree()->DropItems(File("other"), "   ", false));
        QVERIFY(!Tree()->DropItems(File("other"), "@string{x = {y}}", true));
        QVERIFY(!Tree()->CanDrop(File("other"), "plain words"));
        QVERIFY(!Tree()->CanDrop(Tree()->GetStringsNode(), item));
        QVERIFY(Tree()->CanDrop(File("other"), item));
        QCOMPARE(Doc().GetItems().GetTotalCount(), 4);
        QVERIFY(Doc().LookupItem("thesis", "t1") != nullptr);
    }

    void draggingOverTheTree() {
        StartDefault();
        Select(File("thesis"));
        QWidget* viewport = Control()->viewport();
        auto mime = std::make_unique<QMimeData>();
        mime->setText(QString::fromStdString(Doc().LookupItem("thesis", "t1")->FormatText()));
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;

        QDragEnterEvent enter(OnImage(File("other")), actions, mime.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
        QCOMPARE(Tree()->GetDropHighlight(), File("other"));

        // Over the strings node: refused, though the node is highlighted.
        QDragMoveEvent overStrings(OnImage(Tree()->GetStringsNode()), actions, mime.get(),
                                   Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &overStrings);
        QVERIFY(!overStrings.isAccepted());
        QCOMPARE(Tree()->GetDropHighlight(), Tree()->GetStringsNode());
        // Beside every node: the highlight goes back to the selection.
        QDragMoveEvent nowhere(QPoint(5, viewport->height() - 3), actions, mime.get(),
                               Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &nowhere);
        QVERIFY(!nowhere.isAccepted());
        QCOMPARE(Tree()->GetDropHighlight(), File("thesis"));

        QDragMoveEvent overFile(OnImage(File("Alpha")), actions, mime.get(), Qt::LeftButton,
                                Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &overFile);
        QVERIFY(overFile.isAccepted());
        QDropEvent drop(OnImage(File("Alpha")), actions, mime.get(), Qt::LeftButton,
                        Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &drop);
        QVERIFY(drop.isAccepted());
        // Text from outside the program is copied.
        QVERIFY(Doc().LookupItem("Alpha", "t1a") != nullptr);
        QVERIFY(Doc().LookupItem("thesis", "t1") != nullptr);
        QCOMPARE(Tree()->GetDropHighlight(), File("thesis"));

        // Text that is not a BibTeX item is refused over a file.
        mime->setText(QStringLiteral("just words"));
        QDragEnterEvent words(OnImage(File("other")), actions, mime.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &words);
        QDragMoveEvent wordsOver(OnImage(File("other")), actions, mime.get(), Qt::LeftButton,
                                 Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &wordsOver);
        QVERIFY(!wordsOver.isAccepted());
    }

    // The pointer enters the tree beside the file nodes (a list lies right
    // of the explorer), then moves onto a file node.
    void dragEnteringBesideTheFileNodes_data() {
        QTest::addColumn<bool>("fromList");
        QTest::addColumn<bool>("enterOnRoot");
        QTest::newRow("a list's rows, entering on empty space") << true << false;
        QTest::newRow("a list's rows, entering on the root") << true << true;
        QTest::newRow("another program's text, entering on empty space") << false << false;
    }
    void dragEnteringBesideTheFileNodes() {
        QFETCH(bool, fromList);
        QFETCH(bool, enterOnRoot);
        StartDefault();
        Select(File("thesis"));
        std::unique_ptr<QMimeData> data;
        if (fromList) {
            auto* list = qobject_cast<CQVNBibTeXView*>(Frame().GetMainView());
            QVERIFY(list != nullptr);
            list->SelectRow(list->FindRow("t1"));
            data.reset(list->CreateDragData());
            QVERIFY(data != nullptr);
        } else {
            data = std::make_unique<QMimeData>();
            data->setText(QString::fromStdString(Doc().LookupItem("thesis", "t1")->FormatText()));
        }
        const QPoint entry = enterOnRoot ? OnImage(Tree()->GetRootNode())
                                         : QPoint(5, Control()->viewport()->height() - 3);
        QVERIFY(!Control()->indexAt(entry).isValid() || enterOnRoot);

        DragEvent(QEvent::DragEnter, entry, data.get());
        QVERIFY(!DragEvent(QEvent::DragMove, entry, data.get()));
        QVERIFY(DragEvent(QEvent::DragMove, OnImage(File("other")), data.get()));
        QCOMPARE(Tree()->GetDropHighlight(), File("other"));
        QVERIFY(DragEvent(QEvent::Drop, OnImage(File("other")), data.get()));

        if (fromList) {
            QVERIFY(Doc().LookupItem("other", "t1") != nullptr);
            QVERIFY(Doc().LookupItem("thesis", "t1") == nullptr);
            QCOMPARE(Doc().GetItems().GetTotalCount(), 4);
        } else {
            QVERIFY(Doc().LookupItem("other", "t1a") != nullptr);
            QVERIFY(Doc().LookupItem("thesis", "t1") != nullptr);
            QCOMPARE(Doc().GetItems().GetTotalCount(), 5);
        }
        QCOMPARE(Tree()->GetSelectedNode(), File("thesis"));
        QCOMPARE(Tree()->GetDropHighlight(), File("thesis"));
    }

    void contextMenus_data() {
        QTest::addColumn<int>("node");
        QTest::addColumn<QString>("menuName");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("ids");
        QTest::newRow("root") << 0 << "IDR_CONTEXT_ROOT"
                              << QStringList{"Save &as... (BibTeX)",
                                             "-",
                                             "New &string...",
                                             "New &BibTeX item...\tCtrl+N",
                                             "Add &existing BibTeX-files...\tCtrl+Shft+O",
                                             "-",
                                             "&Project settings..."}
                              << QList<int>{32787, 0, 32791, 32779, 32786, 0, 32798};
        QTest::newRow("strings") << 1 << "IDR_CONTEXT_LSTRINGS"
                                 << QStringList{"Add new string...", "Delete all strings...", "-",
                                                "&Save (BibTeX)"}
                                 << QList<int>{32791, 32803, 0, 32809};
        QTest::newRow("files") << 2 << "IDR_CONTEXT_BIBTEXROOT"
                               << QStringList{"New BibTeX-&file...",
                                              "Add &existing BibTeX-files...\tCtrl+Shft+O", "-",
                                              "&Save (BibTeX)\tCtrl+Shft+S", "Save &as... (BibTeX)"}
                               << QList<int>{32873, 32786, 0, 32809, 32787};
        QTest::newRow("file") << 3 << "IDR_CONTEXT_LBIBTEXENTRIES"
                              << QStringList{"New &BibTeX item...\tCtrl+N",
                                             "-",
                                             "&Save (BibTeX) \tCtrl+Shft+S",
                                             "Save &As... (BibTeX)",
                                             "-",
                                             "New file...",
                                             "Re&name...\tF2",
                                             "-",
                                             "&Remove from project..."}
                              << QList<int>{32779, 0, 32809, 32807, 0, 32873, 32876, 0, 32826};
        QTest::newRow("search") << 4 << "IDR_CONTEXT_SEARCH" << QStringList{"Delete"}
                                << QList<int>{32845};
        QTest::newRow("search group") << 5 << "" << QStringList{} << QList<int>{};
    }
    void contextMenus() {
        QFETCH(int, node);
        QFETCH(QString, menuName);
        QFETCH(QStringList, texts);
        QFETCH(QList<int>, ids);
        StartDefault();
        SearchTitles();
        CQVNTreeView* tree = Tree();
        const QModelIndex nodes[] = {tree->GetRootNode(),
                                     tree->GetStringsNode(),
                                     tree->GetFilesNode(),
                                     File("thesis"),
                                     tree->GetModel()->index(0, 0, tree->GetSearchGroupNode()),
                                     tree->GetSearchGroupNode()};
        tree->SetCommandNode(nodes[node]);
        std::unique_ptr<QMenu> menu(tree->CreateContextMenu(nodes[node]));
        if (menuName.isEmpty()) {
            QVERIFY(menu == nullptr);
            return;
        }
        QVERIFY(menu != nullptr);
        QCOMPARE(menu->objectName(), menuName);
        QStringList shownTexts;
        QList<int> shownIds;
        for (QAction* action : menu->actions()) {
            shownTexts << (action->isSeparator() ? QStringLiteral("-") : action->text());
            shownIds << (action->isSeparator() ? 0 : action->data().toInt());
            // The project is active and not empty: everything is enabled.
            QVERIFY(action->isSeparator() || action->isEnabled());
        }
        QCOMPARE(shownTexts, texts);
        QCOMPARE(shownIds, ids);
    }

    void menuPromptsReachTheStatusBar() {
        StartDefault();
        Tree()->SetCommandNode(File("thesis"));
        std::unique_ptr<QMenu> menu(Tree()->CreateContextMenu(File("thesis")));
        QVERIFY(menu != nullptr);
        QStatusBar* bar = Frame().statusBar();
        menu->actions().at(0)->hover();
        QCOMPARE(bar->currentMessage(), QStringLiteral("Create a new BibTeX entry"));
        Q_EMIT menu->aboutToHide();
        QCOMPARE(bar->currentMessage(), QString());
        QCOMPARE(Frame().GetMessagePane()->text(), QStringLiteral("For Help, press F1"));
    }

    void menuCommandsReachTheDocument() {
        StartDefault();
        Tree()->SetCommandNode(Tree()->GetStringsNode());
        std::unique_ptr<QMenu> menu(Tree()->CreateContextMenu(Tree()->GetStringsNode()));
        m_dialogs->answers.push_back(MsgResult::Yes);
        // "Delete all strings..." asks and deletes.
        menu->actions().at(1)->trigger();
        QCOMPARE(m_dialogs->messages.size(), std::size_t(1));
        QCOMPARE(Doc().GetStrings().GetCount(), 0);
    }

    void rightClickOnALabelOnly() {
        StartDefault();
        Select(File("thesis"));
        QString shown;
        QModelIndex commandNode;
        auto closeMenu = [&] {
            QTimer::singleShot(0, this, [&] {
                if (QWidget* popup = QApplication::activePopupWidget()) {
                    shown = popup->objectName();
                    commandNode = Tree()->GetCommandNode();
                    popup->close();
                }
            });
        };
        closeMenu();
        const QRect other = Control()->visualRect(File("other"));
        Tree()->ShowContextMenuAt(QPoint(other.left() + 30, other.center().y()), QPoint(0, 0));
        QCOMPARE(shown, QStringLiteral("IDR_CONTEXT_LBIBTEXENTRIES"));
        QCOMPARE(commandNode, File("other"));
        // The selection stays where it was, and once the menu is gone the
        // keys act on it again.
        QCOMPARE(Tree()->GetSelectedNode(), File("thesis"));
        QCOMPARE(Tree()->GetCommandNode(), File("thesis"));
        // Beside the label: no menu.
        shown.clear();
        closeMenu();
        Tree()->ShowContextMenuAt(QPoint(other.right() - 2, other.center().y()), QPoint(0, 0));
        QVERIFY(shown.isEmpty());
        QCoreApplication::processEvents();
        // A new selection forgets the command node.
        Tree()->SetCommandNode(File("other"));
        Select(File("Alpha"));
        QCOMPARE(Tree()->GetCommandNode(), File("Alpha"));
    }

    void hintsAddNodes_data() {
        QTest::addColumn<int>("hint");
        QTest::addColumn<bool>("added");
        QTest::newRow("change") << int(UpdateHint::Change) << true;
        QTest::newRow("bulk") << int(UpdateHint::Bulk) << true;
        QTest::newRow("contents") << int(UpdateHint::Contents) << true;
        QTest::newRow("columns") << int(UpdateHint::Columns) << true;
        QTest::newRow("ignored fields") << int(UpdateHint::IgnoredFields) << false;
    }
    void hintsAddNodes() {
        QFETCH(int, hint);
        QFETCH(bool, added);
        StartDefault();
        Select(File("other"));
        Doc().AddFile("late");
        Doc().GetSettings().SetName("Renamed project");
        Doc().UpdateAllViews(nullptr, UpdateHint(hint));
        QCOMPARE(File("late").isValid(), added);
        QCOMPARE(Tree()->GetRootNode().data().toString(),
                 added ? QStringLiteral("Renamed project") : QStringLiteral("Thesis"));
        // A file that is gone keeps its node until the tree removes it; the
        // selection stays, so the main window keeps its list.
        QVERIFY(Doc().GetItems().RemoveFile("other"));
        Doc().UpdateAllViews(nullptr, UpdateHint(hint));
        QVERIFY(File("other").isValid());
        QCOMPARE(Tree()->GetSelectedNode(), File("other"));
    }

    void saveSelectionEnabling_data() {
        QTest::addColumn<int>("node");
        QTest::addColumn<bool>("emptyProject");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("root") << 0 << false << false;
        QTest::newRow("strings") << 1 << false << true;
        QTest::newRow("files") << 2 << false << true;
        QTest::newRow("file") << 3 << false << true;
        QTest::newRow("search") << 4 << false << false;
        QTest::newRow("strings, empty project") << 1 << true << false;
        QTest::newRow("files, empty project") << 2 << true << false;
    }
    void saveSelectionEnabling() {
        QFETCH(int, node);
        QFETCH(bool, emptyProject);
        QFETCH(bool, enabled);
        if (emptyProject) {
            StartProject({});
        } else {
            StartDefault();
            SearchTitles();
        }
        CQVNTreeView* tree = Tree();
        const QModelIndex search = tree->GetSearchGroupNode().isValid()
                                       ? tree->GetModel()->index(0, 0, tree->GetSearchGroupNode())
                                       : QModelIndex();
        const QModelIndex nodes[] = {tree->GetRootNode(), tree->GetStringsNode(),
                                     tree->GetFilesNode(), File("thesis"), search};
        Select(nodes[node]);
        Frame().SetActiveView(tree);
        QCOMPARE(Frame().QueryCommand(ID_SAVE_SELECTION).enabled, enabled);
        // The command node decides, not the selection.
        Select(tree->GetRootNode());
        tree->SetCommandNode(nodes[node]);
        QCOMPARE(Frame().QueryCommand(ID_SAVE_SELECTION).enabled, enabled);
        QVERIFY(Frame().QueryCommand(ID_RENAME_FILE).enabled);
    }

    void saveSelectionWritesTheFile() {
        const QString folder = m_dir.path() + QStringLiteral("/save");
        QVERIFY(QDir().mkpath(folder));
        StartProject({{"thesis", "t1"}, {"other", "o1"}}, folder.toStdString());
        Select(File("other"));
        Frame().SetActiveView(Tree());
        QVERIFY(Frame().RouteCommand(ID_SAVE_SELECTION));
        QVERIFY(QFileInfo::exists(folder + QStringLiteral("/other.bib")));
        QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/thesis.bib")));
        QVERIFY(m_dialogs->messages.empty());
    }

    void statusTexts_data() {
        QTest::addColumn<int>("node");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("count");
        QTest::newRow("root") << 0 << "/home/ana"
                              << "/home/ana"
                              << "\t4 entries";
        QTest::newRow("strings") << 1 << "/home/ana"
                                 << "/home/ana/strings.bib"
                                 << "\t2 strings";
        QTest::newRow("files") << 2 << "/home/ana"
                               << "/home/ana"
                               << "\t4 entries";
        QTest::newRow("file") << 3 << "/home/ana"
                              << "/home/ana/thesis.bib"
                              << "\t2 entries";
        QTest::newRow("folder with separator") << 3 << "/"
                                               << "/thesis.bib"
                                               << "\t2 entries";
        // No folder: nothing is appended.
        QTest::newRow("no folder") << 3 << ""
                                   << ""
                                   << "\t2 entries";
    }
    void statusTexts() {
        QFETCH(int, node);
        QFETCH(QString, folder);
        QFETCH(QString, location);
        QFETCH(QString, count);
        StartProject({{"thesis", "t1"}, {"thesis", "t2"}, {"other", "o1"}, {"Alpha", "a1"}},
                     folder.toStdString(), "strings.bib", 2);
        CQVNTreeView* tree = Tree();
        const QModelIndex nodes[] = {tree->GetRootNode(), tree->GetStringsNode(),
                                     tree->GetFilesNode(), File("thesis")};
        Select(nodes[node]);
        QCOMPARE(QString::fromStdString(tree->GetLocationText().value()), location);
        QCOMPARE(QString::fromStdString(tree->GetCountText().value()), count);
        // The panes show them while the tree is the active view.
        Frame().SetActiveView(tree);
        Frame().updateActions();
        QCOMPARE(Frame().GetLocationPane()->GetPaneText(), location);
        QCOMPARE(Frame().GetCountPane()->GetPaneText(), count);
    }
};

QTEST_MAIN(TestExplorer)
#include "tst_explorer.moc"
