// The strings list of the single-export dialog: the strings that the items
// of one BibTeX file use, with their full strings. Read only.
#pragma once

#include "project/ExportOptions.h"

#include <QAbstractTableModel>

#include <vector>

class CUsedStringsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { StringColumn, ValueColumn, ColumnCount };

    explicit CUsedStringsModel(std::vector<UsedString> strings, QObject* parent = nullptr);

    const std::vector<UsedString>& GetStrings() const { return m_strings; }
    static int ColumnWidth(int column) { return column == StringColumn ? 100 : 200; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<UsedString> m_strings;
};
