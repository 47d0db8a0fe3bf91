// The application object: lives for the whole run and owns the appearance
// settings, the one project document, the per-user settings store, the
// recent-file list and the main window. It starts the program (command line,
// main window, settings) and ends it (settings saved), and handles the
// application's own commands (new, open, recent files, print setup, exit,
// About).
#pragma once

#include "app/QtSettingsStore.h"
#include "app/QtShell.h"
#include "app/QtUserInterface.h"
#include "kit/CommandTarget.h"
#include "project/QVNDoc.h"
#include "project/QVNSettings.h"

#include <QObject>
#include <QStringList>

#include <chrono>
#include <memory>

class CMainFrame;
class CProblemCheckRunner;
class CRecentFileList;
class QPrinter;
class QSettings;
class QTimer;

class CQVNApp : public QObject, public ICommandTarget {
    Q_OBJECT
public:
    static constexpr const char* kHomepage = "https://quorvane.invalid/";
    static constexpr const char* kManual = "Manual.pdf";

    // Needs the QApplication to exist.
    explicit CQVNApp(QObject* parent = nullptr);
    ~CQVNApp() override;

    // Creates the main window and processes the command line (no argument: a
    // new project; a path: that project file). False when the project file
    // could not be read: the user has been told, and the program ends.
    bool Start(const QStringList& arguments);
    // Start, the event loop, Shutdown; the process's exit status.
    int Run(const QStringList& arguments);
    // Saves what the application keeps per user (when the loop has ended).
    void Shutdown();

    // Where recovery copies of unsaved changes live (the per-user data
    // folder's "recovery"); set before Start to use another folder.
    void SetRecoveryFolder(const QString& folder);
    QString GetRecoveryFolder() const;
    // How soon after a pause in editing, and how often at most, a recovery
    // copy is written.
    void SetRecoveryTiming(std::chrono::milliseconds pause, std::chrono::milliseconds interval);
    // The program got the focus back from another program: the document
    // checks whether its file was changed meanwhile.
    void OnActivated();

    CQVNDoc& GetDocument() { return m_doc; }
    CQVNSettings& GetAppearance() { return m_appearance; }
    CQtSettingsStore& GetStore() { return m_store; }
    CRecentFileList& GetRecentFiles() { return *m_recent; }
    CQtUserInterface& GetUserInterface() { return m_ui; }
    CMainFrame* GetMainFrame() const { return m_frame.get(); }
    // The check of the open project's items for problems, kept current.
    CProblemCheckRunner& GetProblemCheck() { return *m_problems; }
    IShell& GetShell() { return *m_shell; }
    // Replaces the desktop shell (tests); null restores it.
    void SetShell(IShell* shell) { m_shell = shell != nullptr ? shell : &m_defaultShell; }
    // The printer of all printing, made on first use.
    QPrinter& GetPrinter();

    bool OnCommand(int id) override;
    bool UpdateCommand(int id, CommandState& state) override;

private:
    void OpenRecentFile(int index);

    std::unique_ptr<QSettings> m_settings;
    CQtSettingsStore m_store;
    CQVNSettings m_appearance;
    CQtUserInterface m_ui;
    std::unique_ptr<CRecentFileList> m_recent;
    CQtShell m_defaultShell;
    IShell* m_shell = &m_defaultShell;
    std::unique_ptr<QPrinter> m_printer;
    QTimer* m_recoveryTimer;
    QString m_recoveryFolder;
    // Declared before the main window: the window's views detach from the
    // document when they are destroyed.
    CQVNDoc m_doc;
    std::unique_ptr<CProblemCheckRunner> m_problems;
    std::unique_ptr<CMainFrame> m_frame;
};
