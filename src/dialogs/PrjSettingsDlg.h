// The project settings dialog: the project's name, its BibTeX location and
// its strings file name. Works on a copy and applies it on a successful OK.
#pragma once

#include "project/ProjectSettings.h"

#include <QDialog>

class CQVNDoc;
class IUserInterface;
class QLineEdit;

class CPrjSettingsDlg : public QDialog {
    Q_OBJECT
public:
    CPrjSettingsDlg(CQVNDoc& doc, IUserInterface& ui, QWidget* parent = nullptr);

    QLineEdit* GetNameEdit() const { return m_name; }
    QLineEdit* GetLocationEdit() const { return m_location; }
    QLineEdit* GetStringsEdit() const { return m_strings; }
    void accept() override;

private:
    bool BrowseLocation();

    CQVNDoc& m_doc;
    IUserInterface& m_ui;
    CProjectSettings m_settings;
    QLineEdit* m_name;
    QLineEdit* m_file;
    QLineEdit* m_location;
    QLineEdit* m_strings;
};
