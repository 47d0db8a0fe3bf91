// The "Project" tab of the project settings dialog: the project's name, its
// file, the BibTeX location and the strings file name, over a working copy of
// the project settings that OK (or Apply) assigns back.
#pragma once

#include "project/ProjectSettings.h"

#include <QWidget>

class CFileEditCtrl;
class CQVNDoc;
class IUserInterface;
class QLineEdit;

class CPrjSettingsPP : public QWidget {
    Q_OBJECT
public:
    enum class OkResult {
        Applied,   // the project holds the working copy now
        Discarded, // the user gave up setting a valid location: nothing applied
        Stay,      // the user wants to go on editing
    };

    CPrjSettingsPP(CQVNDoc& doc, IUserInterface& ui, QWidget* parent = nullptr);

    // The OK action of the tab (also what Apply runs).
    OkResult OnOK();
    // Chooses a folder for the location box; true when one was chosen.
    bool BrowseLocation();
    // Chooses the strings file; only its name is kept.
    void BrowseStringsFile();

    const CProjectSettings& GetWorkingCopy() const { return m_settings; }
    QLineEdit* GetNameEdit() const { return m_name; }
    QLineEdit* GetFileEdit() const { return m_file; }
    CFileEditCtrl* GetLocationEdit() const { return m_location; }
    CFileEditCtrl* GetStringsEdit() const { return m_strings; }

Q_SIGNALS:
    // The user edited one of the boxes.
    void Changed();

private:
    CQVNDoc& m_doc;
    IUserInterface& m_ui;
    CProjectSettings m_settings;
    QLineEdit* m_name;
    QLineEdit* m_file;
    CFileEditCtrl* m_location;
    CFileEditCtrl* m_strings;
};
