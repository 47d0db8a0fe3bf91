// The appearance dialog: the column lists of "Main window" with their moves
// and selection rules, the ignored fields of "Property window", and what OK
// and Apply write into the appearance settings.
#include "app/MainFrame.h"
#include "dialogs/AppearanceDlg.h"
#include "dialogs/AppearanceMainViewPP.h"
#include "dialogs/AppearancePropViewPP.h"
#include "project/CommandIds.h"
#include "project/QVNSettings.h"
#include "support/DialogFixture.h"
#include "views/ItemsListModel.h"
#include "views/QVNBibTeXView.h"
#include "views/QVNPropertyView.h"
#include "views/QVNTreeView.h"

#include <QCheckBox>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

QStringList Names(const QListWidget& list) {
    QStringList names;
    for (int i = 0; i < list.count(); ++i) {
        names << list.item(i)->text();
    }
    return names;
}

QString Current(const QListWidget& list) {
    const QList<QListWidgetItem*> selected = list.selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void Select(QListWidget& list, const QString& name) {
    const QList<QListWidgetItem*> found = list.findItems(name, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    list.setCurrentItem(found.first());
}

std::vector<int> Columns(const CQVNSettings& settings) {
    std::vector<int> columns;
    for (int i = 0; i < settings.GetColumnCount(); ++i) {
        columns.push_back(settings.GetColumnField(i));
    }
    return columns;
}

} // namespace

class TestAppearance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tabsAndTexts() {
        DialogProject p;
        CQVNSettings settings;
        CAppearanceDlg dialog(p.doc, settings);
        QCOMPARE(dialog.GetTabs()->count(), 3);
        QCOMPARE(dialog.GetTabs()->tabText(0), QStringLiteral("Main window"));
        QCOMPARE(dialog.GetTabs()->tabText(1), QStringLiteral("Property window"));
        QCOMPARE(dialog.GetTabs()->tabText(2), QStringLiteral("Saving"));
        CAppearanceMainViewPP* main = dialog.GetMainViewPage();
        QCOMPARE(main->GetAddButton()->text(), QStringLiteral("-->"));
        QCOMPARE(main->GetRemoveButton()->text(), QStringLiteral("<--"));
        QCOMPARE(main->GetAddAllButton()->text(), QStringLiteral("->>"));
        QCOMPARE(main->GetRemoveAllButton()->text(), QStringLiteral("<<-"));
        CAppearancePropViewPP* prop = dialog.GetPropViewPage();
        QCOMPARE(prop->GetShowIgnoredBox()->text(),
                 QStringLiteral("&Show ignored BibTeX fields in property window."));
        QCOMPARE(prop->GetFieldList()->headerItem()->text(0), QStringLiteral("Field name"));
        QCOMPARE(prop->GetFieldList()->header()->sectionSize(0), 200);
        QCOMPARE(prop->GetAllButton()->text(), QStringLiteral("&All"));
        QCOMPARE(prop->GetNoneButton()->text(), QStringLiteral("&None"));
        QCOMPARE(prop->GetResetButton()->text(), QStringLiteral("&Reset"));
        QVERIFY(!dialog.GetApplyButton()->isEnabled());
    }

    void listsStartFromTheSettings() {
        DialogProject p;
        CQVNSettings settings;
        settings.ClearColumns();
        settings.AddColumn(kFieldYear);
        settings.AddColumn(kFieldAbstract);
        CAppearanceDlg dialog(p.doc, settings);
        QListWidget* available = dialog.GetMainViewPage()->GetAvailableList();
        QListWidget* selected = dialog.GetMainViewPage()->GetSelectedList();
        // The right list in the settings' order, the left one sorted.
        QCOMPARE(Names(*selected), QStringList({"year", "abstract"}));
        QCOMPARE(available->count(), 36);
        QStringList sorted = Names(*available);
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(Names(*available), sorted);
        QVERIFY(!Names(*available).contains(QStringLiteral("year")));
    }

    void moves_data() {
        QTest::addColumn<QString>("list");   // "left" or "right": where to select
        QTest::addColumn<QString>("select"); // "" selects nothing
        QTest::addColumn<QString>("action"); // "add", "remove", "double click"
        QTest::addColumn<QStringList>("right");
        QTest::addColumn<QString>("leftCurrent");
        QTest::addColumn<QString>("rightCurrent");
        QTest::addColumn<int>("leftCount");
        // Start: right author, title, keywords; left the other 35, sorted.
        QTest::newRow("add the first")
            << "left"
            << "abstract"
            << "add" << QStringList{"author", "title", "keywords", "abstract"} << "address"
            << "abstract" << 34;
        QTest::newRow("add one in the middle")
            << "left"
            << "journal"
            << "add" << QStringList{"author", "title", "keywords", "journal"} << "key"
            << "journal" << 34;
        QTest::newRow("add the last")
            << "left"
            << "year"
            << "add" << QStringList{"author", "title", "keywords", "year"} << "volume"
            << "year" << 34;
        QTest::newRow("add without selection")
            << "left"
            << ""
            << "add" << QStringList{"author", "title", "keywords"} << ""
            << "" << 35;
        QTest::newRow("remove one in the middle")
            << "right"
            << "title"
            << "remove" << QStringList{"author", "keywords"} << "title"
            << "keywords" << 36;
        QTest::newRow("remove the last") << "right"
                                         << "keywords"
                                         << "remove" << QStringList{"author", "title"} << "keywords"
                                         << "title" << 36;
        QTest::newRow("remove without selection")
            << "right"
            << ""
            << "remove" << QStringList{"author", "title", "keywords"} << ""
            << "" << 35;
        QTest::newRow("double click on the left")
            << "left"
            << "url"
            << "double click" << QStringList{"author", "title", "keywords", "url"} << "volume"
            << "url" << 34;
        QTest::newRow("double click on the right")
            << "right"
            << "author"
            << "double click" << QStringList{"title", "keywords"} << "author"
            << "title" << 36;
    }
    void moves() {
        QFETCH(QString, list);
        QFETCH(QString, select);
        QFETCH(QString, action);
        QFETCH(QStringList, right);
        QFETCH(QString, leftCurrent);
        QFETCH(QString, rightCurrent);
        QFETCH(int, leftCount);
        DialogProject p;
        CQVNSettings settings;
        CAppearanceDlg dialog(p.doc, settings);
        QVERIFY(ShowWindow(dialog));
        CAppearanceMainViewPP* page = dialog.GetMainViewPage();
        QListWidget* available = page->GetAvailableList();
        QListWidget* selected = page->GetSelectedList();
        QListWidget* from = list == QStringLiteral("left") ? available : selected;
        available->clearSelection();
        selected->clearSelection();
        if (!select.isEmpty()) {
            Select(*from, select);
        }
        if (action == QStringLiteral("add")) {
            page->GetAddButton()->click();
        } else if (action == QStringLiteral("remove")) {
            page->GetRemoveButton()->click();
        } else {
            QListWidgetItem* item = from->currentItem();
            from->scrollToItem(item);
            const QPoint at = from->visualItemRect(item).center();
            // A double click is a click followed by a second press.
            QTest::mouseClick(from->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(from->viewport(), Qt::LeftButton, {}, at);
        }
        QCOMPARE(Names(*selected), right);
        QCOMPARE(available->count(), leftCount);
        QCOMPARE(Current(*available), leftCurrent);
        QCOMPARE(Current(*selected), rightCurrent);
        QStringList sorted = Names(*available);
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(Names(*available), sorted);
        QCOMPARE(dialog.GetApplyButton()->isEnabled(), !select.isEmpty());
    }

    void addAllThenOkGivesEveryColumnInCatalogueOrder() {
        DialogProject p;
        CQVNSettings settings;
        CAppearanceDlg dialog(p.doc, settings);
        CAppearanceMainViewPP* page = dialog.GetMainViewPage();
        page->GetAddAllButton()->click();
        QCOMPARE(page->GetAvailableList()->count(), 0);
        QCOMPARE(page->GetSelectedList()->count(), 38);
        QCOMPARE(page->GetSelectedList()->item(0)->text(), QStringLiteral("abstract"));
        QCOMPARE(page->GetSelectedList()->item(37)->text(), QStringLiteral("year"));
        QCOMPARE(Current(*page->GetSelectedList()), QStringLiteral("abstract"));
        dialog.accept();
        std::vector<int> all(38);
        std::iota(all.begin(), all.end(), 0);
        QCOMPARE(Columns(settings), all);
        QCOMPARE(p.hints.Sent(), (std::vector<SentHint>{{UpdateHint::Columns, false},
                                                        {UpdateHint::IgnoredFields, false}}));
    }

    void removeAllThenAddInOrder() {
        DialogProject p;
        CQVNSettings settings;
        CAppearanceDlg dialog(p.doc, settings);
        CAppearanceMainViewPP* page = dialog.GetMainViewPage();
        page->GetRemoveAllButton()->click();
        QCOMPARE(page->GetSelectedList()->count(), 0);
        QCOMPARE(page->GetAvailableList()->count(), 38);
        QCOMPARE(Current(*page->GetAvailableList()), QStringLiteral("abstract"));
        Select(*page->GetAvailableList(), QStringLiteral("year"));
        page->Add();
        Select(*page->GetAvailableList(), QStringLiteral("author"));
        page->Add();
        dialog.accept();
        QCOMPARE(Columns(settings), (std::vector<int>{kFieldYear, kFieldAuthor}));
    }

    void cancelWritesNothing() {
        DialogProject p;
        CQVNSettings settings;
        const CQVNSettings before = settings;
        CAppearanceDlg dialog(p.doc, settings);
        dialog.GetMainViewPage()->AddAll();
        dialog.GetPropViewPage()->GetShowIgnoredBox()->click();
        dialog.reject();
        QVERIFY(settings == before);
        QVERIFY(p.hints.hints.empty());
    }

    void applyWritesAndStaysOpen() {
        DialogProject p;
        CQVNSettings settings;
        CAppearanceDlg dialog(p.doc, settings);
        QVERIFY(ShowWindow(dialog));
        dialog.GetMainViewPage()->RemoveAll();
        QVERIFY(dialog.GetApplyButton()->isEnabled());
        dialog.GetApplyButton()->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(settings.GetColumnCount(), 0);
        QVERIFY(!dialog.GetApplyButton()->isEnabled());
        QCOMPARE(p.hints.hints.size(), std::size_t(2));
    }

    void ignoredFieldsStartFromTheSettings_data() {
        QTest::addColumn<bool>("show");
        QTest::newRow("hidden") << false;
        QTest::newRow("shown") << true;
    }
    void ignoredFieldsStartFromTheSettings() {
        QFETCH(bool, show);
        DialogProject p;
        CQVNSettings settings;
        settings.SetShowIgnoredFields(show);
        CAppearanceDlg dialog(p.doc, settings);
        CAppearancePropViewPP* page = dialog.GetPropViewPage();
        QCOMPARE(page->GetShowIgnoredBox()->isChecked(), show);
        QTreeWidget* list = page->GetFieldList();
        QCOMPARE(list->topLevelItemCount(), 38);
        for (int field = 0; field < 38; ++field) {
            const bool hidden = field == kFieldLccn || field == kFieldPrice;
            QCOMPARE(list->topLevelItem(field)->checkState(0),
                     hidden ? Qt::Unchecked : Qt::Checked);
        }
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("abstract"));
        for (QWidget* w :
             std::initializer_list<QWidget*>{list, page->GetListCaption(), page->GetAllButton(),
                                             page->GetNoneButton(), page->GetResetButton()}) {
            QCOMPARE(w->isEnabled(), show);
        }
        QCOMPARE(page->GetDescription()->text(), QStringLiteral(" "));
        // Clicking the box switches them.
        page->GetShowIgnoredBox()->click();
        QCOMPARE(list->isEnabled(), !show);
        QCOMPARE(page->GetAllButton()->isEnabled(), !show);
        QCOMPARE(page->GetListCaption()->isEnabled(), !show);
    }

    void descriptionFollowsTheRow() {
        DialogProject p;
        CQVNSettings settings;
        settings.SetShowIgnoredFields(true);
        CAppearanceDlg dialog(p.doc, settings);
        CAppearancePropViewPP* page = dialog.GetPropViewPage();
        QTreeWidget* list = page->GetFieldList();
        list->setCurrentItem(list->topLevelItem(kFieldTitle));
        QCOMPARE(page->GetDescription()->text(), QStringLiteral(" The work's title."));
        list->topLevelItem(kFieldYear)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(page->GetDescription()->text(),
                 QStringLiteral(" The year of publication or, for an unpublished work, the year "
                                "it was written. It should only consist of numerals, such as "
                                "1976."));
        page->GetShowIgnoredBox()->click();
        QCOMPARE(page->GetDescription()->text(), QStringLiteral(" "));
    }

    void allNoneAndReset() {
        DialogProject p;
        CQVNSettings settings;
        settings.SetShowIgnoredFields(true);
        CAppearanceDlg dialog(p.doc, settings);
        CAppearancePropViewPP* page = dialog.GetPropViewPage();
        QTreeWidget* list = page->GetFieldList();
        const auto checkedCount = [list] {
            int n = 0;
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                n += list->topLevelItem(i)->checkState(0) == Qt::Checked ? 1 : 0;
            }
            return n;
        };
        QCOMPARE(checkedCount(), 36);
        page->GetAllButton()->click();
        QCOMPARE(checkedCount(), 38);
        page->GetNoneButton()->click();
        QCOMPARE(checkedCount(), 0);
        page->GetResetButton()->click();
        QCOMPARE(checkedCount(), 36);
        QVERIFY(list->isEnabled());
    }

    void okWritesTheIgnoredFields() {
        DialogProject p;
        CQVNSettings settings;
        settings.SetShowIgnoredFields(true);
        CAppearanceDlg dialog(p.doc, settings);
        CAppearancePropViewPP* page = dialog.GetPropViewPage();
        page->GetFieldList()->topLevelItem(kFieldNote)->setCheckState(0, Qt::Unchecked);
        page->GetFieldList()->topLevelItem(kFieldLccn)->setCheckState(0, Qt::Checked);
        dialog.accept();
        QVERIFY(settings.GetShowIgnoredFields());
        QVERIFY(!settings.IsIgnoredFieldShown(kFieldNote));
        QVERIFY(settings.IsIgnoredFieldShown(kFieldLccn));
        QVERIFY(!settings.IsIgnoredFieldShown(kFieldPrice));
        QVERIFY(settings.IsIgnoredFieldShown(kFieldAbstract));
    }

    void uncheckingShowIgnoredIsWritten() {
        DialogProject p;
        CQVNSettings settings;
        settings.SetShowIgnoredFields(true);
        CAppearanceDlg dialog(p.doc, settings);
        dialog.GetPropViewPage()->GetShowIgnoredBox()->click();
        QVERIFY(dialog.GetApplyButton()->isEnabled());
        dialog.accept();
        QVERIFY(!settings.GetShowIgnoredFields());
        QCOMPARE(p.hints.Sent().back(), (SentHint{UpdateHint::IgnoredFields, false}));
    }

    void appearanceCommandOfTheMainWindow() {
        AppSession session;
        QTemporaryDir dir;
        QVERIFY(StartWithProject(session, dir));
        ScriptDialog<CAppearanceDlg>(session.dialogs, [](CAppearanceDlg* appearance) {
            appearance->GetMainViewPage()->AddAll();
            appearance->accept();
        });
        QVERIFY(session.app.GetMainFrame()->RouteCommand(ID_APPEARANCE));
        QCOMPARE(session.dialogs.dialogTitles, std::vector<QString>{QStringLiteral("Appearance")});
        QCOMPARE(session.app.GetAppearance().GetColumnCount(), 38);
    }

    void shownItemSurvivesNewColumns() {
        // OK pressed with Enter: the release of that key reaches the list once
        // the dialog is gone, and the list announces its selection again.
        AppSession session;
        QTemporaryDir dir;
        QVERIFY(StartWithProject(session, dir));
        CMainFrame& frame = *session.app.GetMainFrame();
        auto* tree = qobject_cast<CQVNTreeView*>(frame.GetExplorerPane()->widget());
        auto* properties = qobject_cast<CQVNPropertyView*>(frame.GetPropertyPane()->widget());
        QVERIFY(tree != nullptr && properties != nullptr);
        tree->SelectNode(tree->GetFileNode("file0"));
        QCoreApplication::processEvents();
        auto* list = qobject_cast<CQVNBibTeXView*>(frame.GetMainView());
        QVERIFY(list != nullptr);
        list->SelectRow(list->FindRow("key0_1"));
        list->SelectionChanged(true);
        QVERIFY(properties->GetItem() != nullptr);
        QCOMPARE(properties->GetItem()->GetKey(), std::string("key0_1"));

        ScriptDialog<CAppearanceDlg>(session.dialogs, [](CAppearanceDlg* appearance) {
            appearance->GetMainViewPage()->AddAll();
            appearance->accept();
        });
        QVERIFY(frame.RouteCommand(ID_APPEARANCE));
        // The key, the 38 fields and the marks of items with problems.
        QCOMPARE(list->GetSourceModel()->columnCount(), 40);
        const std::vector<int> rows = list->GetSelectedRows();
        QCOMPARE(rows.size(), std::size_t{1});
        QCOMPARE(rows.front(), list->FindRow("key0_1"));

        QTest::keyRelease(list->GetCurrentView(), Qt::Key_Return);
        QVERIFY(properties->GetItem() != nullptr);
        QCOMPARE(properties->GetItem()->GetKey(), std::string("key0_1"));
    }
};

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
