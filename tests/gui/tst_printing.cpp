// Printing of the lists: the columns sized to their content within the
// 81-character text block, the printed lines, and the number of pages for a
// number of rows, printed to PDF files.
#include "../support/ScriptedUi.h"
#include "app/Resources.h"
#include "support/ListTestSupport.h"
#include "views/QVNBibTeXView.h"
#include "views/QVNProjectView.h"
#include "views/QVNStringView.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// The pages of a PDF file: its page objects.
int PdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray bytes = file.readAll();
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![s\\w])"));
    return static_cast<int>(QString::fromLatin1(bytes).count(page));
}

void UsePdf(QPrinter& printer, const QString& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
}

// The lines per page the lists print on `printer`.
int LinesPerPage(CQVNListView& view, QPrinter& printer) {
    QPainter painter(&printer);
    const int lines = view.MakePrinter().BeginMetrics(painter).linesPerPage;
    painter.end();
    return lines;
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qvn::InitResources(); }

    // A column needs its longest text; "n" marks a column of numbers, "t"
    // one of text.
    void columnsFollowTheirContent_data() {
        QTest::addColumn<QList<int>>("needs");
        QTest::addColumn<QString>("kinds");
        QTest::addColumn<QList<int>>("chars");
        QTest::newRow("all fit") << QList<int>{8, 5, 20} << "tnt" << QList<int>{8, 5, 20};
        // 79 characters besides the blanks: the number keeps 5, the name
        // its 12, the location the 62 left.
        QTest::newRow("long location") << QList<int>{12, 5, 70} << "tnt" << QList<int>{12, 5, 62};
        // Two long texts share the 75 left by the number.
        QTest::newRow("long texts share")
            << QList<int>{200, 130, 4} << "ttn" << QList<int>{38, 37, 4};
        QTest::newRow("numbers are never cut") << QList<int>{60, 30} << "tn" << QList<int>{50, 30};
        QTest::newRow("narrow column whole") << QList<int>{1000, 2} << "tt" << QList<int>{78, 2};
        // 25 long columns: 16 get four characters or more, the rest none.
        QList<int> many(25, 100);
        QList<int> printed{5, 5};
        printed << QList<int>(14, 4);
        QTest::newRow("too many columns") << many << QString(25, QLatin1Char('t')) << printed;
        QTest::newRow("no column") << QList<int>{} << QString() << QList<int>{};
    }
    void columnsFollowTheirContent() {
        QFETCH(QList<int>, needs);
        QFETCH(QString, kinds);
        QFETCH(QList<int>, chars);
        std::vector<CListPrinter::ColumnNeed> columns;
        for (qsizetype i = 0; i < needs.size(); ++i) {
            columns.push_back({needs[i], kinds.at(i) == QLatin1Char('n')});
        }
        const std::vector<int> got = CListPrinter::ColumnChars(columns);
        QCOMPARE(QList<int>(got.begin(), got.end()), chars);
    }

    void printedLines_data() {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QList<int>>("chars");
        QTest::addColumn<QString>("line");
        QTest::newRow("padded and cut")
            << QStringList{"abcdefgh", "xy"} << QList<int>{6, 3} << "abc... xy";
        QTest::newRow("exactly as wide")
            << QStringList{"abcd", "z"} << QList<int>{4, 1} << "abcd z";
        QTest::newRow("last not padded") << QStringList{"a", "b"} << QList<int>{2, 5} << "a  b";
        QTest::newRow("line breaks")
            << QStringList{"x\ny", "t\tz"} << QList<int>{3, 3} << "x y t z";
        QTest::newRow("full width")
            << QStringList{QString(100, QLatin1Char('k')), "v"} << QList<int>{40, 40}
            << QString(37, QLatin1Char('k')) + "... v";
    }
    void printedLines() {
        QFETCH(QStringList, cells);
        QFETCH(QList<int>, chars);
        QFETCH(QString, line);
        QCOMPARE(CListPrinter::FormatLine(cells, std::vector<int>(chars.begin(), chars.end())),
                 line);
    }

    // The files list of a large project in a wide window, where the location
    // takes most of the screen: the printed values are whole, or end in
    // "..." where the page cuts them; counts are never cut.
    void filesListPrintsItsValues_data() {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("short location")
            << "/home/ana/bib"
            << QStringList{"Name         Size  BibTeX Location",
                           "@strings     53    /home/ana/bib/strings.bib",
                           "BibTeX files 2     /home/ana/bib", "BibTeX items 10824 /home/ana/bib"};
        const QString deep = "/home/ana/" + QString(70, QLatin1Char('d'));
        QTest::newRow("location wider than the page")
            << deep
            << QStringList{"Name         Size  BibTeX Location",
                           "@strings     53    " + deep.left(59) + "...",
                           "BibTeX files 2     " + deep.left(59) + "...",
                           "BibTeX items 10824 " + deep.left(59) + "..."};
    }
    void filesListPrintsItsValues() {
        QFETCH(QString, location);
        QFETCH(QStringList, lines);
        ScriptedUi ui;
        CQVNDoc doc(&ui);
        doc.NewProject();
        doc.StartProject({"Large", location.toStdString(), "strings.bib"});
        for (int i = 0; i < 10824; ++i) {
            doc.AddItem(
                listtest::Item(i % 2 == 0 ? "file0" : "file1", "key" + std::to_string(i), "misc"));
        }
        for (int i = 0; i < 53; ++i) {
            doc.AddString("s" + std::to_string(i), "{Full string}", false);
        }
        CFakeViewHost host(doc);
        CQVNProjectView files(doc, host);
        files.resize(1300, 600);
        files.show();
        files.OnInitialUpdate();
        QCOMPARE(files.MakePrinter().Body(), lines);
    }

    void itemsListPagesFollowTheRows_data() {
        QTest::addColumn<int>("extra"); // rows beyond whole pages
        QTest::addColumn<int>("pages"); // pages beyond those
        QTest::addColumn<int>("wholePages");
        QTest::newRow("no rows") << 0 << 1 << 0;
        QTest::newRow("one row") << 1 << 1 << 0;
        QTest::newRow("one full page") << 0 << 0 << 1;
        QTest::newRow("one row more") << 1 << 1 << 1;
        QTest::newRow("two pages and a row") << 1 << 1 << 2;
    }
    void itemsListPagesFollowTheRows() {
        QFETCH(int, extra);
        QFETCH(int, pages);
        QFETCH(int, wholePages);
        ScriptedUi ui;
        CQVNDoc doc(&ui);
        listtest::StartProject(doc);
        CFakeViewHost host(doc);
        CQVNBibTeXView view(doc, host);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        UsePdf(printer, dir.filePath(QStringLiteral("metrics.pdf")));
        const int lines = LinesPerPage(view, printer);
        QVERIFY(lines > 10);
        const int rows = wholePages * lines + extra;
        for (int i = 0; i < rows; ++i) {
            doc.AddItem(listtest::Item("refs", "key" + std::to_string(i), "article",
                                       {{kFieldAuthor, "{A very long author name, Jr. and others}"},
                                        {kFieldTitle, "{A title that does not fit}"}}));
        }
        view.SetFileName("refs");
        view.Refill();
        const QString path = dir.filePath(QStringLiteral("items.pdf"));
        UsePdf(printer, path);
        view.RenderPages(printer);
        QCOMPARE(PdfPageCount(path), wholePages + pages);
    }

    void stringsAndFilesListsPrintTheirRows() {
        ScriptedUi ui;
        CQVNDoc doc(&ui);
        listtest::StartProject(doc);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        CFakeViewHost host(doc);
        CQVNStringView strings(doc, host);
        UsePdf(printer, dir.filePath(QStringLiteral("metrics.pdf")));
        const int lines = LinesPerPage(strings, printer);
        for (int i = 0; i < lines + 1; ++i) {
            doc.AddString("s" + std::to_string(i), "{Full string}", false);
        }
        strings.OnInitialUpdate();
        const QString stringsPdf = dir.filePath(QStringLiteral("strings.pdf"));
        UsePdf(printer, stringsPdf);
        strings.RenderPages(printer);
        QCOMPARE(PdfPageCount(stringsPdf), 2);

        CQVNProjectView files(doc, host);
        files.OnInitialUpdate();
        const QString filesPdf = dir.filePath(QStringLiteral("files.pdf"));
        UsePdf(printer, filesPdf);
        files.RenderPages(printer);
        QCOMPARE(PdfPageCount(filesPdf), 1);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
