// The appearance dialog: the columns of the item lists ("Main window") and
// the ignored fields the property window shows ("Property window"). OK writes
// the appearance settings and tells the views (hints 6 and 5).
#pragma once

#include <QDialog>

class CQVNDoc;
class CQVNSettings;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

class CAppearanceDlg : public QDialog {
    Q_OBJECT
public:
    CAppearanceDlg(CQVNDoc& doc, CQVNSettings& settings, QWidget* parent = nullptr);

    QListWidget* GetAvailableList() const { return m_available; }
    QListWidget* GetSelectedList() const { return m_selected; }
    QCheckBox* GetShowIgnoredBox() const { return m_showIgnored; }
    QListWidget* GetIgnoredList() const { return m_ignored; }
    void accept() override;

private:
    QWidget* CreateMainWindowPage();
    QWidget* CreatePropertyWindowPage();
    void MoveSelected(QListWidget* from, QListWidget* to, bool sorted);
    void ResetIgnored();
    void UpdateIgnoredEnabled();

    CQVNDoc& m_doc;
    CQVNSettings& m_settings;
    QListWidget* m_available = nullptr;
    QListWidget* m_selected = nullptr;
    QCheckBox* m_showIgnored = nullptr;
    QListWidget* m_ignored = nullptr;
    QLabel* m_ignoredCaption = nullptr;
    QLabel* m_description = nullptr;
    QList<QPushButton*> m_ignoredButtons;
};
