// The appearance dialog: the columns of the item lists ("Main window") and
// the ignored fields of the property window ("Property window") and the
// backup on saving ("Saving"), with OK, Cancel and Apply. The tabs write the
// process's appearance settings on OK or Apply and tell the views
// (UpdateHint::Columns and UpdateHint::IgnoredFields).
#pragma once

#include <QDialog>

class CAppearanceMainViewPP;
class CAppearancePropViewPP;
class CAppearanceSavingPP;
class CQVNDoc;
class CQVNSettings;
class QPushButton;
class QTabWidget;

class CAppearanceDlg : public QDialog {
    Q_OBJECT
public:
    CAppearanceDlg(CQVNDoc& doc, CQVNSettings& settings, QWidget* parent = nullptr);

    CAppearanceMainViewPP* GetMainViewPage() const { return m_mainView; }
    CAppearancePropViewPP* GetPropViewPage() const { return m_propView; }
    CAppearanceSavingPP* GetSavingPage() const { return m_saving; }
    QTabWidget* GetTabs() const { return m_tabs; }
    QPushButton* GetApplyButton() const { return m_apply; }

    void accept() override;
    void Apply();

private:
    CAppearanceMainViewPP* m_mainView;
    CAppearancePropViewPP* m_propView;
    CAppearanceSavingPP* m_saving;
    QTabWidget* m_tabs;
    QPushButton* m_apply;
};
