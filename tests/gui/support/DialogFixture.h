// A project for the dialog tests: scripted message boxes, a document whose
// BibTeX location is a fresh folder, and a record of the update hints the
// dialogs send.
#pragma once

#include "HintRecorder.h"
#include "project/QVNDoc.h"
#include "support/GuiTestSupport.h"

#include <QDialog>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QWidget;

using testsupport::SentHint;

// The project holds:
//   refs:   knuth84 (book: author Knuth, Donald E., title The TeXbook,
//           publisher aw, year 1984, note jacm),
//           lamport94 (book: title LaTeX, publisher aw, year 1994)
//   papers: smith01 (article: author Smith, John, title Boxes and BOX,
//           journal jacm, year 2001)
//   strings jacm = Journal of the ACM, aw = "Addison-Wesley" (in quotes)
// with the location `dir`, the strings file "strings.bib", not modified.
struct DialogProject {
    explicit DialogProject(bool scriptWizard = true);
    ~DialogProject();
    DialogProject(const DialogProject&) = delete;
    DialogProject& operator=(const DialogProject&) = delete;

    QString Path(const QString& name) const { return dir.filePath(name); }
    // The captions of the message boxes shown so far.
    std::vector<std::string> Captions() const { return dialogs.Captions(); }

    ScriptedDialogs dialogs;
    CQtUserInterface ui;
    QTemporaryDir dir;
    CQVNDoc doc{&ui};
    testsupport::HintRecorder hints;
};

// Hands each dialog of class D that the document runs to `fill`, which
// fills it in and presses its buttons; other dialogs are cancelled.
template <typename D> void ScriptDialog(ScriptedDialogs& dialogs, std::function<void(D*)> fill) {
    dialogs.runDialog = [fill = std::move(fill)](QDialog& dialog) {
        auto* wanted = qobject_cast<D*>(&dialog);
        if (wanted == nullptr) {
            return int(QDialog::Rejected);
        }
        fill(wanted);
        return wanted->result();
    };
}

// Starts the program of `session` with a project of one BibTeX file of two
// items and one string, written into `dir`.
bool StartWithProject(AppSession& session, const QTemporaryDir& dir);

// The texts of the labels and group boxes of a window, and the label with a
// given text (or null).
QStringList LabelTexts(const QWidget& window);
QStringList GroupTitles(const QWidget& window);
QLabel* FindLabel(const QWidget& window, const QString& text);

// Shows a window and waits until it is on screen (focus checks need that).
bool ShowWindow(QWidget& window);
// The bytes of a file ("" when it cannot be read).
std::string ReadFileBytes(const QString& path);
