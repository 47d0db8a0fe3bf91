#include "views/ListPrinter.h"

#include <QAbstractItemModel>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>
#include <utility>

namespace {

// The ruler that fixes the printed text block's width: 81 characters.
constexpr const char* kRuler =
    "---------1---------2---------3---------4---------5---------6---------7---------8-";
constexpr int kHeaderWidth = 81;
constexpr int kMaxTitleLength = 68;

// A value printed whole however narrow the page: digits, perhaps signed,
// no longer than a 64-bit number.
bool IsNumber(const QString& text) {
    const qsizetype start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.size() <= start || text.size() > 20) {
        return false;
    }
    for (qsizetype i = start; i < text.size(); ++i) {
        if (!text.at(i).isDigit()) {
            return false;
        }
    }
    return true;
}

} // namespace

CListPrinter::CListPrinter(const QAbstractItemModel& rows, const QHeaderView* header, QString title,
                           QString fallbackTitle)
    : m_rows(rows), m_header(header), m_title(std::move(title)),
      m_fallbackTitle(std::move(fallbackTitle)) {}

QString CListPrinter::FormatPageHeader(const QString& title, const QString& fallbackTitle,
                                       int page) {
    const QString pageText = QStringLiteral("Seite %1").arg(page);
    QString shown = title.size() > kMaxTitleLength ? fallbackTitle : title;
    // At least one blank keeps title and page apart when they are long.
    const qsizetype blanks = std::max<qsizetype>(1, kHeaderWidth - shown.size() - pageText.size());
    return shown + QString(blanks, QLatin1Char(' ')) + pageText;
}

void CListPrinter::Print(QPrinter& printer, bool askFirst, QWidget* parent) {
    if (askFirst) {
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
    }
    RenderPages(printer);
}

void CListPrinter::Preview(QPrinter& printer, const QString& windowTitle, QWidget* parent) {
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(windowTitle);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this](QPrinter* target) { RenderPages(*target); });
    dialog.exec();
}

ListPrintMetrics CListPrinter::BeginMetrics(QPainter& painter) const {
    // "Courier New" where it exists, else the system's monospace face.
    QFont font(QStringLiteral("Courier New"));
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(10);
    painter.setFont(font);
    const QFontMetrics fm(font, painter.device());
    ListPrintMetrics metrics;
    metrics.lineHeight = std::max(1, fm.height() + fm.leading());
    metrics.blockWidth = fm.horizontalAdvance(QString::fromLatin1(kRuler));
    const QRect page = painter.viewport();
    metrics.leftMargin = std::max(0, (page.width() - metrics.blockWidth) / 2);
    metrics.linesPerPage = std::max(1, page.height() / metrics.lineHeight - 7);
    // One body line per row shown.
    metrics.bodyLineCount = m_rows.rowCount();
    metrics.pageCount =
        std::max(1, (metrics.bodyLineCount + metrics.linesPerPage - 1) / metrics.linesPerPage);
    return metrics;
}

void CListPrinter::RenderPages(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return;
    }
    const ListPrintMetrics metrics = BeginMetrics(painter);
    const std::vector<Column> layout = LayOutColumns();
    for (int p = 1; p <= metrics.pageCount; ++p) {
        if (p > 1) {
            printer.newPage();
        }
        PrintHeader(painter, metrics, p);
        PrintBody(painter, metrics, p, layout);
    }
    painter.end();
}

std::vector<int> CListPrinter::ColumnChars(const std::vector<ColumnNeed>& needs, int lineWidth) {
    // A text column cut to fewer than four characters would show its cut
    // ("...") and nothing of its text.
    static constexpr int kMinChars = 4;
    const auto least = [&needs](std::size_t i) {
        return needs[i].number ? needs[i].chars : std::min(needs[i].chars, kMinChars);
    };
    std::size_t count = needs.size();
    for (;;) {
        int total = count > 0 ? static_cast<int>(count) - 1 : 0;
        for (std::size_t i = 0; i < count; ++i) {
            total += least(i);
        }
        if (total <= lineWidth) {
            break;
        }
        --count;
    }
    std::vector<int> chars;
    int room = lineWidth - (count > 0 ? static_cast<int>(count) - 1 : 0);
    int wanted = 0;
    for (std::size_t i = 0; i < count; ++i) {
        chars.push_back(needs[i].chars);
        wanted += needs[i].chars;
    }
    if (wanted <= room) {
        return chars;
    }
    // Numbers keep their width; the text columns share what is left, the
    // narrowest first, each taking no more than it needs.
    std::vector<std::size_t> texts;
    for (std::size_t i = 0; i < count; ++i) {
        if (needs[i].number) {
            room -= needs[i].chars;
        } else {
            texts.push_back(i);
        }
    }
    std::stable_sort(texts.begin(), texts.end(), [&needs](std::size_t a, std::size_t b) {
        return needs[a].chars < needs[b].chars;
    });
    std::size_t whole = 0;
    while (whole < texts.size()) {
        const int share = room / static_cast<int>(texts.size() - whole);
        if (needs[texts[whole]].chars > share) {
            break;
        }
        room -= needs[texts[whole]].chars;
        ++whole;
    }
    std::vector<std::size_t> cut(texts.begin() + static_cast<std::ptrdiff_t>(whole), texts.end());
    std::sort(cut.begin(), cut.end());
    if (!cut.empty()) {
        const int share = room / static_cast<int>(cut.size());
        int extra = room % static_cast<int>(cut.size());
        for (const std::size_t i : cut) {
            chars[i] = share + (extra > 0 ? 1 : 0);
            --extra;
        }
    }
    return chars;
}

QString CListPrinter::FormatLine(const QStringList& cells, const std::vector<int>& chars) {
    static const QString kCut = QStringLiteral("...");
    QString line;
    const qsizetype count = std::min<qsizetype>(cells.size(), static_cast<qsizetype>(chars.size()));
    for (qsizetype i = 0; i < count; ++i) {
        QString cell = cells.at(i);
        for (QChar& c : cell) {
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t')) {
                c = QLatin1Char(' ');
            }
        }
        const int width = chars[static_cast<std::size_t>(i)];
        if (cell.size() > width) {
            cell = width > kCut.size() ? cell.left(width - kCut.size()) + kCut : kCut.left(width);
        }
        if (i > 0) {
            line += QLatin1Char(' ');
        }
        line += i + 1 < count ? cell.leftJustified(width, QLatin1Char(' ')) : cell;
    }
    return line;
}

std::vector<CListPrinter::Column> CListPrinter::LayOutColumns() const {
    std::vector<int> columns;
    if (m_header != nullptr) {
        for (int visual = 0; visual < m_header->count(); ++visual) {
            const int logical = m_header->logicalIndex(visual);
            if (!m_header->isSectionHidden(logical) && (!m_printed || m_printed(logical))) {
                columns.push_back(logical);
            }
        }
    } else if (m_rows.columnCount() > 0) {
        // The icon displays show the first column only.
        columns.push_back(0);
    }
    // Each column as wide as its longest text, whatever its width on the
    // screen (where the last column takes the room that is left).
    std::vector<ColumnNeed> needs;
    const int rows = m_rows.rowCount();
    for (const int column : columns) {
        ColumnNeed need;
        need.chars = static_cast<int>(m_rows.headerData(column, Qt::Horizontal).toString().size());
        bool anyValue = false;
        bool allNumbers = true;
        for (int row = 0; row < rows; ++row) {
            const QString text = m_rows.index(row, column).data().toString();
            need.chars = std::max(need.chars, static_cast<int>(text.size()));
            if (!text.isEmpty()) {
                anyValue = true;
                allNumbers = allNumbers && IsNumber(text);
            }
        }
        need.number = anyValue && allNumbers;
        needs.push_back(need);
    }
    const std::vector<int> chars = ColumnChars(needs);
    std::vector<Column> layout;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        layout.push_back({columns[i], chars[i]});
    }
    return layout;
}

QString CListPrinter::LineOfRow(const std::vector<Column>& layout, int row) const {
    QStringList cells;
    std::vector<int> chars;
    for (const Column& column : layout) {
        cells << (row < 0 ? m_rows.headerData(column.column, Qt::Horizontal).toString()
                          : m_rows.index(row, column.column).data().toString());
        chars.push_back(column.chars);
    }
    return FormatLine(cells, chars);
}

QStringList CListPrinter::Body() const {
    const std::vector<Column> layout = LayOutColumns();
    QStringList lines;
    for (int row = -1; row < m_rows.rowCount(); ++row) {
        lines << LineOfRow(layout, row);
    }
    return lines;
}

void CListPrinter::PrintHeader(QPainter& painter, const ListPrintMetrics& metrics, int page) const {
    const QString line = FormatPageHeader(m_title, m_fallbackTitle, page);
    const QFontMetrics fm(painter.font(), painter.device());
    painter.drawText(metrics.leftMargin, 2 * metrics.lineHeight + fm.ascent(), line);
    const int ruleY = metrics.lineHeight * 7 / 2;
    painter.drawLine(metrics.leftMargin, ruleY, metrics.leftMargin + metrics.blockWidth, ruleY);
}

void CListPrinter::PrintBody(QPainter& painter, const ListPrintMetrics& metrics, int page,
                             const std::vector<Column>& layout) const {
    const QFontMetrics fm(painter.font(), painter.device());
    const int first = (page - 1) * metrics.linesPerPage;
    const int last = std::min(metrics.bodyLineCount, first + metrics.linesPerPage);
    if (first >= last) {
        return;
    }
    // The column titles stand between the rule and the first body line.
    const QFont plain = painter.font();
    QFont bold = plain;
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(metrics.leftMargin, 4 * metrics.lineHeight + fm.ascent(),
                     LineOfRow(layout, -1));
    painter.setFont(plain);
    for (int row = first; row < last; ++row) {
        const int line = 5 + row - first;
        painter.drawText(metrics.leftMargin, line * metrics.lineHeight + fm.ascent(),
                         LineOfRow(layout, row));
    }
}
