// The search results: the items list, read-only, filled from the search
// whose label it holds.
#include "../support/ScriptedUi.h"
#include "app/Resources.h"
#include "project/CommandIds.h"
#include "search/Search.h"
#include "support/ListTestSupport.h"
#include "views/ItemsListModel.h"
#include "views/QVNSearchView.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QSortFilterProxyModel>
#include <QTest>
#include <QTreeView>

#include <memory>

using listtest::Item;
using listtest::Keys;

namespace {

struct Project {
    ScriptedUi ui;
    CQVNDoc doc{&ui};
    CFakeViewHost host{doc};
    CSearch* smith = nullptr;

    Project() {
        listtest::StartProject(doc);
        doc.AddItem(Item("refs", "s1", "book", {{kFieldAuthor, "{Smith}"}}));
        doc.AddItem(Item("refs", "j1", "book", {{kFieldAuthor, "{Jones}"}}));
        doc.AddItem(Item("more", "s2", "misc", {{kFieldAuthor, "{Goldsmith}"}}));
        smith = doc.MakeSearch("smith", kFieldAuthor);
        doc.SetModifiedFlag(false);
    }
    std::unique_ptr<CQVNSearchView> List(const std::string& label) {
        auto view = std::make_unique<CQVNSearchView>(doc, host);
        view->SetSearchLabel(label);
        doc.UpdateAllViews(nullptr, UpdateHint::Change);
        return view;
    }
};

bool Enabled(CQVNListView& view, int id) {
    CommandState state;
    return view.UpdateCommand(id, state) && state.enabled;
}

} // namespace

class TestSearchView : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qvn::InitResources(); }

    void showsTheResultsOfItsSearch() {
        Project p;
        QVERIFY(p.smith != nullptr);
        auto view = p.List(p.smith->GetLabel());
        QAbstractItemModelTester tester(view->GetModel(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(Keys(*view), (QStringList{"s1", "s2"}));
        QCOMPARE(view->GetProxy()->index(1, 1).data().toString(), QStringLiteral("Goldsmith"));
        // Counts all items of the project.
        QCOMPARE(QString::fromStdString(view->GetCountText().value()),
                 QStringLiteral("\t3 entries"));
        // The rows show the items' current values.
        p.doc.LookupItem("more", "s2")->SetField(kFieldAuthor, "{Goldsmith, O.}", true);
        p.doc.UpdateAllViews(nullptr, UpdateHint::Change);
        QCOMPARE(view->GetProxy()->index(1, 1).data().toString(), QStringLiteral("Goldsmith, O."));
    }

    void resultsKeepTheirOrder() {
        Project p;
        p.doc.AddItem(Item("more", "a-smith", "book", {{kFieldAuthor, "{Smithers}"}}));
        // Differs in case from the project's search: a new one, run now.
        CSearch* search = p.doc.MakeSearch("SMITH", kFieldAuthor);
        QVERIFY(search != nullptr);
        CQVNSearchView::ResetSharedSortState();
        CQVNBibTeXView files(p.doc, p.host);
        files.SetFileName("refs");
        files.Refill();
        files.SortItems(0, true);
        auto view = p.List(search->GetLabel());
        // Shared with the items lists, but the results stay in result order.
        QCOMPARE(view->GetSortColumn(), 0);
        QCOMPARE(Keys(*view), (QStringList{"s1", "s2", "a-smith"}));
        QVERIFY(!view->GetDetailsView()->header()->isSortIndicatorShown());
    }

    void withoutItsSearchTheRowsStay() {
        Project p;
        auto view = p.List(p.smith->GetLabel());
        view->SetSearchLabel("\"nothing\" (0 results) in \"author\"");
        p.doc.UpdateAllViews(nullptr, UpdateHint::Change);
        QCOMPARE(Keys(*view), (QStringList{"s1", "s2"}));
        // ... but none outlives its item.
        QVERIFY(p.doc.RemoveFile("more"));
        QCOMPARE(Keys(*view), (QStringList{"s1"}));
        // A new project clears the list.
        p.doc.NewProject();
        QCOMPARE(view->GetProxy()->rowCount(), 0);
    }

    void isReadOnly() {
        Project p;
        auto view = p.List(p.smith->GetLabel());
        view->SelectAll();
        QVERIFY(Enabled(*view, ID_EDIT_COPY));
        QVERIFY(Enabled(*view, ID_EDIT_SELECT_ALL));
        QVERIFY(!Enabled(*view, ID_EDIT_CUT));
        QVERIFY(!Enabled(*view, ID_EDIT_PASTE));
        QVERIFY(!Enabled(*view, ID_EDIT_CLEAR));
        QVERIFY(view->ExecuteCommand(ID_EDIT_COPY));
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("@book{s1,\n  author = {Smith}\n}\n\n"
                                "@misc{s2,\n  author = {Goldsmith}\n}\n\n"));
        QVERIFY(!view->ExecuteCommand(ID_EDIT_CUT));
        QTest::keyClick(view->GetDetailsView(), Qt::Key_Delete);
        view->DeleteSelection();
        view->PasteData("@book{new, title = {T}}");
        QCOMPARE(Keys(*view), (QStringList{"s1", "s2"}));
        QCOMPARE(p.doc.GetItems().GetTotalCount(), 3);
        QVERIFY(!p.doc.IsModified());
        // Nothing dragged over it is taken.
        QVERIFY(!listtest::AcceptsDrag(view->GetDetailsView()->viewport(),
                                       QStringLiteral("@book{new, title = {T}}")));
    }
};

QTEST_MAIN(TestSearchView)
#include "tst_searchview.moc"
