// Rows of BibTeX strings, an abbreviation and a full string each, read only:
// the "Select a string" dialog's (the project's strings in table order,
// values without their delimiters, with the strings image) and the single
// export's list of used strings. The rows are taken when the model is made:
// a dialog may stay open while the strings change, and then it still offers
// what it showed.
#pragma once

#include "project/ExportOptions.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>

#include <vector>

class CBibTexStringTable;

class CStringPickModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { StringColumn = 0, ValueColumn = 1, ColumnCount = 2 };

    explicit CStringPickModel(const CBibTexStringTable& strings, QObject* parent = nullptr);
    // Rows of the given pairs, without an image.
    explicit CStringPickModel(const std::vector<UsedString>& strings, QObject* parent = nullptr);

    int GetCount() const { return static_cast<int>(m_rows.size()); }
    // The row of the first string whose abbreviation equals `abbreviation`
    // exactly, or -1.
    int FindRow(const QString& abbreviation) const;
    QString GetAbbreviation(int row) const;
    static int ColumnWidth(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Row {
        QString abbreviation;
        QString value;
    };
    std::vector<Row> m_rows;
    QIcon m_icon;
};
