// A project for the dialog tests: scripted message boxes, a document whose
// BibTeX location is a fresh folder, and a record of the update hints the
// dialogs send.
#pragma once

#include "platform/DocObserver.h"
#include "project/QVNDoc.h"
#include "support/GuiTestSupport.h"

#include <QTemporaryDir>

#include <string>
#include <vector>

class QWidget;

struct SentHint {
    UpdateHint hint;
    bool withObject;
    bool operator==(const SentHint&) const = default;
};

class CHintRecorder : public IDocObserver {
public:
    void OnUpdate(IDocObserver*, UpdateHint hint, const HintObject& object) override {
        hints.push_back({hint, !std::holds_alternative<std::monostate>(object)});
    }
    std::vector<SentHint> hints;
};

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
    std::vector<std::string> Captions() const;

    ScriptedDialogs dialogs;
    CQtUserInterface ui;
    QTemporaryDir dir;
    CQVNDoc doc{&ui};
    CHintRecorder hints;
};

// Shows a window and waits until it is on screen (focus checks need that).
bool ShowWindow(QWidget& window);
// The bytes of a file ("" when it cannot be read).
std::string ReadFileBytes(const QString& path);
