#include "support/GuiTestSupport.h"

#include "ScriptedUi.h"
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
        messages.push_back({text, caption, icon, buttons});
        if (!answers.empty()) {
            const MsgResult answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return ScriptedUi::FirstButton(buttons);
    };
    hooks.openFiles = [this](const FileDialogRequest& request) {
        fileRequests.push_back(request);
        if (openAnswers.empty()) {
            return std::vector<std::string>{};
        }
        auto answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
    };
    hooks.saveFile = [this](const FileDialogRequest& request) -> std::optional<std::string> {
        fileRequests.push_back(request);
        if (saveAnswers.empty()) {
            return std::nullopt;
        }
        auto answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    };
    hooks.chooseFolder = [](const std::string&, const std::string&) {
        return std::optional<std::string>{};
    };
    if (scriptWizard) {
        hooks.newProjectWizard = [this]() -> std::optional<NewProjectValues> {
            ++wizardRuns;
            if (wizardAnswers.empty()) {
                return std::nullopt;
            }
            auto answer = wizardAnswers.front();
            wizardAnswers.pop_front();
            return answer;
        };
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

std::vector<std::string> ScriptedDialogs::Texts() const {
    std::vector<std::string> texts;
    for (const ShownMessage& m : messages) {
        texts.push_back(m.text);
    }
    return texts;
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
