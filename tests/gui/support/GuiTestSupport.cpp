#include "support/GuiTestSupport.h"

#include "app/QtSettingsStore.h"
#include "model/BibTexEntry.h"
#include "project/QVNDoc.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

ScriptedDialogs::ScriptedDialogs(bool scriptWizard) {
    CQtUserInterface::Hooks hooks;
    hooks.messageBox = [this](const std::string& text, const std::string& caption, MsgIcon icon,
                              MsgButtons buttons) {
        return AnswerMessage(text, caption, icon, buttons);
    };
    hooks.openFiles = [this](const FileDialogRequest& request) { return AnswerOpenFiles(request); };
    hooks.saveFile = [this](const FileDialogRequest& request) { return AnswerSaveFile(request); };
    hooks.chooseFolder = [this](const std::string&, const std::string&) { return AnswerFolder(); };
    if (scriptWizard) {
        hooks.newProjectWizard = [this] { return AnswerWizard(); };
    }
    hooks.runDialog = [this](QDialog& dialog) {
        dialogTitles.push_back(dialog.windowTitle());
        return runDialog ? runDialog(dialog) : int(QDialog::Rejected);
    };
    CQtUserInterface::SetHooks(std::move(hooks));
}

ScriptedDialogs::~ScriptedDialogs() {
    CQtUserInterface::ClearHooks();
}

void UseCleanSettings() {
    QStandardPaths::setTestModeEnabled(true);
    // One folder per test program, so that tests running side by side do
    // not share the user's settings.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/quorvane-tests/") +
                           QFileInfo(QCoreApplication::applicationFilePath()).baseName();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromLatin1(CQtSettingsStore::kOrganisation),
                       QString::fromLatin1(CQtSettingsStore::kApplication));
    settings.clear();
    settings.sync();
}

AppSession::CleanSettings::CleanSettings() {
    UseCleanSettings();
    QApplication::setQuitOnLastWindowClosed(false);
}

AppSession::AppSession() {
    // Recovery copies of one test program never reach another.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/quorvane-tests/") +
                           QFileInfo(QCoreApplication::applicationFilePath()).baseName() +
                           QStringLiteral("/recovery");
    QDir(folder).removeRecursively();
    app.SetRecoveryFolder(folder);
}
AppSession::~AppSession() = default;

QString WriteProject(const QTemporaryDir& dir, const QString& name, int fileCount, int itemsPerFile,
                     int stringCount, const std::string& location) {
    CQVNDoc doc;
    doc.NewProject();
    doc.StartProject({"Test project", location, "strings.bib"});
    for (int f = 0; f < fileCount; ++f) {
        for (int i = 0; i < itemsPerFile; ++i) {
            const std::string key = "key" + std::to_string(f) + "_" + std::to_string(i);
            auto item = std::make_unique<CBibTexEntry>("file" + std::to_string(f), key, 0);
            item->SetField(kFieldTitle, "Title " + key, false);
            doc.AddItem(std::move(item));
        }
    }
    for (int s = 0; s < stringCount; ++s) {
        doc.AddString("abbr" + std::to_string(s), "Value " + std::to_string(s), false);
    }
    const QString path = dir.filePath(name);
    doc.SaveProject(path.toStdString());
    return path;
}
