// The rows of the "Select a string" dialog: the project's BibTeX strings in
// table order, the abbreviation and the full string without its delimiters.
// The rows are taken when the model is made: the dialog may stay open while
// the strings change, and then it still offers what it showed.
#pragma once

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
