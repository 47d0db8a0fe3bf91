// The items list: its model, columns and row texts, sorting and the sort
// state shared by all items lists, the reactions to the document's hints,
// the clipboard, drops, deleting, the preview and the context menu.
#include "../support/ScriptedUi.h"
#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "app/Resources.h"
#include "app/StatusPane.h"
#include "model/TextUtil.h"
#include "project/CommandIds.h"
#include "project/QVNSettings.h"
#include "support/GuiTestSupport.h"
#include "support/ListTestSupport.h"
#include "views/ItemsListModel.h"
#include "views/QVNBibTeXView.h"
#include "views/QVNSearchView.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QMenu>
#include <QSortFilterProxyModel>
#include <QTest>
#include <QTreeView>

#include <memory>

using listtest::Column;
using listtest::Item;
using listtest::Keys;
using listtest::SelectRows;

namespace {

// Exposes the context menu and lets a test mark the list as dragging.
class ItemsView : public CQVNBibTeXView {
public:
    using CQVNBibTeXView::CQVNBibTeXView;
    using CQVNBibTeXView::CreateContextMenu;
};

// A project with the files "refs" (three items) and "more" (two items).
struct Project {
    ScriptedUi ui;
    CQVNDoc doc{&ui};
    CFakeViewHost host{doc};
    CQVNSettings& appearance = host.appearance;

    Project() {
        listtest::StartProject(doc);
        appearance.ClearColumns();
        appearance.AddColumn(kFieldAuthor);
        appearance.AddColumn(kFieldYear);
        appearance.SetFieldWidth(kFieldAuthor, 130);
        appearance.SetFieldWidth(kFieldYear, 60);
        doc.AddItem(
            Item("refs", "knuth", "book", {{kFieldAuthor, "{Knuth}"}, {kFieldYear, "1999"}}));
        doc.AddItem(
            Item("refs", "lamport", "manual", {{kFieldAuthor, "\"Lamport\""}, {kFieldYear, "99"}}));
        doc.AddItem(
            Item("refs", "abel", "article", {{kFieldAuthor, "Abel"}, {kFieldYear, "2001"}}));
        doc.AddItem(Item("more", "miller84", "misc", {{kFieldYear, "1984"}}));
        doc.AddItem(Item("more", "miller", "misc", {{kFieldYear, "1990"}}));
        doc.SetModifiedFlag(false);
    }
    // A list of `file` (empty: all files), filled.
    std::unique_ptr<ItemsView> List(const std::string& file) {
        auto view = std::make_unique<ItemsView>(doc, host);
        view->SetupColumns();
        view->SetFileName(file);
        view->Refill();
        return view;
    }
};

} // namespace

class TestItemsView : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qvn::InitResources(); }
    void init() { CQVNBibTeXView::ResetSharedSortState(); }

    // --- Model

    void modelPassesTheTester() {
        Project p;
        CItemsListModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.SetColumns({kFieldAuthor, kFieldYear});
        std::vector<CBibTexEntry*> items;
        p.doc.GetItems().ForEachItem([&items](const CBibTexEntry& item) {
            items.push_back(const_cast<CBibTexEntry*>(&item));
        });
        model.SetItems(items);
        model.SortRows(2, true);
        model.SortRows(0, false);
        model.UpdateRow(1);
        model.RemoveRowSet({0, 2});
        model.AppendItems({items[0], items[2]});
        // Many scattered rows go in one reset.
        std::vector<CBibTexEntry*> many;
        for (int i = 0; i < 40; ++i) {
            many.push_back(items[static_cast<std::size_t>(i % 5)]);
        }
        model.SetItems(many);
        std::vector<int> odd;
        for (int i = 1; i < 40; i += 2) {
            odd.push_back(i);
        }
        model.RemoveRowSet(odd);
        QCOMPARE(model.rowCount(), 20);
        model.SetColumns({kFieldTitle});
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 2);
    }

    // Items deleted behind the list's back (no hint reaches it) are never read
    // again: their rows show nothing at once and are gone once the event
    // loop runs.
    void rowsOfDeletedItemsAreNeverRead() {
        Project p;
        auto view = p.List("");
        const QAbstractItemModel& model = *view->GetModel();
        QCOMPARE(model.rowCount(), 5);
        QVERIFY(p.doc.GetItems().RemoveFile("refs"));
        for (int row = 0; row < model.rowCount(); ++row) {
            for (int column = 0; column < model.columnCount(); ++column) {
                model.index(row, column).data(); // must not touch a deleted item
                model.index(row, column).data(Qt::DecorationRole);
            }
        }
        QCoreApplication::processEvents();
        QCOMPARE(Column(model, 0), (QStringList{"miller84", "miller"}));
        view->SelectAll();
        QCOMPARE(view->CreateClipboardData().substr(0, 15), std::string("@misc{miller84,"));
        // Clearing the project empties the list at once.
        p.doc.GetItems().RemoveAll();
        QCOMPARE(model.rowCount(), 0);
    }

    void columnsFollowTheAppearanceSettings() {
        Project p;
        auto view = p.List("refs");
        const QAbstractItemModel& model = *view->GetModel();
        // The key, the two fields and the column of problem marks.
        QCOMPARE(model.columnCount(), 4);
        const QStringList titles = {"Name (Key)", "author", "year"};
        const QList<int> widths = {200, 130, 60};
        for (int column = 0; column < 3; ++column) {
            QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), titles[column]);
            QCOMPARE(view->GetDetailsView()->header()->sectionSize(column), widths[column]);
        }
        // UpdateHint::Columns: the columns are read again and the rows refilled.
        p.appearance.ClearColumns();
        p.appearance.AddColumn(kFieldTitle);
        p.doc.UpdateAllViews(nullptr, UpdateHint::Columns);
        QCOMPARE(model.columnCount(), 3);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("title"));
        QCOMPARE(view->GetDetailsView()->header()->sectionSize(1),
                 p.appearance.GetFieldWidth(kFieldTitle));
        QCOMPARE(model.rowCount(), 3);
    }

    void rowTextsLoseOnePairOfDelimiters_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("braces") << "{Smith, J.}"
                                << "Smith, J.";
        QTest::newRow("quotes") << "\"Smith\""
                                << "Smith";
        QTest::newRow("bare") << "1999"
                              << "1999";
        // Delimiters that do not enclose the whole value stay.
        QTest::newRow("two groups") << "{IEEE} {INFOCOM}"
                                    << "{IEEE} {INFOCOM}";
        QTest::newRow("concatenation") << "\"A\" # \"B\""
                                       << "\"A\" # \"B\"";
        QTest::newRow("nested") << "{{NASA}}"
                                << "{NASA}";
        QTest::newRow("string reference") << "jacm"
                                          << "jacm";
        QTest::newRow("UTF-8") << "{M\xC3\xBCller}" << QString::fromUtf8("M\xC3\xBCller");
    }
    void rowTextsLoseOnePairOfDelimiters() {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        ScriptedUi ui;
        CQVNDoc doc(&ui);
        listtest::StartProject(doc);
        doc.AddItem(Item("refs", "k", "book", {{kFieldAuthor, stored.toUtf8().constData()}}));
        CFakeViewHost host(doc);
        CQVNBibTeXView view(doc, host);
        // The value as stored, less its delimiters: TeX is not read as text.
        host.appearance.SetShowTexAsText(false);
        view.SetupColumns();
        view.SetFileName("refs");
        view.Refill();
        QCOMPARE(view.GetProxy()->index(0, 0).data().toString(), QStringLiteral("k"));
        QCOMPARE(view.GetProxy()->index(0, 1).data().toString(), shown);
        // The key column carries the entry type's icon, the others none.
        QVERIFY(!view.GetProxy()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(view.GetProxy()->index(0, 1).data(Qt::DecorationRole).isNull());
    }

    void everyEntryTypeHasItsOwnIcon() {
        QSet<size_t> images;
        for (int type = 0; type < kEntryTypeCount; ++type) {
            ScriptedUi ui;
            CQVNDoc doc(&ui);
            listtest::StartProject(doc);
            doc.AddItem(std::make_unique<CBibTexEntry>("f", "k", type));
            CFakeViewHost host(doc);
            CQVNBibTeXView view(doc, host);
            view.Refill();
            const QIcon icon = view.GetProxy()->index(0, 0).data(Qt::DecorationRole).value<QIcon>();
            QVERIFY2(!icon.pixmap(16, 16).isNull(), qPrintable(QString::number(type)));
            QVERIFY(!icon.pixmap(32, 32).isNull());
            const QImage image = icon.pixmap(16, 16).toImage();
            images.insert(qHash(
                QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes())));
        }
        QCOMPARE(images.size(), kEntryTypeCount);
    }

    // --- Sorting

    void sortOrdersTextIgnoringCase_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<QStringList>("keys");
        // Years as text: 1999 < 2001 < 99.
        QTest::newRow("year ascending") << 2 << true << QStringList{"knuth", "abel", "lamport"};
        QTest::newRow("year descending") << 2 << false << QStringList{"lamport", "abel", "knuth"};
        // Authors without their delimiters, ignoring case: Abel, Knuth, Lamport.
        QTest::newRow("author ascending") << 1 << true << QStringList{"abel", "knuth", "lamport"};
        QTest::newRow("key descending") << 0 << false << QStringList{"lamport", "knuth", "abel"};
    }
    void sortOrdersTextIgnoringCase() {
        QFETCH(int, column);
        QFETCH(bool, ascending);
        QFETCH(QStringList, keys);
        Project p;
        auto view = p.List("refs");
        view->SortItems(column, ascending);
        QCOMPARE(Keys(*view), keys);
        QCOMPARE(view->GetSortColumn(), column);
        QCOMPARE(view->GetSortAscending(), ascending);
    }

    void sortIgnoresCaseAndKeepsEqualRowsInOrder() {
        ScriptedUi ui;
        CQVNDoc doc(&ui);
        listtest::StartProject(doc);
        const char* const titles[] = {"beta",         "Alpha", "alpha", "ALPHA",
                                      "\xC3\x89mile", "emile", "Zeta"};
        for (int i = 0; i < 7; ++i) {
            doc.AddItem(Item("f", "k" + std::to_string(i), "misc", {{kFieldTitle, titles[i]}}));
        }
        CFakeViewHost host(doc);
        host.appearance.ClearColumns();
        host.appearance.AddColumn(kFieldTitle);
        CQVNBibTeXView view(doc, host);
        view.SetupColumns();
        view.SetFileName("f");
        view.Refill();
        view.SortItems(1, true);
        // "É" lower-cases to "é", which comes after every ASCII letter.
        QCOMPARE(Keys(view), (QStringList{"k1", "k2", "k3", "k0", "k5", "k6", "k4"}));
        view.SortItems(1, false);
        QCOMPARE(Keys(view), (QStringList{"k4", "k6", "k5", "k0", "k1", "k2", "k3"}));
    }

    void sortKeyOrdersAsCaseInsensitiveComparison_data() {
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("b");
        QTest::newRow("case") << QByteArray("ABC") << QByteArray("abd");
        QTest::newRow("digits") << QByteArray("10") << QByteArray("9");
        QTest::newRow("prefix") << QByteArray("Smith") << QByteArray("smithson");
        QTest::newRow("umlaut") << QByteArray("\xC3\x9C") << QByteArray("\xC3\xBC");
        QTest::newRow("ascii and umlaut") << QByteArray("z") << QByteArray("\xC3\xA4");
        // A byte that is not UTF-8 counts as its Windows-1252 character.
        QTest::newRow("invalid byte") << QByteArray("\x80") << QByteArray("\xC2\xA0");
        QTest::newRow("invalid against ascii") << QByteArray("a\x9F") << QByteArray("a~");
        QTest::newRow("brace") << QByteArray("{") << QByteArray("a");
    }
    void sortKeyOrdersAsCaseInsensitiveComparison() {
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        const std::string ka = CListRowsModel::SortKey(a.toStdString());
        const std::string kb = CListRowsModel::SortKey(b.toStdString());
        const int expected = qvn::CompareNoCase(a.toStdString(), b.toStdString());
        const int got = ka < kb ? -1 : (kb < ka ? 1 : 0);
        QCOMPARE(got, expected < 0 ? -1 : (expected > 0 ? 1 : 0));
    }

    void headerClicksToggleTheDirection() {
        Project p;
        auto view = p.List("refs");
        QHeaderView* header = view->GetDetailsView()->header();
        // The state starts descending: the first click sorts ascending.
        Q_EMIT header->sectionClicked(2);
        QVERIFY(view->GetSortAscending());
        QCOMPARE(Keys(*view), (QStringList{"knuth", "abel", "lamport"}));
        Q_EMIT header->sectionClicked(2);
        QVERIFY(!view->GetSortAscending());
        QCOMPARE(Keys(*view), (QStringList{"lamport", "abel", "knuth"}));
        // Ascending on the key, then another column: descending.
        Q_EMIT header->sectionClicked(0);
        QVERIFY(view->GetSortAscending());
        Q_EMIT header->sectionClicked(1);
        QCOMPARE(view->GetSortColumn(), 1);
        QVERIFY(!view->GetSortAscending());
        QCOMPARE(Keys(*view), (QStringList{"lamport", "knuth", "abel"}));
        QVERIFY(header->isSortIndicatorShown());
        QCOMPARE(header->sortIndicatorSection(), 1);
    }

    void sortCommandsSortTheFirstColumn() {
        Project p;
        auto view = p.List("refs");
        QVERIFY(view->OnCommand(ID_SORT_ASCENDING));
        QCOMPARE(Keys(*view), (QStringList{"abel", "knuth", "lamport"}));
        QVERIFY(view->OnCommand(ID_SORT_DESCENDING));
        QCOMPARE(Keys(*view), (QStringList{"lamport", "knuth", "abel"}));
    }

    void sortKeepsTheSelection() {
        Project p;
        auto view = p.List("refs");
        SelectRows(*view, {0});
        QCOMPARE(Keys(*view).at(0), QStringLiteral("knuth"));
        view->SortItems(0, true);
        const std::vector<int> rows = view->GetSelectedRows();
        QCOMPARE(rows.size(), std::size_t(1));
        QCOMPARE(view->GetModel()->GetItem(rows.front())->GetKey(), std::string("knuth"));
    }

    void allItemsListsShareOneSortState() {
        Project p;
        auto refs = p.List("refs");
        refs->SortItems(2, true);
        // Another file's list is shown in that order.
        auto more = p.List("more");
        QCOMPARE(more->GetSortColumn(), 2);
        QVERIFY(more->GetSortAscending());
        QCOMPARE(Keys(*more), (QStringList{"miller84", "miller"}));
        // Sorting there changes the state of the first list too.
        more->SortItems(2, false);
        QCOMPARE(refs->GetSortColumn(), 2);
        QVERIFY(!refs->GetSortAscending());
        // So does the search result list.
        CQVNSearchView search(p.doc, p.host);
        QCOMPARE(search.GetSortColumn(), 2);
        search.SetSortColumn(1);
        QCOMPARE(refs->GetSortColumn(), 1);
        // The list of all items keeps the files' order after a refill.
        auto all = p.List("");
        QCOMPARE(Keys(*all), (QStringList{"knuth", "lamport", "abel", "miller84", "miller"}));
        QVERIFY(!all->GetDetailsView()->header()->isSortIndicatorShown());
    }

    // --- Hints

    void rowOfTheItemWithExactlyThatKeyIsUpdated() {
        Project p;
        auto view = p.List("more");
        CBibTexEntry* miller = p.doc.LookupItem("more", "miller");
        miller->SetField(kFieldYear, "2024", true);
        p.doc.UpdateAllViews(nullptr, UpdateHint::Change, miller);
        const int millerRow = view->FindRow("miller");
        const int miller84Row = view->FindRow("miller84");
        QCOMPARE(view->GetModel()->index(millerRow, 2).data().toString(), QStringLiteral("2024"));
        QCOMPARE(view->GetModel()->index(miller84Row, 2).data().toString(), QStringLiteral("1984"));
        QCOMPARE(view->GetSelectedRows(), std::vector<int>{millerRow});
    }

    void itemWithoutARowRefillsSelectingIt() {
        Project p;
        auto view = p.List("refs");
        auto added = Item("refs", "zuse", "book");
        CBibTexEntry* zuse = added.get();
        p.doc.AddItem(std::move(added));
        p.doc.UpdateAllViews(nullptr, UpdateHint::Change, zuse);
        QCOMPARE(view->GetProxy()->rowCount(), 4);
        QCOMPARE(view->GetSelectedRows(), std::vector<int>{view->FindRow("zuse")});
    }

    void hintsRefillOrNot_data() {
        QTest::addColumn<int>("hint");
        QTest::addColumn<int>("object"); // 0 none, 1 a string, 2 a search
        QTest::addColumn<bool>("refilled");
        QTest::newRow("0 without object") << 0 << 0 << true;
        QTest::newRow("2 without object") << 2 << 0 << true;
        QTest::newRow("4") << 4 << 0 << true;
        QTest::newRow("6") << 6 << 0 << true;
        QTest::newRow("5") << 5 << 0 << false;
        QTest::newRow("0 with a string") << 0 << 1 << false;
        QTest::newRow("3 with a search") << 3 << 2 << false;
    }
    void hintsRefillOrNot() {
        QFETCH(int, hint);
        QFETCH(int, object);
        QFETCH(bool, refilled);
        Project p;
        auto view = p.List("refs");
        p.doc.AddItem(Item("refs", "zuse", "book"));
        const CBibTexString string("jacm", "J. ACM");
        CSearch search(&p.doc.GetItems(), "x");
        HintObject hintObject;
        if (object == 1) {
            hintObject = &string;
        } else if (object == 2) {
            hintObject = &search;
        }
        p.doc.UpdateAllViews(nullptr, UpdateHint(hint), hintObject);
        QCOMPARE(view->GetProxy()->rowCount(), refilled ? 4 : 3);
    }

    void contentsHintKeepsTheSelectedIndex() {
        Project p;
        auto view = p.List("refs");
        SelectRows(*view, {1, 2});
        p.doc.UpdateAllViews(nullptr, UpdateHint::Contents);
        QCOMPARE(view->GetSelectedRows(), std::vector<int>{1});
        // Without a selection nothing is selected afterwards.
        view->GetSelectionModel()->clear();
        p.doc.UpdateAllViews(nullptr, UpdateHint::Contents);
        QVERIFY(!view->HasSelection());
    }

    void columnsHintKeepsTheSelectedItems() {
        Project p;
        auto view = p.List("refs");
        view->SortItems(0, false); // shown order differs from the file's
        SelectRows(*view, {0, 2});
        const std::vector<int> before = view->GetSelectedRows();
        QCOMPARE(before.size(), std::size_t(2));
        p.appearance.ClearColumns();
        p.appearance.AddColumn(kFieldTitle);
        p.doc.UpdateAllViews(nullptr, UpdateHint::Columns);
        QCOMPARE(view->GetModel()->columnCount(), 3);
        QCOMPARE(view->GetSelectedRows(), before);
        // The topmost selected row is the current one.
        QCOMPARE(view->GetSelectionModel()->currentIndex().row(), 0);
        view->GetSelectionModel()->clear();
        p.doc.UpdateAllViews(nullptr, UpdateHint::Columns);
        QVERIFY(!view->HasSelection());
    }

    void switchingThroughTheFrameFillsTheNamedFile() {
        AppSession session;
        QTemporaryDir dir;
        QVERIFY(listtest::StartProgram(session, dir, 2, 3));
        CMainFrame& frame = *session.app.GetMainFrame();
        CQVNBibTeXView* view = listtest::ShowItems(session.app, "file1");
        QCOMPARE(Keys(*view), (QStringList{"key1_0", "key1_1", "key1_2"}));
        QCOMPARE(frame.GetCountPane()->GetPaneText(), QStringLiteral("\t3 entries"));
        // A list that gets no hint fills itself: all items here.
        auto* all = qobject_cast<CQVNBibTeXView*>(frame.SwitchMainView(MainViewKind::Items));
        QCOMPARE(all->GetProxy()->rowCount(), 0);
        QTRY_COMPARE(all->GetProxy()->rowCount(), 6);
        frame.updateActions();
        QCOMPARE(frame.GetCountPane()->GetPaneText(), QStringLiteral("\t6 entries"));
    }

    void displayModesOfTheFrame() {
        AppSession session;
        QTemporaryDir dir;
        QVERIFY(listtest::StartProgram(session, dir, 1, 3));
        CMainFrame& frame = *session.app.GetMainFrame();
        CQVNBibTeXView* view = listtest::ShowItems(session.app, {});
        QVERIFY(frame.RouteCommand(ID_VIEW_LARGEICON));
        QCOMPARE(view->GetDisplayMode(), ListDisplayMode::LargeIcons);
        QCOMPARE(view->GetIconView()->iconSize(), QSize(32, 32));
        QVERIFY(frame.QueryCommand(ID_VIEW_LARGEICON).checked);
        QVERIFY(frame.QueryCommand(ID_VIEW_LINEUP).enabled);
        QVERIFY(frame.RouteCommand(ID_VIEW_SMALLICON));
        QCOMPARE(view->GetIconView()->iconSize(), QSize(16, 16));
        QVERIFY(frame.RouteCommand(ID_VIEW_LIST));
        QVERIFY(!frame.QueryCommand(ID_VIEW_LINEUP).enabled);
        QVERIFY(frame.RouteCommand(ID_VIEW_DETAILS));
        QCOMPARE(view->GetCurrentView(), static_cast<QAbstractItemView*>(view->GetDetailsView()));
        // The icon display shows the keys with their icons.
        QCOMPARE(view->GetIconView()->model()->index(0, 0).data().toString(),
                 QStringLiteral("key0_0"));
    }

    // --- Clipboard

    void copyPutsTheItemTextsOneAfterAnother() {
        Project p;
        auto view = p.List("refs");
        view->SelectAll();
        QVERIFY(view->OnCommand(ID_EDIT_COPY));
        const QString expected =
            QStringLiteral("@book{knuth,\n  author = {Knuth},\n  year = 1999\n}\n\n"
                           "@manual{lamport,\n  author = \"Lamport\",\n  year = 99\n}\n\n"
                           "@article{abel,\n  author = Abel,\n  year = 2001\n}\n\n");
        QCOMPARE(QApplication::clipboard()->text(), expected);
        // Nothing selected: no data, the clipboard keeps what it had.
        view->GetSelectionModel()->clear();
        QCOMPARE(view->CreateClipboardData(), std::string());
    }

    void copyFromTheListOfAllItemsFindsItemsInEveryFile() {
        Project p;
        auto all = p.List("");
        SelectRows(*all, {0, 4});
        QCOMPARE(all->CreateClipboardData(),
                 std::string("@book{knuth,\n  author = {Knuth},\n  year = 1999\n}\n\n"
                             "@misc{miller,\n  year = 1990\n}\n\n"));
    }

    void pasteIntoTheListOfAllItemsIsRefused() {
        Project p;
        auto all = p.List("");
        all->PasteData("@book{new, title = {T}}");
        QCOMPARE(p.ui.messages.size(), std::size_t(1));
        QCOMPARE(p.ui.messages[0].text,
                 std::string("Please select the file in the tree for these data."));
        QCOMPARE(p.ui.messages[0].buttons, MsgButtons::Ok);
        QCOMPARE(p.doc.GetItems().GetTotalCount(), 5);
        QVERIFY(!p.doc.IsModified());
    }

    void pasteAddsItemsToTheFile_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("addedKeys");
        QTest::newRow("two items")
            << "refs"
            << "  \n@book{new1, title = {One}}\n@misc{new2,}\n " << QStringList{"new1", "new2"};
        // A key the project holds gets a letter.
        QTest::newRow("known key") << "refs"
                                   << "@book{knuth, title = {Again}}" << QStringList{"knutha"};
        QTest::newRow("into the other file") << "more"
                                             << "@book{x1, year = 1}" << QStringList{"x1"};
        QTest::newRow("file name with a period") << "vol.2"
                                                 << "@book{x2, year = 2}" << QStringList{"x2"};
        QTest::newRow("strings only") << "refs"
                                      << "@string{a = {b}}" << QStringList{};
        QTest::newRow("not BibTeX") << "refs"
                                    << "hello world" << QStringList{};
        QTest::newRow("blank") << "refs"
                               << "  \n " << QStringList{};
    }
    void pasteAddsItemsToTheFile() {
        QFETCH(QString, file);
        QFETCH(QString, text);
        QFETCH(QStringList, addedKeys);
        Project p;
        p.doc.AddFile("vol.2");
        p.doc.SetModifiedFlag(false);
        auto view = p.List(file.toStdString());
        const QStringList before = Keys(*view);
        view->PasteData(text.toStdString());
        // Rows are appended at the end for the items added.
        QCOMPARE(Keys(*view), before + addedKeys);
        for (const QString& key : addedKeys) {
            QVERIFY(p.doc.LookupItem(file.toStdString(), key.toStdString()) != nullptr);
        }
        QCOMPARE(p.doc.GetItems().GetTotalCount(), 5 + int(addedKeys.size()));
        QCOMPARE(p.doc.GetItems().GetFileCount(), 3);
        QCOMPARE(p.doc.IsModified(), !addedKeys.isEmpty());
        QVERIFY(p.ui.messages.empty());
    }

    void pasteCommandReadsTheClipboard() {
        Project p;
        auto refs = p.List("refs");
        auto more = p.List("more");
        SelectRows(*refs, {0, 2});
        QVERIFY(refs->OnCommand(ID_EDIT_COPY));
        QVERIFY(more->OnCommand(ID_EDIT_PASTE));
        // The copies take free keys.
        QCOMPARE(Keys(*more), (QStringList{"miller84", "miller", "knutha", "abela"}));
        QCOMPARE(p.doc.LookupItem("more", "knutha")->GetValue(kFieldAuthor),
                 std::string("{Knuth}"));
    }

    void cutCopiesAndDeletes() {
        Project p;
        auto view = p.List("refs");
        SelectRows(*view, {1});
        QVERIFY(view->OnCommand(ID_EDIT_CUT));
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("@manual{lamport,\n  author = \"Lamport\",\n  year = 99\n}\n\n"));
        QCOMPARE(Keys(*view), (QStringList{"knuth", "abel"}));
        std::string file;
        QVERIFY(p.doc.FindItem("lamport", file) == nullptr);
    }

    // --- Drops

    void dropsAcceptItemTextOnly_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("item") << "refs"
                              << "@article{a1, title={T}}" << true;
        QTest::newRow("items after blanks") << "refs"
                                            << "\n  @misc{a2,}\n@misc{a3,}" << true;
        QTest::newRow("string lines") << "refs"
                                      << "@string{jacm = {J. ACM}}\n"
                                      << false;
        QTest::newRow("plain text") << "refs"
                                    << "some words" << false;
        QTest::newRow("empty") << "refs"
                               << "" << false;
        // Accepted, then refused with the message when dropped.
        QTest::newRow("list of all items") << ""
                                           << "@article{a4, title={T}}" << true;
    }
    void dropsAcceptItemTextOnly() {
        QFETCH(QString, file);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        Project p;
        auto view = p.List(file.toStdString());
        QCOMPARE(listtest::AcceptsDrag(view->GetDetailsView()->viewport(), text), accepted);
        QCOMPARE(view->CanDropText(text.toStdString()), accepted);
    }

    // --- Deleting

    void deleteSelectsTheRowThatTookThePlace_data() {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("selectedKey");
        QTest::newRow("last row") << QList<int>{2} << QStringList{"knuth", "lamport"} << "lamport";
        QTest::newRow("first row") << QList<int>{0} << QStringList{"lamport", "abel"} << "lamport";
        QTest::newRow("two rows") << QList<int>{0, 2} << QStringList{"lamport"} << "lamport";
        QTest::newRow("all rows") << QList<int>{0, 1, 2} << QStringList{} << "";
    }
    void deleteSelectsTheRowThatTookThePlace() {
        QFETCH(QList<int>, selected);
        QFETCH(QStringList, keys);
        QFETCH(QString, selectedKey);
        Project p;
        auto view = p.List("refs");
        view->GetSelectionModel()->clear();
        for (int row : selected) {
            view->GetSelectionModel()->select(view->GetProxy()->index(row, 0),
                                              QItemSelectionModel::Select |
                                                  QItemSelectionModel::Rows);
        }
        QVERIFY(view->OnCommand(ID_EDIT_CLEAR));
        QCOMPARE(Keys(*view), keys);
        QCOMPARE(p.doc.GetItemCount("refs"), int(keys.size()));
        const std::vector<int> rows = view->GetSelectedRows();
        if (selectedKey.isEmpty()) {
            QVERIFY(rows.empty());
        } else {
            QCOMPARE(rows.size(), std::size_t(1));
            QCOMPARE(QString::fromStdString(view->GetModel()->GetItem(rows[0])->GetKey()),
                     selectedKey);
        }
        QVERIFY(p.doc.IsModified());
    }

    void deleteStopsAtTheFirstKeyThatIsGone() {
        Project p;
        auto view = p.List("refs");
        SelectRows(*view, {0, 1, 2});
        // The project holds no item under lamport's key any more: knuth is
        // removed, lamport stops the removal and abel stays; the three rows
        // leave the list all the same.
        p.doc.LookupItem("refs", "lamport")->SetKey("lamport-renamed");
        view->DeleteSelection();
        QCOMPARE(view->GetProxy()->rowCount(), 0);
        QVERIFY(p.doc.LookupItem("refs", "knuth") == nullptr);
        QVERIFY(p.doc.LookupItem("refs", "abel") != nullptr);
        QCOMPARE(p.doc.GetItemCount("refs"), 2);
    }

    void deleteKey() {
        Project p;
        auto view = p.List("refs");
        // Nothing selected: nothing changes.
        QTest::keyClick(view->GetDetailsView(), Qt::Key_Delete);
        QCOMPARE(view->GetProxy()->rowCount(), 3);
        QCOMPARE(p.doc.GetItemCount("refs"), 3);
        SelectRows(*view, {1});
        QTest::keyClick(view->GetDetailsView(), Qt::Key_Delete);
        QCOMPARE(Keys(*view), (QStringList{"knuth", "abel"}));
        QCOMPARE(p.doc.GetItemCount("refs"), 2);
    }

    void deleteAnnouncesTheNewSelection() {
        Project p;
        auto view = p.List("refs");
        listtest::HintRecorder recorder(p.doc);
        SelectRows(*view, {2});
        view->DeleteSelection();
        QVERIFY(!recorder.hints.empty());
        QCOMPARE(recorder.hints.back().hint, UpdateHint::Change);
        QCOMPARE(recorder.hints.back().Item(), p.doc.LookupItem("refs", "lamport"));
    }

    // --- Selection, preview, commands

    void selectionFeedsThePreviewAndTheOtherViews() {
        AppSession session;
        QTemporaryDir dir;
        QVERIFY(listtest::StartProgram(session, dir, 1, 3));
        CQVNDoc& doc = session.app.GetDocument();
        CMainFrame& frame = *session.app.GetMainFrame();
        CQVNBibTeXView* view = listtest::ShowItems(session.app, "file0");
        listtest::HintRecorder recorder(doc);
        // A change of the selection announces itself, once.
        view->SelectRows({2, 0});
        QCOMPARE(frame.GetPreviewText(),
                 QStringLiteral("@article{key0_0,\n  title = {Title key0_0}\n}\n\n"
                                "@article{key0_2,\n  title = {Title key0_2}\n}\n\n"));
        QCOMPARE(recorder.hints.size(), std::size_t(1));
        QCOMPARE(recorder.hints[0].hint, UpdateHint::Change);
        QCOMPARE(recorder.hints[0].Item(), doc.LookupItem("file0", "key0_0"));
        // Without notify the others hear nothing.
        view->SelectionChanged(false);
        QCOMPARE(recorder.hints.size(), std::size_t(1));
        view->GetSelectionModel()->clear();
        QCOMPARE(recorder.hints.size(), std::size_t(2));
        QCOMPARE(frame.GetPreviewText(), QString());
        QVERIFY(!recorder.hints.back().HasObject());
        // Select all and invert go through the same announcement.
        QVERIFY(frame.RouteCommand(ID_EDIT_SELECT_ALL));
        QCOMPARE(view->GetSelectedRows().size(), std::size_t(3));
        QCOMPARE(recorder.hints.back().Item(), doc.LookupItem("file0", "key0_0"));
        SelectRows(*view, {1});
        view->InvertSelection();
        QCOMPARE(view->GetSelectedRows(), (std::vector<int>{0, 2}));
    }

    void previewOfAVeryLargeSelectionShowsTheFirstItems() {
        AppSession session;
        QTemporaryDir dir;
        // 1 003 items: 1 000 in the preview, the other 3 counted.
        QVERIFY(listtest::StartProgram(session, dir, 1, 1003));
        CMainFrame& frame = *session.app.GetMainFrame();
        CQVNBibTeXView* view = listtest::ShowItems(session.app, {});
        view->SelectAll();
        view->SelectionChanged(false);
        const QString preview = frame.GetPreviewText();
        QVERIFY(preview.startsWith(
            QStringLiteral("@article{key0_0,\n  title = {Title key0_0}\n}\n\n")));
        QVERIFY(
            preview.endsWith(QStringLiteral("@article{key0_999,\n  title = {Title key0_999}\n}\n\n"
                                            "... 3 more selected items\n")));
        QCOMPARE(preview.count(QStringLiteral("@article{")), 1000);
    }

    void commandStates_data() {
        QTest::addColumn<bool>("selection");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<bool>("paste");
        QTest::newRow("nothing selected") << false << false << false << true;
        QTest::newRow("a row selected") << true << true << true << true;
    }
    void commandStates() {
        QFETCH(bool, selection);
        QFETCH(bool, cut);
        QFETCH(bool, copy);
        QFETCH(bool, paste);
        Project p;
        auto view = p.List("refs");
        if (selection) {
            SelectRows(*view, {0});
        }
        const auto enabled = [&view](int id) {
            CommandState state;
            return view->UpdateCommand(id, state) && state.enabled;
        };
        QCOMPARE(enabled(ID_EDIT_CUT), cut);
        QCOMPARE(enabled(ID_EDIT_CLEAR), cut);
        QCOMPARE(enabled(ID_EDIT_COPY), copy);
        QCOMPARE(enabled(ID_EDIT_PASTE), paste);
        QVERIFY(enabled(ID_EDIT_SELECT_ALL));
        QVERIFY(enabled(ID_INVERT_SELECTION));
    }

    void newItemCommandOpensTheWizardForTheFile() {
        Project p;
        std::vector<std::string> files;
        p.ui.newItemWizard = [&files](CQVNDoc&, const std::string& caption,
                                      const std::string& file) {
            files.push_back(caption + "|" + file);
            return false;
        };
        auto view = p.List("more");
        QVERIFY(view->ExecuteCommand(ID_NEW_BIBTEX_ITEM));
        QTest::keyClick(view->GetDetailsView(), Qt::Key_Insert);
        QCOMPARE(files,
                 (std::vector<std::string>{"New BibTex item...|more", "New BibTex item...|more"}));
    }

    void contextMenuEntries() {
        Project p;
        auto view = p.List("refs");
        SelectRows(*view, {0});
        std::unique_ptr<QMenu> menu(view->CreateContextMenu());
        QCOMPARE(menu->objectName(), QStringLiteral("IDR_CONTEXT_BIBTEXENRIES"));
        QCOMPARE(listtest::MenuEntries(*menu),
                 (QStringList{"&New...\tIns|32779", "Cu&t\tCtrl+X|57635", "&Copy\tCtrl+C|57634",
                              "&Paste\tCtrl+V|57637", "&Delete\tDel|57632",
                              "Select all\tCtrl+A|57642"}));
        const QList<QAction*> actions = menu->actions();
        for (const QAction* action : actions) {
            QVERIFY(action->isEnabled());
        }
        // An entry runs its command on this list.
        actions[4]->trigger();
        QCOMPARE(Keys(*view), (QStringList{"lamport", "abel"}));
    }

    void statusTextAndPrintTitle_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("title");
        QTest::newRow("one file") << "refs"
                                  << "\t3 entries"
                                  << "refs.bib";
        QTest::newRow("all files") << ""
                                   << "\t5 entries"
                                   << "";
    }
    void statusTextAndPrintTitle() {
        QFETCH(QString, file);
        QFETCH(QString, status);
        QFETCH(QString, title);
        Project p;
        auto view = p.List(file.toStdString());
        QCOMPARE(QString::fromStdString(view->GetCountText().value()), status);
        QCOMPARE(view->GetPrintTitle(), title);
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("thesis.qvp")).toStdString();
        QVERIFY(p.doc.SaveProject(path));
        QCOMPARE(view->GetPrintTitle(),
                 title.isEmpty() ? QString::fromStdString(p.doc.GetPathName()) : title);
    }
};

QTEST_MAIN(TestItemsView)
#include "tst_itemsview.moc"
