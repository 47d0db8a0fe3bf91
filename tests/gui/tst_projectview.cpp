// The files list: its model (checked by QAbstractItemModelTester), its rows
// for a project, and how it follows the document's hints.
#include "app/Resources.h"
#include "project/QVNDoc.h"
#include "support/FakeViewHost.h"
#include "views/ProjectFilesModel.h"
#include "views/QVNProjectView.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTest>
#include <QTreeView>

#include <memory>

namespace {

void FillProject(CQVNDoc& doc, const std::string& location, const std::string& exportFolder,
                 const std::string& stringsFile) {
    doc.NewProject();
    doc.StartProject({"Files list", location, stringsFile});
    doc.GetSettings().SetLastExportFolder(exportFolder);
    for (int i = 0; i < 7; ++i) {
        const std::string file = i < 4 ? "chapter1" : "chapter2";
        doc.AddItem(std::make_unique<CBibTexEntry>(file, "key" + std::to_string(i), 1));
    }
    doc.AddString("jacm", "Journal of the ACM", false);
    doc.AddString("cacm", "Communications of the ACM", false);
}

QString Cell(const QAbstractItemModel& model, int row, int column) {
    return model.index(row, column).data().toString();
}

} // namespace

class TestProjectView : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qvn::InitResources(); }

    void emptyWithoutProject() {
        CQVNDoc doc;
        CProjectFilesModel model(doc);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.Refill();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 3);
    }

    void threeRowsForAProject_data() {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("exportFolder");
        QTest::addColumn<QString>("stringsFile");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("stringsPath");
        const QString sep = QDir::separator();
        QTest::newRow("location") << "/home/ana/thesis"
                                  << ""
                                  << "strings.bib"
                                  << "/home/ana/thesis"
                                  << "/home/ana/thesis" + sep + "strings.bib";
        // The last export folder wins over the location.
        QTest::newRow("export folder") << "/home/ana/thesis"
                                       << "/tmp/out"
                                       << "abbrev.BIB"
                                       << "/tmp/out"
                                       << "/tmp/out" + sep + "abbrev.BIB";
        QTest::newRow("folder with separator") << "/"
                                               << ""
                                               << "strings.bib"
                                               << "/"
                                               << "/strings.bib";
        // No folder: the name alone, not a path in the root folder.
        QTest::newRow("no folder") << ""
                                   << ""
                                   << "strings.bib"
                                   << ""
                                   << "strings.bib";
    }
    void threeRowsForAProject() {
        QFETCH(QString, location);
        QFETCH(QString, exportFolder);
        QFETCH(QString, stringsFile);
        QFETCH(QString, folder);
        QFETCH(QString, stringsPath);
        CQVNDoc doc;
        CProjectFilesModel model(doc);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        FillProject(doc, location.toStdString(), exportFolder.toStdString(),
                    stringsFile.toStdString());
        model.Refill();
        QCOMPARE(model.rowCount(), 3);
        const QStringList names = {"@strings", "BibTeX files", "BibTeX items"};
        const QStringList sizes = {"2", "2", "7"};
        const QStringList locations = {stringsPath, folder, folder};
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(Cell(model, row, 0), names[row]);
            QCOMPARE(Cell(model, row, 1), sizes[row]);
            QCOMPARE(Cell(model, row, 2), locations[row]);
            QVERIFY(!model.index(row, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
            QVERIFY(model.index(row, 1).data(Qt::DecorationRole).isNull());
        }
    }

    void headerAndAlignment() {
        CQVNDoc doc;
        CProjectFilesModel model(doc);
        const QStringList titles = {"Name", "Size", "BibTeX Location"};
        const QList<int> widths = {120, 80, 120};
        for (int column = 0; column < 3; ++column) {
            QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), titles[column]);
            QCOMPARE(CProjectFilesModel::ColumnWidth(column), widths[column]);
        }
        FillProject(doc, "/x", "", "strings.bib");
        model.Refill();
        QCOMPARE(model.index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
                 int(Qt::AlignRight));
        QCOMPARE(model.index(0, 0).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask,
                 int(Qt::AlignLeft));
    }

    void viewFollowsHints_data() {
        QTest::addColumn<int>("hint");
        QTest::addColumn<bool>("refilled");
        QTest::newRow("change") << int(UpdateHint::Change) << true;
        QTest::newRow("bulk") << int(UpdateHint::Bulk) << true;
        QTest::newRow("search") << int(UpdateHint::Search) << true;
        QTest::newRow("contents") << int(UpdateHint::Contents) << true;
        QTest::newRow("ignored fields") << int(UpdateHint::IgnoredFields) << false;
        QTest::newRow("columns") << int(UpdateHint::Columns) << true;
    }
    void viewFollowsHints() {
        QFETCH(int, hint);
        QFETCH(bool, refilled);
        CQVNDoc doc;
        FillProject(doc, "/x", "", "strings.bib");
        CFakeViewHost host(doc);
        CQVNProjectView view(doc, host);
        QAbstractItemModelTester tester(view.GetModel(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        view.OnInitialUpdate();
        QCOMPARE(Cell(*view.GetModel(), 2, 1), QStringLiteral("7"));
        doc.AddItem(std::make_unique<CBibTexEntry>("chapter3", "late", 0));
        doc.UpdateAllViews(nullptr, UpdateHint(hint));
        QCOMPARE(Cell(*view.GetModel(), 2, 1),
                 refilled ? QStringLiteral("8") : QStringLiteral("7"));
        // A view does not hear its own hints.
        doc.AddItem(std::make_unique<CBibTexEntry>("chapter3", "later", 0));
        doc.UpdateAllViews(&view, UpdateHint::Contents);
        QCOMPARE(Cell(*view.GetModel(), 2, 1),
                 refilled ? QStringLiteral("8") : QStringLiteral("7"));
    }

    void clearingTheProjectEmptiesTheList() {
        CQVNDoc doc;
        FillProject(doc, "/x", "", "strings.bib");
        CFakeViewHost host(doc);
        CQVNProjectView view(doc, host);
        view.OnInitialUpdate();
        QCOMPARE(view.GetModel()->rowCount(), 3);
        doc.NewProject();
        QCOMPARE(view.GetModel()->rowCount(), 0);
    }

    void columnsOfTheView() {
        CQVNDoc doc;
        CFakeViewHost host(doc);
        CQVNProjectView view(doc, host);
        QHeaderView* header = view.GetDetailsView()->header();
        QCOMPARE(header->sectionSize(0), 120);
        QCOMPARE(header->sectionSize(1), 80);
    }

    void headerClicksToggleTheSortDirection() {
        CQVNDoc doc;
        FillProject(doc, "/x", "", "strings.bib");
        CFakeViewHost host(doc);
        CQVNProjectView view(doc, host);
        view.OnInitialUpdate();
        QSortFilterProxyModel* proxy = view.GetProxy();
        QCOMPARE(view.GetSortColumn(), -1);
        // Starting from "descending", the first click sorts ascending.
        Q_EMIT view.GetDetailsView()->header()->sectionClicked(0);
        QVERIFY(view.GetSortAscending());
        QCOMPARE(Cell(*proxy, 0, 0), QStringLiteral("@strings"));
        QCOMPARE(Cell(*proxy, 2, 0), QStringLiteral("BibTeX items"));
        Q_EMIT view.GetDetailsView()->header()->sectionClicked(0);
        QVERIFY(!view.GetSortAscending());
        QCOMPARE(Cell(*proxy, 0, 0), QStringLiteral("BibTeX items"));
        // Another column after a descending sort: ascending. Sizes sort as
        // text: "2" < "7".
        Q_EMIT view.GetDetailsView()->header()->sectionClicked(1);
        QVERIFY(view.GetSortAscending());
        QCOMPARE(view.GetSortColumn(), 1);
        QCOMPARE(Cell(*proxy, 2, 1), QStringLiteral("7"));
        // A refill keeps the order.
        doc.UpdateAllViews(nullptr, UpdateHint::Contents);
        QCOMPARE(Cell(*proxy, 2, 1), QStringLiteral("7"));
    }

    void sortComparesTextIgnoringCase() {
        // Numbers sort as text.
        CQVNDoc doc;
        CFakeViewHost host(doc);
        CQVNProjectView view(doc, host);
        FillProject(doc, "/x", "", "strings.bib");
        for (int i = 0; i < 8; ++i) {
            doc.AddString("s" + std::to_string(i), "v", false);
        }
        view.OnInitialUpdate();
        view.SortItems(1, true);
        // Sizes: strings 10, files 2, items 7 -> "10" < "2" < "7".
        QCOMPARE(Cell(*view.GetProxy(), 0, 1), QStringLiteral("10"));
        QCOMPARE(Cell(*view.GetProxy(), 1, 1), QStringLiteral("2"));
        view.SortItems(0, true);
        QCOMPARE(Cell(*view.GetProxy(), 1, 0), QStringLiteral("BibTeX files"));
    }

    void selectionHelpers() {
        CQVNDoc doc;
        FillProject(doc, "/x", "", "strings.bib");
        CFakeViewHost host(doc);
        CQVNProjectView view(doc, host);
        view.OnInitialUpdate();
        QVERIFY(!view.HasSelection());
        view.SelectRow(1);
        QCOMPARE(view.GetSelectedRows(), std::vector<int>{1});
        view.InvertSelection();
        QCOMPARE(view.GetSelectedRows(), (std::vector<int>{0, 2}));
        view.SelectAll();
        QCOMPARE(view.GetSelectedRows(), (std::vector<int>{0, 1, 2}));
    }

    void pageHeader_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("expected");
        QTest::newRow("short") << "refs.bib" << 3
                               << "refs.bib" + QString(81 - 8 - 7, QLatin1Char(' ')) + "Seite 3";
        const QString sixtyEight(68, QLatin1Char('p'));
        QTest::newRow("68 characters")
            << sixtyEight << 1 << sixtyEight + QString(6, QLatin1Char(' ')) + "Seite 1";
        // Longer titles give way to the project's title.
        QTest::newRow("70 characters")
            << QString(70, QLatin1Char('p')) << 12
            << "thesis" + QString(81 - 6 - 8, QLatin1Char(' ')) + "Seite 12";
    }
    void pageHeader() {
        QFETCH(QString, title);
        QFETCH(int, page);
        QFETCH(QString, expected);
        const QString line = CListPrinter::FormatPageHeader(title, QStringLiteral("thesis"), page);
        QCOMPARE(line, expected);
        QCOMPARE(line.size(), 81);
    }
};

QTEST_MAIN(TestProjectView)
#include "tst_projectview.moc"
