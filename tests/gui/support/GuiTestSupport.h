// Helpers shared by the GUI tests: scripted message boxes and file dialogs
// (through CQtUserInterface's hooks), per-test settings, and project files.
#pragma once

#include "ScriptedUi.h"
#include "app/QVNApp.h"
#include "app/QtUserInterface.h"

#include <QDialog>
#include <QString>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <string>
#include <vector>

// Installs the hooks for its lifetime: message boxes are recorded and
// answered from a queue (the first button when it is empty), file dialogs
// answer from queues (cancel when empty), the new-project wizard is
// cancelled unless values are queued (or, without `scriptWizard`, the real
// wizard runs), and the dialogs the document runs are handed to
// `runDialog` (cancelled when it is not set).
class ScriptedDialogs : public ScriptedAnswers {
public:
    explicit ScriptedDialogs(bool scriptWizard = true);
    ~ScriptedDialogs();
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // Fills in and closes a dialog the document runs; returns its result.
    std::function<int(QDialog&)> runDialog;
    std::vector<QString> dialogTitles;
};

// Makes QSettings use a test location of this test program and empties it.
void UseCleanSettings();

// One run of the program for one test: clean settings, scripted dialogs
// and the application object (not yet started), with an empty recovery
// folder of this test program. The window may close without ending the
// test program.
class AppSession {
public:
    AppSession();
    ~AppSession();

private:
    struct CleanSettings {
        CleanSettings();
    } m_clean;

public:
    ScriptedDialogs dialogs;
    CQVNApp app;
};

// Writes a project file with `fileCount` BibTeX files of `itemsPerFile`
// items each and `stringCount` strings; returns its path.
QString WriteProject(const QTemporaryDir& dir, const QString& name, int fileCount, int itemsPerFile,
                     int stringCount, const std::string& location = {});
