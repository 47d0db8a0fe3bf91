#include "views/ProjectFilesModel.h"

#include "kit/QtText.h"
#include "project/QVNDoc.h"

#include <QDir>

CProjectFilesModel::CProjectFilesModel(const CQVNDoc& doc, QObject* parent)
    : QAbstractTableModel(parent), m_doc(doc) {}

void CProjectFilesModel::Refill() {
    beginResetModel();
    m_rows.clear();
    if (m_doc.IsProjectActive()) {
        const CProjectSettings& settings = m_doc.GetSettings();
        const QString folder = qvn::ToQString(settings.GetExportFolder());
        const QString stringsFile = qvn::ToQString(settings.GetStringsFile());
        // With no folder the strings file is shown by its name alone: a lone
        // separator in front of it would name the root folder.
        QString stringsPath = stringsFile;
        if (!folder.isEmpty()) {
            const bool endsWithSeparator =
                folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'));
            stringsPath =
                endsWithSeparator ? folder + stringsFile : folder + QDir::separator() + stringsFile;
        }
        m_rows.push_back({QStringLiteral("@strings"), QIcon(QStringLiteral(":/icons/strings.svg")),
                          m_doc.GetStrings().GetCount(), stringsPath});
        m_rows.push_back({QStringLiteral("BibTeX files"),
                          QIcon(QStringLiteral(":/icons/bibfiles.svg")),
                          m_doc.GetItems().GetFileCount(), folder});
        m_rows.push_back({QStringLiteral("BibTeX items"),
                          QIcon(QStringLiteral(":/icons/items.svg")),
                          m_doc.GetItems().GetTotalCount(), folder});
    }
    endResetModel();
}

int CProjectFilesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CProjectFilesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CProjectFilesModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        switch (index.column()) {
        case NameColumn:
            return row.name;
        case SizeColumn:
            return QString::number(row.size);
        case LocationColumn:
            return row.location;
        default:
            return {};
        }
    case Qt::DecorationRole:
        return index.column() == NameColumn ? QVariant(row.icon) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == SizeColumn ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                            : QVariant(int(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant CProjectFilesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        static const char* const kTitles[] = {"Name", "Size", "BibTeX Location"};
        return QString::fromLatin1(kTitles[section]);
    }
    if (role == Qt::TextAlignmentRole) {
        return section == SizeColumn ? int(Qt::AlignRight | Qt::AlignVCenter)
                                     : int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags CProjectFilesModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

int CProjectFilesModel::ColumnWidth(int column) {
    static const int kWidths[] = {120, 80, 120};
    return column >= 0 && column < ColumnCount ? kWidths[column] : 0;
}
