// The file list of the multi-export dialog: the strings file, then every
// BibTeX file of the project, each with a check box that says whether it is
// written. The rows are taken from the document once, when the dialog opens.
#pragma once

#include "project/ExportOptions.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <vector>

class CQVNDoc;

class CMultiExportModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { FileColumn, FileNameColumn, ItemsColumn, ColumnCount };

    explicit CMultiExportModel(const CQVNDoc& doc, QObject* parent = nullptr);

    // Every row checked, or none.
    void SetAllChecked(bool checked);
    bool IsChecked(int row) const;
    // One flag per row: the strings file first (MultiExportOptions).
    std::vector<bool> GetCheckedRows() const;
    const MultiExportRow& GetRow(int row) const { return m_rows.at(static_cast<std::size_t>(row)); }

    static int ColumnWidth(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<MultiExportRow> m_rows;
    std::vector<bool> m_checked;
    QIcon m_stringsIcon;
    QIcon m_fileIcon;
};
