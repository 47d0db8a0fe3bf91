// The new-item wizard: key, type and file on the first page, then the
// required and the optional fields of the chosen type. Finish adds the item
// to the project; nothing is written before.
#pragma once

#include <QWizard>

#include <string>

class CNewEntryPage1;
class CNewEntryPage2;
class CQVNDoc;
class IUserInterface;

class CNewEntryDlg : public QWizard {
    Q_OBJECT
public:
    enum PageId { KeyPage, RequiredPage, OptionalPage };

    CNewEntryDlg(CQVNDoc& doc, IUserInterface& ui, const std::string& preselectedFile,
                 QWidget* parent = nullptr);

    CNewEntryPage1* GetFirstPage() const { return m_first; }
    CNewEntryPage2* GetRequiredPage() const { return m_requiredPage; }
    CNewEntryPage2* GetOptionalPage() const { return m_optionalPage; }

    // Finish: creates the item from the three pages and adds it.
    void accept() override;

private:
    CQVNDoc& m_doc;
    IUserInterface& m_ui;
    CNewEntryPage1* m_first;
    CNewEntryPage2* m_requiredPage;
    CNewEntryPage2* m_optionalPage;
};
