// The file dialog of the edit box with a browse button, usable on its own for
// every open and save dialog: filters in the "Description|patterns||" form, a
// default extension, and a scriptable answer for tests (SetChooser()).
#pragma once

#include "widgets/ChooserHook.h"

#include <QFlags>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

class CFECFileDialog {
public:
    enum class Mode {
        Open,         // one existing file
        OpenMultiple, // one or more existing files
        Save,         // a file to write
    };
    enum Option {
        NoOptions = 0x0,
        OverwritePrompt = 0x1, // Save: ask before replacing an existing file
        PathMustExist = 0x2,   // the chosen file's folder must exist
        HideReadOnly = 0x4,    // no "open read-only" box (Qt never shows one)
    };
    Q_DECLARE_FLAGS(Options, Option)

    struct Request {
        Mode mode = Mode::Open;
        QString title;
        QString initialPath; // a folder, a file name or a full path
        QStringList filters; // Qt form, see QtFiltersFromWindowsFilter()
        QString defaultSuffix;
        QWidget* owner = nullptr;
        Options options;
    };
    // An empty list means cancelled.
    using Chooser = std::function<QStringList(const Request&)>;

    // `filter` in the "Description|patterns||" form; `defaultExtension` such
    // as ".bib" is appended to a typed name that has none.
    CFECFileDialog(Mode mode, QString filter, QString defaultExtension = {},
                   QString initialPath = {}, QWidget* owner = nullptr,
                   Options options = Options(OverwritePrompt | PathMustExist | HideReadOnly));

    void SetTitle(QString title) { m_request.title = std::move(title); }

    // True when the user chose at least one file.
    bool Exec();
    QString GetPath() const { return m_paths.isEmpty() ? QString() : m_paths.first(); }
    const QStringList& GetPaths() const { return m_paths; }

    const Request& GetRequest() const { return m_request; }

    // Installs a chooser that answers every CFECFileDialog instead of a real
    // dialog; an empty function restores the real one. Returns the previous.
    static Chooser SetChooser(Chooser chooser) {
        return EChooserHook<CFECFileDialog>::Set(std::move(chooser));
    }
    // Installs a chooser for the lifetime of the guard (tests).
    using ScopedChooser = EChooserHook<CFECFileDialog>::Scoped;

private:
    static QStringList RunDialog(const Request& request);
    QString WithDefaultSuffix(const QString& path) const;

    Request m_request;
    QStringList m_paths;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CFECFileDialog::Options)
