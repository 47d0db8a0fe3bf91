// The project settings dialog: one tab, "Project", with OK, Cancel and Apply.
// Apply runs the tab's OK action and keeps the dialog open.
#pragma once

#include <QDialog>

class CPrjSettingsPP;
class CQVNDoc;
class IUserInterface;
class QPushButton;

class CPrjSettingsDlg : public QDialog {
    Q_OBJECT
public:
    CPrjSettingsDlg(CQVNDoc& doc, IUserInterface& ui, QWidget* parent = nullptr);

    CPrjSettingsPP* GetProjectPage() const { return m_page; }
    QPushButton* GetApplyButton() const { return m_apply; }

    // OK: applies and closes; closes without applying when the user gives up
    // on the location; stays open when asked to.
    void accept() override;
    // Apply: applies and stays open.
    bool Apply();

private:
    CPrjSettingsPP* m_page;
    QPushButton* m_apply;
};
