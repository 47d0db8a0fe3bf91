// A new BibTeX item on one page: key, entry type and BibTeX file, then the
// required and optional fields of the chosen type. Checks as the new-item
// wizard does and adds the item to the project on OK.
#pragma once

#include "model/Catalogue.h"

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class CQVNDoc;
class IUserInterface;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;

class CNewItemDlg : public QDialog {
    Q_OBJECT
public:
    // Entry types offered: all but the last ("unpublished").
    static constexpr int kOfferedTypes = kEntryTypeCount - 1;

    CNewItemDlg(CQVNDoc& doc, IUserInterface& ui, const std::string& preselectedFile,
                QWidget* parent = nullptr);

    QLineEdit* GetKeyEdit() const { return m_key; }
    QComboBox* GetTypeBox() const { return m_type; }
    QComboBox* GetFileBox() const { return m_file; }
    // The value box of a field shown for the current type, or null.
    QLineEdit* GetFieldEdit(int field) const;
    void accept() override;

private:
    void ShowFieldsOfType();
    bool CheckFirstPage();
    bool CheckRequiredFields();

    CQVNDoc& m_doc;
    IUserInterface& m_ui;
    QLineEdit* m_key;
    QComboBox* m_type;
    QLabel* m_typeDescription;
    QComboBox* m_file;
    QFormLayout* m_required;
    QFormLayout* m_optional;
    // One box per field, kept while the type changes so typed text stays.
    std::array<QLineEdit*, kFieldCount> m_values{};
};
