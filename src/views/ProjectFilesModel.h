// The files list's model: a three-row summary of the open project (the
// strings, the BibTeX files, the items) with their counts and the folder they
// are saved to. Empty while no project is active. Rows are taken from the
// document on Refill only, so that the model changes only inside a reset.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>

#include <vector>

class CQVNDoc;

class CProjectFilesModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, SizeColumn, LocationColumn, ColumnCount };
    enum RowKind { StringsRow, FilesRow, ItemsRow };

    explicit CProjectFilesModel(const CQVNDoc& doc, QObject* parent = nullptr);

    void Refill();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The column widths of the files list.
    static int ColumnWidth(int column);

private:
    struct Row {
        QString name;
        QIcon icon;
        int size;
        QString location;
    };

    const CQVNDoc& m_doc;
    std::vector<Row> m_rows;
};
