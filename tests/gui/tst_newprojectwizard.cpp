// The new-project wizard: its two pages, the name check, the location and
// strings file checks of Finish in their order, and the project the
// document starts with the values.
#include "dialogs/NewProjectPage1.h"
#include "dialogs/NewProjectPage2.h"
#include "dialogs/NewProjectWizard.h"
#include "support/DialogFixture.h"
#include "widgets/FileEditCtrl.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

const QString kInvalidStrings = QString::fromUtf8(
    "Insert a valid name (ending with '.bib') for the\nfile holding your BibTeX strings. Please "
    "do not use\none of the following characters inthe file name: \n"
    "\\/'><@,$%^*+?{}\xC2\xB4`:;\"!\t#[]");

} // namespace

class TestNewProjectWizard : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstPageDefaults() {
        ScriptedDialogs dialogs;
        CQtUserInterface ui;
        CNewProjectWizard wizard(ui);
        QVERIFY(ShowWindow(wizard));
        QCOMPARE(wizard.currentId(), int(CNewProjectWizard::NamePage));
        QCOMPARE(wizard.windowTitle(), QStringLiteral("Project Wizard (1/2)"));
        QLineEdit* name = wizard.GetNamePage()->GetNameEdit();
        QCOMPARE(name->text(), QStringLiteral("My Quorvane Project"));
        QCOMPARE(name->selectedText(), QStringLiteral("My Quorvane Project"));
        QCOMPARE(wizard.focusWidget(), name);
        auto* text = wizard.GetNamePage()->findChild<QLabel*>();
        QCOMPARE(text->text(),
                 QStringLiteral("This Wizard will guide you through the process of creating a "
                                "new Quorvane project file.\n\nPlease enter a &Name for your new "
                                "Quorvane Project:"));
        QCOMPARE(text->buddy(), name);
        QVERIFY(wizard.currentPage()->subTitle().isEmpty());
    }

    void secondPageDefaults() {
        ScriptedDialogs dialogs;
        CQtUserInterface ui;
        CNewProjectWizard wizard(ui);
        wizard.next();
        QCOMPARE(wizard.currentId(), int(CNewProjectWizard::BibTexPage));
        QCOMPARE(wizard.windowTitle(), QStringLiteral("Project Wizard (2/2)"));
        QCOMPARE(wizard.currentPage()->title(), QStringLiteral("BibTeX settings"));
        QCOMPARE(wizard.currentPage()->subTitle(),
                 QStringLiteral("Enter the BibTeX specific settings for the new project file "
                                "below"));
        QVERIFY(wizard.currentPage()->isFinalPage());
        QCOMPARE(wizard.GetBibTexPage()->GetLocationEdit()->GetText(), QString());
        QCOMPARE(wizard.GetBibTexPage()->GetLocationEdit()->GetMode(), CFileEditCtrl::Mode::Folder);
        QCOMPARE(wizard.GetBibTexPage()->GetStringsEdit()->text(), QStringLiteral("strings.bib"));
        wizard.back();
        QCOMPARE(wizard.windowTitle(), QStringLiteral("Project Wizard (1/2)"));
    }

    void emptyNameIsRefused() {
        ScriptedDialogs dialogs;
        CQtUserInterface ui;
        CNewProjectWizard wizard(ui);
        QVERIFY(ShowWindow(wizard));
        wizard.GetNamePage()->GetNameEdit()->clear();
        wizard.next();
        QCOMPARE(wizard.currentId(), int(CNewProjectWizard::NamePage));
        QCOMPARE(dialogs.Texts(),
                 std::vector<std::string>{"Please insert a Name for your project."});
        QCOMPARE(dialogs.messages[0].caption, std::string());
        QCOMPARE(dialogs.messages[0].icon, MsgIcon::None);
        QCOMPARE(wizard.focusWidget(), wizard.GetNamePage()->GetNameEdit());
    }

    void finishChecks_data() {
        QTest::addColumn<QString>("location"); // "dir", "missing", "file" or ""
        QTest::addColumn<QString>("strings");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus"); // "location" or "strings"
        const QString badPath = QStringLiteral("Please insert a valid path.");
        QTest::newRow("valid") << "dir"
                               << "strings.bib"
                               << ""
                               << "";
        QTest::newRow("no location") << ""
                                     << "strings.bib" << badPath << "location";
        QTest::newRow("missing location") << "missing"
                                          << "strings.bib" << badPath << "location";
        QTest::newRow("a file is no location") << "file"
                                               << "strings.bib" << badPath << "location";
        QTest::newRow("location checked first") << "missing"
                                                << "x.txt" << badPath << "location";
        QTest::newRow("five characters") << "dir"
                                         << "x.bib"
                                         << ""
                                         << "";
        QTest::newRow("capital extension") << "dir"
                                           << "x.BIB"
                                           << ""
                                           << "";
        QTest::newRow("extension only") << "dir"
                                        << ".bib" << kInvalidStrings << "strings";
        QTest::newRow("other extension") << "dir"
                                         << "x.txt" << kInvalidStrings << "strings";
        QTest::newRow("no extension") << "dir"
                                      << "strings" << kInvalidStrings << "strings";
        QTest::newRow("colon") << "dir"
                               << "a:b.bib" << kInvalidStrings << "strings";
        QTest::newRow("tab") << "dir"
                             << "a\tb.bib" << kInvalidStrings << "strings";
        QTest::newRow("empty") << "dir"
                               << "" << kInvalidStrings << "strings";
    }
    void finishChecks() {
        QFETCH(QString, location);
        QFETCH(QString, strings);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        ScriptedDialogs dialogs;
        CQtUserInterface ui;
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("plain.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString path = location == QStringLiteral("dir")       ? dir.path()
                             : location == QStringLiteral("missing") ? dir.filePath("missing")
                             : location == QStringLiteral("file")    ? file.fileName()
                                                                     : QString();
        CNewProjectWizard wizard(ui);
        QVERIFY(ShowWindow(wizard));
        wizard.GetNamePage()->GetNameEdit()->setText(QStringLiteral("Thesis"));
        wizard.next();
        CNewProjectPage2* page = wizard.GetBibTexPage();
        page->GetLocationEdit()->SetText(path);
        page->GetStringsEdit()->setText(strings);
        wizard.accept();
        if (message.isEmpty()) {
            QVERIFY(dialogs.messages.empty());
            QCOMPARE(wizard.result(), int(QDialog::Accepted));
            const NewProjectValues values = wizard.GetValues();
            QCOMPARE(values.name, std::string("Thesis"));
            QCOMPARE(QString::fromStdString(values.location), dir.path());
            QCOMPARE(QString::fromStdString(values.stringsFileName), strings);
            return;
        }
        QVERIFY(wizard.isVisible());
        QCOMPARE(wizard.currentId(), int(CNewProjectWizard::BibTexPage));
        QCOMPARE(dialogs.Texts(), std::vector<std::string>{message.toStdString()});
        QWidget* expected = focus == QStringLiteral("location")
                                ? static_cast<QWidget*>(page->GetLocationEdit()->GetEdit())
                                : page->GetStringsEdit();
        QCOMPARE(wizard.focusWidget(), expected);
    }

    void locationBrowseChoosesAFolder() {
        ScriptedDialogs dialogs;
        CQtUserInterface ui;
        QTemporaryDir dir;
        QList<CFolderDialog::Request> asked;
        CFolderDialog::ScopedChooser chooser([&](const CFolderDialog::Request& request) {
            asked << request;
            return CFolderDialog::Answer{CFolderDialog::Result::Ok, dir.path()};
        });
        CNewProjectWizard wizard(ui);
        wizard.next();
        wizard.GetBibTexPage()->GetLocationEdit()->GetButton()->click();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].title, QStringLiteral("Select a folder for the BibTex files:"));
        QCOMPARE(wizard.GetBibTexPage()->GetLocationEdit()->GetText(), dir.path());
    }

    void backKeepsTheValues() {
        ScriptedDialogs dialogs;
        CQtUserInterface ui;
        CNewProjectWizard wizard(ui);
        wizard.GetNamePage()->GetNameEdit()->setText(QStringLiteral("Thesis"));
        wizard.next();
        wizard.GetBibTexPage()->GetStringsEdit()->setText(QStringLiteral("abbrev.bib"));
        wizard.back();
        QCOMPARE(wizard.GetNamePage()->GetNameEdit()->text(), QStringLiteral("Thesis"));
        wizard.next();
        QCOMPARE(wizard.GetBibTexPage()->GetStringsEdit()->text(), QStringLiteral("abbrev.bib"));
    }

    void newProjectStartsWithTheValues() {
        DialogProject p(false);
        ScriptDialog<CNewProjectWizard>(p.dialogs, [&p](CNewProjectWizard* wizard) {
            wizard->GetNamePage()->GetNameEdit()->setText(QStringLiteral("Thesis"));
            wizard->next();
            wizard->GetBibTexPage()->GetLocationEdit()->SetText(p.dir.path());
            wizard->GetBibTexPage()->GetStringsEdit()->setText(QStringLiteral("abbrev.BIB"));
            wizard->accept();
        });
        p.doc.NewProject();
        QCOMPARE(p.dialogs.dialogTitles,
                 std::vector<QString>{QStringLiteral("Project Wizard (1/2)")});
        QVERIFY(p.doc.IsProjectActive());
        QCOMPARE(p.doc.GetSettings().GetName(), std::string("Thesis"));
        QCOMPARE(QString::fromStdString(p.doc.GetSettings().GetLocation()), p.dir.path());
        QCOMPARE(p.doc.GetSettings().GetStringsFile(), std::string("abbrev.BIB"));
        QCOMPARE(p.doc.GetItems().GetTotalCount(), 0);
    }

    void cancelStartsNoProject() {
        DialogProject p(false);
        // An unscripted dialog is cancelled.
        p.doc.NewProject();
        QCOMPARE(p.dialogs.dialogTitles.size(), std::size_t(1));
        QVERIFY(!p.doc.IsProjectActive());
    }
};

QTEST_MAIN(TestNewProjectWizard)
#include "tst_newprojectwizard.moc"
