// Asks for the three values of a new project: its name, the folder of its
// BibTeX files and the name of its strings file, with the checks of the
// new-project wizard.
#pragma once

#include "platform/UserInterface.h"

#include <QDialog>

class QLineEdit;

class CNewProjectValuesDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kDefaultName = "My Quorvane Project";

    CNewProjectValuesDlg(IUserInterface& ui, QWidget* parent = nullptr);

    NewProjectValues GetValues() const;
    QLineEdit* GetNameEdit() const { return m_name; }
    QLineEdit* GetLocationEdit() const { return m_location; }
    QLineEdit* GetStringsEdit() const { return m_strings; }

    // Runs the checks; on the first failure tells the user, puts the focus in
    // the box and returns false.
    bool Validate();
    void accept() override;

    // A strings file name: at least five characters, ending in ".bib" in
    // any letter case, and no character that file names must not hold.
    static bool IsValidStringsFileName(const std::string& name);
    static std::string InvalidStringsFileMessage();

private:
    IUserInterface& m_ui;
    QLineEdit* m_name;
    QLineEdit* m_location;
    QLineEdit* m_strings;
};
