// The single-export dialog ("Save BibTeX file as..."): one BibTeX file of the
// project written under a path of the user's choice, optionally with
// comments and preceded by the strings its items use. The document writes
// the file on OK.
#pragma once

#include "project/ExportOptions.h"

#include <QDialog>

#include <string>

class CDialogHeader;
class CFileEditCtrl;
class CQVNDoc;
class CStringPickModel;
class CWrappingCheckBox;
class QLineEdit;
class QTableView;

class CSingleExportDlg : public QDialog {
    Q_OBJECT
public:
    CSingleExportDlg(CQVNDoc& doc, const std::string& fileName, QWidget* parent = nullptr);

    SingleExportOptions GetOptions() const;

    CDialogHeader* GetHeader() const { return m_header; }
    QLineEdit* GetFileNameBox() const { return m_name; }
    CFileEditCtrl* GetTargetEdit() const { return m_target; }
    CWrappingCheckBox* GetCommentsBox() const { return m_comments; }
    CWrappingCheckBox* GetStringsBox() const { return m_addStrings; }
    CStringPickModel* GetStringsModel() const { return m_model; }
    QTableView* GetStringsList() const { return m_list; }

    // Writes the file; stays open without a target path or on a failure.
    void accept() override;

private:
    CQVNDoc& m_doc;
    std::string m_fileName;
    CDialogHeader* m_header;
    QLineEdit* m_name;
    CFileEditCtrl* m_target;
    CWrappingCheckBox* m_comments;
    CWrappingCheckBox* m_addStrings;
    CStringPickModel* m_model;
    QTableView* m_list;
};
