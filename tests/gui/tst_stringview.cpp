// The strings list: its model, rows and icons, its own sort state, the
// hints, the preview, copy and paste of "@string" lines with the insertion
// failure message, drops, deleting through the document and the context
// menu.
#include "../support/ScriptedUi.h"
#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "app/Resources.h"
#include "app/StatusPane.h"
#include "project/CommandIds.h"
#include "support/GuiTestSupport.h"
#include "support/ListTestSupport.h"
#include "views/QVNBibTeXView.h"
#include "views/QVNStringView.h"
#include "views/StringsListModel.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QSortFilterProxyModel>
#include <QTest>
#include <QTreeView>

#include <memory>

using listtest::Column;
using listtest::Item;
using listtest::SelectRows;

namespace {

class StringView : public CQVNStringView {
public:
    using CQVNStringView::CQVNStringView;
    using CQVNStringView::CreateContextMenu;
};

// Strings jacm, cacm (braced), tcs (quoted) and ieee (two groups); one item
// refers to cacm.
struct Project {
    ScriptedUi ui;
    CQVNDoc doc{&ui};
    CFakeViewHost host{doc};

    Project() {
        listtest::StartProject(doc);
        doc.AddString("jacm", "Journal of the ACM", false);
        doc.AddString("cacm", "{Communications of the ACM}", false);
        doc.AddString("tcs", "\"Theoretical Computer Science\"", false);
        doc.AddString("ieee", "{IEEE} # { Trans.}", false);
        doc.AddItem(Item("refs", "k", "article", {{kFieldJournal, "cacm"}}));
        doc.SetModifiedFlag(false);
    }
    std::unique_ptr<StringView> List() {
        auto view = std::make_unique<StringView>(doc, host);
        view->OnInitialUpdate();
        return view;
    }
};

QStringList Abbreviations(const CQVNListView& view) {
    return listtest::Keys(view);
}

int IconOf(const CQVNStringView& view, int row) {
    return view.GetModel()
        ->GetRow(view.GetProxy()->mapToSource(view.GetProxy()->index(row, 0)).row())
        ->icon;
}

} // namespace

class TestStringView : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qvn::InitResources(); }
    void init() {
        CQVNStringView::ResetSharedSortState();
        CQVNBibTeXView::ResetSharedSortState();
    }

    void modelPassesTheTester() {
        CStringsListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.SetRows({{"b", "B", 0}, {"a", "A", 0}, {"c", "C", 0}});
        model.AppendRow({"d", "D", 1});
        model.SortRows(0, false);
        model.SetRow(1, "bb", "{BB}");
        model.RemoveRowSet({0, 3});
        QCOMPARE(model.rowCount(), 2);
        model.SetRows({});
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 2);
    }

    void columnsAndRows() {
        Project p;
        auto view = p.List();
        const QAbstractItemModel& model = *view->GetModel();
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Abbreviation"));
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Full string"));
        QCOMPARE(view->GetDetailsView()->header()->sectionSize(0), 200);
        QCOMPARE(view->GetDetailsView()->header()->sectionSize(1), 500);
        // In the table's order, the full strings without their delimiters;
        // delimiters that do not enclose the whole value stay.
        QCOMPARE(Abbreviations(*view), (QStringList{"jacm", "cacm", "tcs", "ieee"}));
        QCOMPARE(Column(*view->GetProxy(), 1),
                 (QStringList{"Journal of the ACM", "Communications of the ACM",
                              "Theoretical Computer Science", "{IEEE} # { Trans.}"}));
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(IconOf(*view, row), 0);
            QVERIFY(
                !view->GetProxy()->index(row, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        }
        QCOMPARE(QString::fromStdString(view->GetCountText().value()),
                 QStringLiteral("\t4 strings"));
        QCOMPARE(view->GetPrintTitle(), QStringLiteral("Quorvane"));
    }

    void sortStateIsSharedAmongStringsListsOnly() {
        Project p;
        auto first = p.List();
        first->SortItems(1, true);
        // "{" sorts after the letters.
        QCOMPARE(Abbreviations(*first), (QStringList{"cacm", "jacm", "tcs", "ieee"}));
        // A new strings list comes up in that order; the items lists keep
        // their own state.
        auto second = p.List();
        QCOMPARE(Abbreviations(*second), (QStringList{"cacm", "jacm", "tcs", "ieee"}));
        CQVNBibTeXView items(p.doc, p.host);
        QCOMPARE(items.GetSortColumn(), -1);
        items.SetSortColumn(0);
        QCOMPARE(second->GetSortColumn(), 1);
        // ID_SORT_ASCENDING and ID_SORT_DESCENDING sort by abbreviation.
        QVERIFY(second->OnCommand(ID_SORT_DESCENDING));
        QCOMPARE(Abbreviations(*second), (QStringList{"tcs", "jacm", "ieee", "cacm"}));
        QVERIFY(second->OnCommand(ID_SORT_ASCENDING));
        QCOMPARE(Abbreviations(*second), (QStringList{"cacm", "ieee", "jacm", "tcs"}));
    }

    void stringHintUpdatesItsRowUntilTheNextRefill() {
        Project p;
        auto view = p.List();
        p.doc.GetStrings().SetString("tcs", "{TCS}");
        const CBibTexString edited("tcs", "{TCS}");
        p.doc.UpdateAllViews(nullptr, UpdateHint::Change, &edited);
        // The row shows the full string as stored, braces included.
        QCOMPARE(view->GetProxy()->index(2, 1).data().toString(), QStringLiteral("{TCS}"));
        QCOMPARE(view->GetSelectedRows(), std::vector<int>{2});
        p.doc.UpdateAllViews(nullptr, UpdateHint::Change);
        QCOMPARE(view->GetProxy()->index(2, 1).data().toString(), QStringLiteral("TCS"));
    }

    void hints_data() {
        QTest::addColumn<int>("hint");
        QTest::addColumn<int>("object"); // 0 none, 1 an unknown string, 2 an item
        QTest::addColumn<QStringList>("rows");
        const QStringList before = {"jacm", "cacm", "tcs", "ieee"};
        const QStringList after = before + QStringList{"new"};
        QTest::newRow("0 without object") << 0 << 0 << after;
        QTest::newRow("2") << 2 << 0 << after;
        QTest::newRow("4") << 4 << 0 << after;
        QTest::newRow("5") << 5 << 0 << before;
        QTest::newRow("0 with a string not listed") << 0 << 1 << after;
        QTest::newRow("0 with an item") << 0 << 2 << before;
    }
    void hints() {
        QFETCH(int, hint);
        QFETCH(int, object);
        QFETCH(QStringList, rows);
        Project p;
        auto view = p.List();
        p.doc.AddString("new", "New", false);
        const CBibTexString string("new", "New");
        HintObject hintObject;
        if (object == 1) {
            hintObject = &string;
        } else if (object == 2) {
            hintObject = p.doc.LookupItem("refs", "k");
        }
        p.doc.UpdateAllViews(nullptr, UpdateHint(hint), hintObject);
        QCOMPARE(Abbreviations(*view), rows);
        if (object == 1) {
            QCOMPARE(view->GetSelectedRows(), std::vector<int>{4});
        }
    }

    void previewAndAnnouncement() {
        AppSession session;
        QTemporaryDir dir;
        QVERIFY(listtest::StartProgram(session, dir, 1, 1));
        CQVNDoc& doc = session.app.GetDocument();
        doc.AddString("jacm", "Journal of the ACM", false);
        doc.AddString("cacm", "{Communications of the ACM}", false);
        CMainFrame& frame = *session.app.GetMainFrame();
        auto* view = qobject_cast<CQVNStringView*>(frame.SwitchMainView(MainViewKind::Strings));
        QVERIFY(view != nullptr);
        listtest::HintRecorder recorder(doc);
        // A change of the selection announces itself, once.
        view->SelectRows({1, 0});
        QCOMPARE(frame.GetPreviewText(),
                 QStringLiteral("@string{jacm = \"Journal of the ACM\"}\n"
                                "@string{cacm = \"Communications of the ACM\"}\n"));
        QCOMPARE(recorder.hints.size(), std::size_t(1));
        QVERIFY(recorder.hints[0].string);
        QCOMPARE(recorder.hints[0].string->GetAbbreviation(), std::string("jacm"));
        QCOMPARE(recorder.hints[0].string->GetValue(), std::string("Journal of the ACM"));
        view->GetSelectionModel()->clear();
        QCOMPARE(recorder.hints.size(), std::size_t(2));
        QCOMPARE(frame.GetPreviewText(), QString());
        QVERIFY(!recorder.hints.back().HasObject());
        frame.updateActions();
        QCOMPARE(frame.GetCountPane()->GetPaneText(), QStringLiteral("\t2 strings"));
    }

    void copyGivesStringLinesWithoutQuotes() {
        Project p;
        auto view = p.List();
        SelectRows(*view, {0, 1});
        QVERIFY(view->OnCommand(ID_EDIT_COPY));
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("@string{jacm = Journal of the ACM}\n"
                                "@string{cacm = Communications of the ACM}\n"));
        // Copy stops at the first abbreviation that is gone.
        SelectRows(*view, {0, 1, 2});
        p.doc.GetStrings().RemoveString("cacm");
        QCOMPARE(view->CreateClipboardData(), std::string("@string{jacm = Journal of the ACM}\n"));
    }

    void pasteAddsNewStringsAndNamesTheOthers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QString>("message");
        QTest::newRow("one new, one known")
            << "@string{jacm = {Other}}\n@string{sicomp = {SIAM J. Comput.}}"
            << QStringList{"sicomp"} << "Some of the strings couldn't be inserted.\n(jacm...))";
        QTest::newRow("all new, items ignored")
            << "  @string{a1 = \"One\"}\n@article{x, title={T}}\n@string{a2 = Two}\n"
            << QStringList{"a1", "a2"} << "";
        // The list of refused abbreviations is cut to 50 characters.
        QTest::newRow("all known")
            << "@string{jacm = x}@string{cacm = x}@string{tcs = x}@string{ieee = x}"
               "@string{jacm = y}"
            << QStringList{}
            << "Some of the strings couldn't be inserted.\n(jacm, cacm, tcs, ieee...))";
        QTest::newRow("not BibTeX") << "hello" << QStringList{} << "";
    }
    void pasteAddsNewStringsAndNamesTheOthers() {
        QFETCH(QString, text);
        QFETCH(QStringList, added);
        QFETCH(QString, message);
        Project p;
        auto view = p.List();
        view->PasteData(text.toStdString());
        QCOMPARE(Abbreviations(*view), QStringList({"jacm", "cacm", "tcs", "ieee"}) + added);
        for (int row = 4; row < 4 + added.size(); ++row) {
            QCOMPARE(IconOf(*view, row), 1);
        }
        QCOMPARE(p.doc.GetStrings().GetCount(), 4 + int(added.size()));
        // A known abbreviation keeps its full string.
        std::string full;
        QVERIFY(p.doc.LookupString("jacm", full));
        QCOMPARE(full, std::string("Journal of the ACM"));
        if (message.isEmpty()) {
            QVERIFY(p.ui.messages.empty());
        } else {
            QCOMPARE(p.ui.messages.size(), std::size_t(1));
            QCOMPARE(QString::fromStdString(p.ui.messages[0].text), message);
            QCOMPARE(p.ui.messages[0].caption, std::string("Insertion failure"));
            QCOMPARE(p.ui.messages[0].icon, MsgIcon::Warning);
        }
    }

    void pasteIsEnabledForStringText_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("string") << "  @string{x = {y}}\n" << true;
        QTest::newRow("item") << "@article{x, title = {T}}" << false;
        QTest::newRow("text") << "just words" << false;
        QTest::newRow("empty") << "" << false;
    }
    void pasteIsEnabledForStringText() {
        QFETCH(QString, clipboard);
        QFETCH(bool, enabled);
        Project p;
        auto view = p.List();
        // The answer follows each change of the clipboard.
        QApplication::clipboard()->setText(enabled ? QStringLiteral("words")
                                                   : QStringLiteral("@string{a = b}"));
        CommandState state;
        QVERIFY(view->UpdateCommand(ID_EDIT_PASTE, state));
        QCOMPARE(state.enabled, !enabled);
        QApplication::clipboard()->setText(clipboard);
        QVERIFY(view->UpdateCommand(ID_EDIT_PASTE, state));
        QCOMPARE(state.enabled, enabled);
    }

    void dropsAcceptStringText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("string line") << "@string{x = {y}}" << true;
        QTest::newRow("item text") << "@article{x, title = {T}}\n" << false;
        QTest::newRow("plain text") << "words" << false;
    }
    void dropsAcceptStringText() {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        Project p;
        auto view = p.List();
        QCOMPARE(listtest::AcceptsDrag(view->GetDetailsView()->viewport(), text), accepted);
    }

    void deleteAsksForStringsInUse_data() {
        QTest::addColumn<int>("answer"); // for cacm, which an item uses
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<QString>("journal");
        QTest::newRow("cancel") << int(MsgResult::Cancel) << QStringList{"cacm", "tcs", "ieee"}
                                << "cacm";
        QTest::newRow("no") << int(MsgResult::No) << QStringList{"cacm", "ieee"} << "cacm";
        QTest::newRow("yes") << int(MsgResult::Yes) << QStringList{"ieee"}
                             << "{Communications of the ACM}";
    }
    void deleteAsksForStringsInUse() {
        QFETCH(int, answer);
        QFETCH(QStringList, left);
        QFETCH(QString, journal);
        Project p;
        auto view = p.List();
        // jacm, cacm (in use), tcs.
        SelectRows(*view, {0, 1, 2});
        listtest::HintRecorder recorder(p.doc);
        p.ui.answers.push_back(MsgResult(answer));
        QVERIFY(view->OnCommand(ID_EDIT_CLEAR));
        QCOMPARE(Abbreviations(*view), left);
        QCOMPARE(p.ui.messages.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(
                     std::string(p.doc.LookupItem("refs", "k")->GetValue(kFieldJournal))),
                 journal);
        // The other views hear of it without an object.
        QVERIFY(!recorder.hints.empty());
        QCOMPARE(recorder.hints.front().hint, UpdateHint::Change);
        QVERIFY(!recorder.hints.front().HasObject());
        // The row at the first deleted place is selected.
        QCOMPARE(view->GetSelectedRows(), std::vector<int>{0});
    }

    void deleteKeyWithNothingSelectedDoesNothing() {
        Project p;
        auto view = p.List();
        QTest::keyClick(view->GetDetailsView(), Qt::Key_Delete);
        QCOMPARE(p.doc.GetStrings().GetCount(), 4);
        QVERIFY(p.ui.messages.empty());
    }

    void contextMenuEntries() {
        Project p;
        auto view = p.List();
        std::unique_ptr<QMenu> menu(view->CreateContextMenu());
        QCOMPARE(menu->objectName(), QStringLiteral("IDR_CONTEXT_STRINGS"));
        QCOMPARE(listtest::MenuEntries(*menu),
                 (QStringList{"&New...\tIns|32791", "Cu&t\tCtrl+X|57635", "&Copy\tCtrl+C|57634",
                              "&Paste\tCtrl+V|57637", "&Delete\tDel|57632",
                              "Select &All\tCtrl+A|57642"}));
        const QList<QAction*> actions = menu->actions();
        // Nothing selected: cut, copy and delete are disabled.
        QVERIFY(actions[0]->isEnabled());
        QVERIFY(!actions[1]->isEnabled());
        QVERIFY(!actions[2]->isEnabled());
        QVERIFY(!actions[4]->isEnabled());
        QVERIFY(actions[5]->isEnabled());
        actions[5]->trigger();
        QCOMPARE(view->GetSelectedRows().size(), std::size_t(4));
    }

    void newStringThroughTheInsertKey() {
        Project p;
        int runs = 0;
        p.ui.stringEditor = [&runs](CQVNDoc& doc) {
            ++runs;
            return doc.AddString("added", "{Added}", false);
        };
        auto view = p.List();
        QTest::keyClick(view->GetDetailsView(), Qt::Key_Insert);
        QCOMPARE(runs, 1);
        // The document's bulk hint refills the list.
        QCOMPARE(Abbreviations(*view).last(), QStringLiteral("added"));
    }
};

QTEST_MAIN(TestStringView)
#include "tst_stringview.moc"
