// Finding and reading items in the running program: the quick filter above
// the items lists, TeX shown as text, and the marks of items with problems in
// the lists and the property window.
#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "app/StatusPane.h"
#include "project/CommandIds.h"
#include "project/QVNSettings.h"
#include "support/AppTestCase.h"
#include "support/ListTestSupport.h"
#include "views/ItemPropHost.h"
#include "views/ItemsListModel.h"
#include "views/ProblemCheckRunner.h"
#include "views/QVNBibTeXView.h"
#include "views/QVNPropertyView.h"
#include "widgets/PropCtrl.h"
#include "widgets/PropHost.h"
#include "widgets/PropListCtrl.h"
#include "widgets/PropModel.h"
#include "widgets/Property.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QSortFilterProxyModel>
#include <QTest>
#include <QTreeView>

using listtest::Column;
using listtest::Item;
using listtest::Keys;

class TestQuickFilter : public QObject, public AppTestCase {
    Q_OBJECT

private:
    CMainFrame& Frame() { return *m_app->GetMainFrame(); }
    CQVNDoc& Doc() { return m_app->GetDocument(); }

    // A running program with one file of five items, its list shown.
    CQVNBibTeXView* StartWithItems() {
        if (!m_app->Start({QStringLiteral("quorvane")})) {
            return nullptr;
        }
        listtest::StartProject(Doc());
        Doc().AddItem(Item("refs", "mueller", "article",
                           {{kFieldAuthor, "{M{\\\"u}ller, Hans}"},
                            {kFieldTitle, "{Gau{\\ss}ian Sums -- a Survey}"},
                            {kFieldJournal, "{J}"},
                            {kFieldYear, "2001"}}));
        Doc().AddItem(Item("refs", "muller2", "article",
                           {{kFieldAuthor, "{Müller, Eva}"},
                            {kFieldTitle, "{Zeta}"},
                            {kFieldJournal, "{J}"},
                            {kFieldYear, "1999"}}));
        Doc().AddItem(Item("refs", "abel", "article",
                           {{kFieldAuthor, "{\\O{}stergaard, Abel}"},
                            {kFieldTitle, "{Alpha}"},
                            {kFieldJournal, "{J}"},
                            {kFieldYear, "2001"}}));
        // No author, no journal: two problems.
        Doc().AddItem(
            Item("refs", "broken", "article", {{kFieldTitle, "{Beta}"}, {kFieldYear, "1990"}}));
        Doc().AddItem(Item("refs", "zed", "misc", {{kFieldTitle, "{Miller's tale}"}}));
        m_app->GetAppearance().ClearColumns();
        m_app->GetAppearance().AddColumn(kFieldAuthor);
        m_app->GetAppearance().AddColumn(kFieldTitle);
        Doc().UpdateAllViews(nullptr, UpdateHint::Columns);
        return listtest::ShowItems(*m_app, "refs");
    }
    void Type(QWidget* target, const QString& text) {
        QTest::keyClicks(target, text);
        QApplication::processEvents();
    }

private Q_SLOTS:
    void init() { StartSession(); }
    void cleanup() { EndSession(); }

    void ctrlLTypingAndEscape() {
        CQVNBibTeXView* view = StartWithItems();
        QVERIFY(view != nullptr);
        Frame().show();
        QVERIFY(QTest::qWaitForWindowExposed(&Frame()));
        QTRY_COMPARE(view->GetShownCount(), 5);
        view->GetDetailsView()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(), view->GetFilterBox());

        // Accents, braces and letter case do not matter, nor word order.
        Type(view->GetFilterBox(), QStringLiteral("MULLER"));
        QTRY_COMPARE(Keys(*view), (QStringList{"mueller", "muller2"}));
        Frame().updateActions();
        QCOMPARE(Frame().GetCountPane()->GetPaneText(), QStringLiteral("\t2 of 5 entries"));
        Type(view->GetFilterBox(), QStringLiteral(" gaussian"));
        QTRY_COMPARE(Keys(*view), QStringList{"mueller"});
        view->GetFilterBox()->setText(QStringLiteral("survey   hans"));
        QTRY_COMPARE(Keys(*view), QStringList{"mueller"});
        view->GetFilterBox()->setText(QStringLiteral("ostergaard"));
        QTRY_COMPARE(Keys(*view), QStringList{"abel"});
        // The type name counts too.
        view->GetFilterBox()->setText(QStringLiteral("misc"));
        QTRY_COMPARE(Keys(*view), QStringList{"zed"});

        QTest::keyClick(view->GetFilterBox(), Qt::Key_Escape);
        QTRY_COMPARE(view->GetShownCount(), 5);
        QCOMPARE(view->GetFilterBox()->text(), QString());
        Frame().updateActions();
        QCOMPARE(Frame().GetCountPane()->GetPaneText(), QStringLiteral("\t5 entries"));
        // A second Escape goes back to the list.
        QTest::keyClick(view->GetFilterBox(), Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), view->GetDetailsView());
    }

    void commandsWorkOnTheShownRows() {
        CQVNBibTeXView* view = StartWithItems();
        QVERIFY(view != nullptr);
        QTRY_COMPARE(view->GetShownCount(), 5);
        view->SelectAll();
        view->GetFilterBox()->setText(QStringLiteral("2001"));
        view->ApplyFilter();
        QCOMPARE(Keys(*view), (QStringList{"mueller", "abel"}));
        // Select all, copy and the print-out take the shown rows only.
        view->SelectAll();
        QVERIFY(view->ExecuteCommand(ID_EDIT_COPY));
        const QString copied = QApplication::clipboard()->text();
        QVERIFY(copied.contains(QStringLiteral("@article{mueller")));
        QVERIFY(copied.contains(QStringLiteral("@article{abel")));
        QVERIFY(!copied.contains(QStringLiteral("muller2")));
        QCOMPARE(view->MakePrinter().Body().size(), 3);
        // Sorting sorts the shown rows, and the filter stays.
        view->SortItems(0, true);
        QCOMPARE(Keys(*view), (QStringList{"abel", "mueller"}));
        // A new item that matches shows up when the list is filled again.
        Doc().AddItem(Item("refs", "new2001", "misc", {{kFieldYear, "2001"}}));
        Doc().UpdateAllViews(nullptr, UpdateHint::Bulk);
        QTRY_COMPARE(view->GetShownCount(), 3);
        // Deleting the shown rows deletes those items and no other.
        view->SelectAll();
        QVERIFY(view->ExecuteCommand(ID_EDIT_CLEAR));
        QCOMPARE(Doc().GetItemCount("refs"), 3);
        QVERIFY(Doc().GetItems().FindKey("muller2") != nullptr);
    }

    void texShownAsTextAndSortedByIt() {
        CQVNBibTeXView* view = StartWithItems();
        QVERIFY(view != nullptr);
        QTRY_COMPARE(view->GetShownCount(), 5);
        view->SortItems(1, true);
        // The author column as shown: accents as letters, braces gone.
        QCOMPARE(Column(*view->GetProxy(), 1),
                 (QStringList{"", "", "Müller, Eva", "Müller, Hans", "Østergaard, Abel"}));
        QCOMPARE(view->GetProxy()->index(3, 2).data().toString(),
                 QStringLiteral("Gaußian Sums – a Survey"));
        // The stored value is untouched.
        QCOMPARE(QString::fromStdString(
                     std::string(Doc().GetItems().FindKey("mueller")->GetValue(kFieldAuthor))),
                 QStringLiteral("{M{\\\"u}ller, Hans}"));

        m_app->GetAppearance().SetShowTexAsText(false);
        Doc().UpdateAllViews(nullptr, UpdateHint::Columns);
        view->SortItems(1, true);
        QCOMPARE(Column(*view->GetProxy(), 1), (QStringList{"", "", "\\O{}stergaard, Abel",
                                                            "M{\\\"u}ller, Hans", "Müller, Eva"}));
    }

    void problemsAreMarkedInTheListAndTheProperties() {
        CQVNBibTeXView* view = StartWithItems();
        QVERIFY(view != nullptr);
        QTRY_COMPARE(view->GetShownCount(), 5);
        m_app->GetProblemCheck().Finish();
        const CItemsListModel* model = view->GetModel();
        const int column = model->GetProblemColumn();
        QVERIFY(column > 0);
        // The narrow column of marks comes first on the screen.
        QCOMPARE(view->GetDetailsView()->header()->visualIndex(column), 0);
        QSortFilterProxyModel* proxy = view->GetProxy();
        const QStringList keys = Keys(*view);
        const int broken = static_cast<int>(keys.indexOf(QStringLiteral("broken")));
        const int abel = static_cast<int>(keys.indexOf(QStringLiteral("abel")));
        QVERIFY(!proxy->index(broken, column).data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(proxy->index(abel, column).data(Qt::DecorationRole).isNull());
        QCOMPARE(proxy->index(broken, column).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("required field 'author' is empty\n"
                                "required field 'journal' is empty"));
        QCOMPARE(proxy->index(broken, column).data().toString(), QString());
        // The print-out has no column of marks.
        QVERIFY(view->MakePrinter().Body().first().startsWith(QStringLiteral("Name (Key)")));

        // The property window marks the field; after an edit the mark goes.
        CBibTexEntry* item = Doc().GetItems().FindKey("broken");
        Doc().UpdateAllViews(nullptr, UpdateHint::Change, item);
        auto* props = Frame().findChild<CQVNPropertyView*>();
        QVERIFY(props != nullptr);
        EPropCtrl* ctrl = props->GetPropCtrl();
        const auto markOf = [ctrl](int field) {
            const EProperty* prop = ctrl->FindProperty(field);
            const auto* model = static_cast<const EPropModel*>(ctrl->GetListCtrl()->model());
            const bool icon = !model->IndexOf(prop).data(Qt::DecorationRole).isNull();
            const QString mark = ctrl->GetHost()->GetPropertyMark(*prop);
            return icon == !mark.isEmpty() ? mark : QStringLiteral("icon and mark disagree");
        };
        QCOMPARE(markOf(kFieldAuthor), QStringLiteral("required field 'author' is empty"));
        QCOMPARE(markOf(kFieldTitle), QString());
        item->SetField(kFieldAuthor, "{Someone}", true);
        Doc().UpdateAllViews(nullptr, UpdateHint::Change, item);
        QTRY_COMPARE(markOf(kFieldAuthor), QString());
        QCOMPARE(markOf(kFieldJournal), QStringLiteral("required field 'journal' is empty"));
        QCOMPARE(proxy->index(broken, column).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("required field 'journal' is empty"));
    }
};

QTEST_MAIN(TestQuickFilter)
#include "tst_quickfilter.moc"
