// The multi-export dialog ("Save BibTeX files..."): a destination folder,
// which of the strings file and the BibTeX files to write, comments and an
// example main file. OK hands the choices to the document, which writes the
// files; the dialog closes only when that succeeded.
#pragma once

#include "project/ExportOptions.h"

#include <QDialog>

class CDialogHeader;
class CFileEditCtrl;
class CMultiExportModel;
class CQVNDoc;
class CWrappingCheckBox;
class QPushButton;
class QTableView;

class CMultiExportDlg : public QDialog {
    Q_OBJECT
public:
    explicit CMultiExportDlg(CQVNDoc& doc, QWidget* parent = nullptr);

    // The options as the controls stand.
    MultiExportOptions GetOptions() const;
    // Counts of the last successful export.
    const MultiExportCounts& GetCounts() const { return m_counts; }

    CDialogHeader* GetHeader() const { return m_header; }
    CFileEditCtrl* GetDestinationEdit() const { return m_destination; }
    CWrappingCheckBox* GetMainFileBox() const { return m_mainFile; }
    CWrappingCheckBox* GetCommentsBox() const { return m_comments; }
    CMultiExportModel* GetModel() const { return m_model; }
    QTableView* GetFileList() const { return m_list; }
    QPushButton* GetAllButton() const { return m_all; }
    QPushButton* GetNoneButton() const { return m_none; }

    // Writes the files; stays open with an empty destination or a failure.
    void accept() override;

private:
    CQVNDoc& m_doc;
    CDialogHeader* m_header;
    CFileEditCtrl* m_destination;
    CWrappingCheckBox* m_mainFile;
    CWrappingCheckBox* m_comments;
    CMultiExportModel* m_model;
    QTableView* m_list;
    QPushButton* m_all;
    QPushButton* m_none;
    MultiExportCounts m_counts;
};
