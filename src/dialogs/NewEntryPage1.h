// First page of the new-item wizard: the key, the entry type and the BibTeX
// file of the new item. Next checks them before the field pages follow.
#pragma once

#include <QWizardPage>

#include <string>

class CQVNDoc;
class IUserInterface;
class QComboBox;
class QLabel;
class QLineEdit;

class CNewEntryPage1 : public QWizardPage {
    Q_OBJECT
public:
    // The entry types offered: all but the last one ("unpublished").
    static constexpr int kOfferedTypes = 15;

    CNewEntryPage1(CQVNDoc& doc, IUserInterface& ui, const std::string& preselectedFile,
                   QWidget* parent = nullptr);

    std::string GetKey() const;
    int GetEntryType() const;
    std::string GetFileName() const;
    // The project the new item goes to (the value pages check their values
    // with its rules).
    CQVNDoc& GetDocument() const { return m_doc; }

    QLineEdit* GetKeyEdit() const { return m_key; }
    QComboBox* GetTypeBox() const { return m_type; }
    QLabel* GetTypeDescription() const { return m_description; }
    QComboBox* GetFileBox() const { return m_file; }

    void initializePage() override;
    // The five checks of Next, in order; the first failure is told and the
    // offending box gets the focus.
    bool validatePage() override;

private:
    bool RefuseKey(const std::string& text, const char* caption);
    bool RefuseFile(const std::string& text, const char* caption);

    CQVNDoc& m_doc;
    IUserInterface& m_ui;
    QLineEdit* m_key;
    QComboBox* m_type;
    QLabel* m_description;
    QComboBox* m_file;
};
