// The folder chooser: a directory-only file dialog with a title, a folder to
// start in and an owner window. Tests script its answer through SetChooser()
// instead of showing a dialog.
#pragma once

#include "widgets/ChooserHook.h"

#include <QFlags>
#include <QString>

#include <functional>

class QWidget;

class CFolderDialog {
public:
    enum Option {
        NoOptions = 0x0,
        ShowEditField = 0x1,  // an edit field for typing the path
        FileSystemOnly = 0x2, // only folders with a local path can be chosen
        // Qt's dialog always shows the selected path and always has the
        // current, resizable look; these two are kept for callers' intent.
        StatusText = 0x4,
        NewDialogStyle = 0x8,
    };
    Q_DECLARE_FLAGS(Options, Option)

    enum class Result {
        Ok,        // GetFolderPath() holds the chosen folder
        Cancelled, // the user closed the dialog without choosing
        Failed,    // the choice has no local file-system path
    };

    // What a scripted chooser is asked, and what it answers.
    struct Request {
        QString title;
        QString initialFolder;
        QWidget* owner = nullptr;
        Options options;
    };
    struct Answer {
        Result result = Result::Cancelled;
        QString folder;
    };
    using Chooser = std::function<Answer(const Request&)>;

    explicit CFolderDialog(QString title = {}, QString initialFolder = {}, QWidget* owner = nullptr,
                           Options options = Options(ShowEditField | FileSystemOnly));

    // Shows the dialog (or asks the installed chooser) and waits for the user.
    Result Exec();
    // The chosen folder after Result::Ok, without a trailing separator (except
    // for the root folder); empty otherwise.
    const QString& GetFolderPath() const { return m_folder; }

    const QString& GetTitle() const { return m_request.title; }
    const QString& GetInitialFolder() const { return m_request.initialFolder; }
    Options GetOptions() const { return m_request.options; }

    // Installs a chooser that answers every CFolderDialog instead of a real
    // dialog; an empty function restores the real one. Returns the previous.
    static Chooser SetChooser(Chooser chooser) {
        return EChooserHook<CFolderDialog>::Set(std::move(chooser));
    }
    // Installs a chooser for the lifetime of the guard (tests).
    using ScopedChooser = EChooserHook<CFolderDialog>::Scoped;

private:
    static Answer RunDialog(const Request& request);

    Request m_request;
    QString m_folder;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CFolderDialog::Options)
