#include "support/DialogFixture.h"

#include "model/BibTexEntry.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include <memory>

namespace {

std::unique_ptr<CBibTexEntry> Book(const char* key, const char* author, const char* title,
                                   const char* year) {
    auto item = std::make_unique<CBibTexEntry>("refs", key, FindEntryType("book"));
    if (author[0] != '\0') {
        item->SetField(kFieldAuthor, author, false);
    }
    item->SetField(kFieldTitle, title, false);
    item->SetField(kFieldPublisher, "aw", false);
    item->SetField(kFieldYear, year, false);
    return item;
}

} // namespace

DialogProject::DialogProject(bool scriptWizard) : dialogs(scriptWizard) {
    doc.NewProject();
    doc.StartProject({"Dialogs", dir.path().toStdString(), "strings.bib"});
    // Strings first: a value naming one is then stored as a reference.
    doc.AddString("jacm", "Journal of the ACM", false);
    doc.AddString("aw", "\"Addison-Wesley\"", false);
    auto knuth = Book("knuth84", "Knuth, Donald E.", "The TeXbook", "1984");
    // A string named in an optional field is not one the export collects.
    knuth->SetField(kFieldNote, "jacm", false);
    doc.AddItem(std::move(knuth));
    doc.AddItem(Book("lamport94", "", "LaTeX", "1994"));
    auto smith = std::make_unique<CBibTexEntry>("papers", "smith01", FindEntryType("article"));
    smith->SetField(kFieldAuthor, "Smith, John", false);
    smith->SetField(kFieldTitle, "Boxes and BOX", false);
    smith->SetField(kFieldJournal, "jacm", false);
    smith->SetField(kFieldYear, "2001", false);
    doc.AddItem(std::move(smith));
    doc.SetModifiedFlag(false);
    doc.AddObserver(&hints);
}

DialogProject::~DialogProject() {
    doc.RemoveObserver(&hints);
}

bool ShowWindow(QWidget& window) {
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

std::string ReadFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().toStdString();
}

bool StartWithProject(AppSession& session, const QTemporaryDir& dir) {
    const QString path = WriteProject(dir, QStringLiteral("p.qvp"), 1, 2, 1);
    return session.app.Start({QStringLiteral("quorvane"), path});
}

QStringList LabelTexts(const QWidget& window) {
    QStringList texts;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        texts << label->text();
    }
    return texts;
}

QStringList GroupTitles(const QWidget& window) {
    QStringList titles;
    for (const QGroupBox* group : window.findChildren<QGroupBox*>()) {
        titles << group->title();
    }
    return titles;
}

QLabel* FindLabel(const QWidget& window, const QString& text) {
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text() == text) {
            return label;
        }
    }
    return nullptr;
}
