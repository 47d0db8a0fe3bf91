// Printing of the lists: the columns cut to the 81-character text block,
// the printed lines, and the number of pages for a number of rows, printed
// to PDF files.
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
    const int lines = view.BeginPrintMetrics(painter).linesPerPage;
    painter.end();
    return lines;
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qvn::InitResources(); }

    void columnsShareTheLine_data() {
        QTest::addColumn<QList<int>>("pixels");
        QTest::addColumn<QList<int>>("chars");
        QTest::newRow("one column") << QList<int>{200} << QList<int>{81};
        // 79 characters besides the two blanks, shared 200:130:60 (40, 26,
        // 12) and the rest to the last column.
        QTest::newRow("items list") << QList<int>{200, 130, 60} << QList<int>{40, 26, 13};
        QTest::newRow("strings list") << QList<int>{200, 500} << QList<int>{22, 58};
        // A narrow column keeps three characters; the widest gives them.
        QTest::newRow("narrow column") << QList<int>{1000, 1} << QList<int>{77, 3};
        // 25 columns do not fit with three characters each: 20 are printed.
        QList<int> many(25, 100);
        QList<int> printed(19, 3);
        printed << 5;
        QTest::newRow("too many columns") << many << printed;
        QTest::newRow("no column") << QList<int>{} << QList<int>{};
    }
    void columnsShareTheLine() {
        QFETCH(QList<int>, pixels);
        QFETCH(QList<int>, chars);
        const std::vector<int> got =
            CQVNListView::PrintColumnChars(std::vector<int>(pixels.begin(), pixels.end()));
        QCOMPARE(QList<int>(got.begin(), got.end()), chars);
    }

    void printedLines_data() {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QList<int>>("chars");
        QTest::addColumn<QString>("line");
        QTest::newRow("padded and cut")
            << QStringList{"abc", "defgh"} << QList<int>{4, 3} << "abc  def";
        QTest::newRow("last not padded") << QStringList{"a", "b"} << QList<int>{2, 5} << "a  b";
        QTest::newRow("line breaks")
            << QStringList{"x\ny", "t\tz"} << QList<int>{3, 3} << "x y t z";
        QTest::newRow("full width") << QStringList{QString(100, QLatin1Char('k')), "v"}
                                    << QList<int>{40, 40} << QString(40, QLatin1Char('k')) + " v";
    }
    void printedLines() {
        QFETCH(QStringList, cells);
        QFETCH(QList<int>, chars);
        QFETCH(QString, line);
        QCOMPARE(CQVNListView::FormatPrintLine(cells, std::vector<int>(chars.begin(), chars.end())),
                 line);
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
        CQVNBibTeXView view(doc, nullptr);
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
        CQVNStringView strings(doc, nullptr);
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

        CQVNProjectView files(doc, nullptr);
        files.OnInitialUpdate();
        const QString filesPdf = dir.filePath(QStringLiteral("files.pdf"));
        UsePdf(printer, filesPdf);
        files.RenderPages(printer);
        QCOMPARE(PdfPageCount(filesPdf), 1);
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
