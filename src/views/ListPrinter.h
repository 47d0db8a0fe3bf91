// Prints a list as it is shown: the rows in their order, the columns the
// list shows, in a monospace 81-character text block with a header line
// (title and page) on every page.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QAbstractItemModel;
class QHeaderView;
class QPainter;
class QPrinter;
class QWidget;

// Page geometry of a printout, in device pixels.
struct ListPrintMetrics {
    int blockWidth = 0;
    int leftMargin = 0;
    int linesPerPage = 0;
    int bodyLineCount = 0;
    int lineHeight = 0;
    int pageCount = 1;
};

class CListPrinter {
public:
    // `rows` as shown; `header` gives the visible columns in their order,
    // null for a display that shows the first column only. The page header
    // shows `title`, or `fallbackTitle` when the title is too long.
    CListPrinter(const QAbstractItemModel& rows, const QHeaderView* header, QString title,
                 QString fallbackTitle);

    // Leaves out the shown columns that `printed` refuses (columns of marks
    // that say nothing on paper).
    void SetPrintedColumns(std::function<bool(int column)> printed) {
        m_printed = std::move(printed);
    }

    // With the print dialog (`askFirst`) or directly.
    void Print(QPrinter& printer, bool askFirst, QWidget* parent);
    void Preview(QPrinter& printer, const QString& windowTitle, QWidget* parent);
    // Draws every page on `printer` (after its setup).
    void RenderPages(QPrinter& printer);
    // The page geometry on `painter`'s device in the print font (the
    // painter's font is set to it).
    ListPrintMetrics BeginMetrics(QPainter& painter) const;
    // The printed body: the column titles, then the rows, one line each.
    QStringList Body() const;

    static QString FormatPageHeader(const QString& title, const QString& fallbackTitle, int page);
    // What a printed column needs: the length of its longest text, title
    // included, and whether its values are all numbers.
    struct ColumnNeed {
        int chars = 0;
        bool number = false;
    };
    // Characters per printed column, one blank between columns, at most
    // `lineWidth` characters in all. Every column is as wide as its longest
    // text when they all fit; otherwise numbers keep their width and the
    // other columns share the rest, the narrow ones whole. Columns at the
    // end that get no room (four characters, a number its width) are left
    // out.
    static std::vector<int> ColumnChars(const std::vector<ColumnNeed>& needs, int lineWidth = 81);
    // One printed line: each cell padded to its width (the last one not); a
    // longer cell is cut and ends in "...", so that the cut shows. Line
    // breaks and tabs are shown as blanks.
    static QString FormatLine(const QStringList& cells, const std::vector<int>& chars);

private:
    struct Column {
        int column;
        int chars;
    };
    std::vector<Column> LayOutColumns() const;
    // Row -1 gives the column titles.
    QString LineOfRow(const std::vector<Column>& layout, int row) const;
    void PrintHeader(QPainter& painter, const ListPrintMetrics& metrics, int page) const;
    void PrintBody(QPainter& painter, const ListPrintMetrics& metrics, int page,
                   const std::vector<Column>& layout) const;

    const QAbstractItemModel& m_rows;
    const QHeaderView* m_header;
    QString m_title;
    QString m_fallbackTitle;
    std::function<bool(int column)> m_printed;
};
