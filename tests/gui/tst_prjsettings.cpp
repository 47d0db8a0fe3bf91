// The project settings dialog: what it shows, Apply, the two browse buttons,
// and OK with its loop over an invalid location (Yes browses, No closes
// without applying anything, Cancel stays).
#include "dialogs/PrjSettingsDlg.h"
#include "dialogs/PrjSettingsPP.h"
#include "project/CommandIds.h"
#include "support/DialogFixture.h"
#include "widgets/FileEditCtrl.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

const std::string kInvalidPath =
    "Select a valid location for your BibTex files.\nDo you want to set this path now?";

} // namespace

class TestPrjSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void showsTheProjectSettings() {
        DialogProject p;
        p.doc.SaveProject(p.Path(QStringLiteral("thesis.qvp")).toStdString());
        CPrjSettingsDlg dialog(p.doc, p.ui);
        auto* tabs = dialog.findChild<QTabWidget*>();
        QCOMPARE(tabs->count(), 1);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Project"));
        CPrjSettingsPP* page = dialog.GetProjectPage();
        QCOMPARE(page->GetNameEdit()->text(), QStringLiteral("Dialogs"));
        QCOMPARE(page->GetFileEdit()->text(), p.Path(QStringLiteral("thesis.qvp")));
        QVERIFY(page->GetFileEdit()->isReadOnly());
        QCOMPARE(page->GetLocationEdit()->GetText(), p.dir.path());
        QCOMPARE(page->GetStringsEdit()->GetText(), QStringLiteral("strings.bib"));
        const QStringList labels = LabelTexts(*page);
        for (const char* text : {"Project &name:", "Project &file:",
                                 "&Location (where to store the BibTeX files by default):",
                                 "&Default filename for the BibTeX strings:"}) {
            QVERIFY2(labels.contains(QString::fromLatin1(text)), text);
        }
        QVERIFY(!dialog.GetApplyButton()->isEnabled());
    }

    void accessKeysReachTheBoxes_data() {
        QTest::addColumn<char>("key");
        QTest::addColumn<QString>("box");
        QTest::newRow("name") << 'n' << "projectName";
        QTest::newRow("file") << 'f' << "projectFile";
        QTest::newRow("location") << 'l' << "projectLocation";
        QTest::newRow("strings file") << 'd' << "stringsFile";
    }
    void accessKeysReachTheBoxes() {
        QFETCH(char, key);
        QFETCH(QString, box);
        DialogProject p;
        CPrjSettingsDlg dialog(p.doc, p.ui);
        QVERIFY(ShowWindow(dialog));
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.GetApplyButton()->setFocus();
        QTest::keyClick(&dialog, key, Qt::AltModifier);
        QWidget* focus = dialog.focusWidget();
        QVERIFY(focus != nullptr);
        // The boxes with a browse button take the focus in their edit.
        const QWidget* owner = focus->objectName().isEmpty() ? focus->parentWidget() : focus;
        QCOMPARE(owner->objectName(), box);
    }

    void emptyNameAndLocationShowTheFallbacks() {
        DialogProject p;
        p.doc.SaveProject(p.Path(QStringLiteral("thesis.qvp")).toStdString());
        p.doc.GetSettings().SetName("");
        p.doc.GetSettings().SetFallbackName("< unnamed >");
        p.doc.GetSettings().SetLocation("");
        CPrjSettingsDlg dialog(p.doc, p.ui);
        QCOMPARE(dialog.GetProjectPage()->GetNameEdit()->text(), QStringLiteral("< unnamed >"));
        // The folder of the project file.
        QCOMPARE(dialog.GetProjectPage()->GetLocationEdit()->GetText(), p.dir.path());
    }

    void okAssignsAllSixValues() {
        DialogProject p;
        QTemporaryDir other;
        p.doc.GetSettings().SetLastExportFolder("/exports");
        p.doc.GetSettings().SetReserved(7);
        CPrjSettingsDlg dialog(p.doc, p.ui);
        CPrjSettingsPP* page = dialog.GetProjectPage();
        page->GetNameEdit()->setText(QStringLiteral("Renamed"));
        page->GetLocationEdit()->SetText(other.path());
        page->GetStringsEdit()->SetText(QStringLiteral("abbrev.bib"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(p.dialogs.messages.empty());
        const CProjectSettings& settings = p.doc.GetSettings();
        QCOMPARE(settings.GetName(), std::string("Renamed"));
        QCOMPARE(QString::fromStdString(settings.GetLocation()), other.path());
        QCOMPARE(settings.GetStringsFile(), std::string("abbrev.bib"));
        QCOMPARE(settings.GetLastExportFolder(), std::string("/exports"));
        QCOMPARE(settings.GetReserved(), 7);
        QVERIFY(p.doc.IsModified());
        QCOMPARE(p.hints.Sent(), (std::vector<SentHint>{{UpdateHint::Change, false}}));
    }

    // OK applies the new-project wizard's rule to a typed strings file name.
    void okRefusesABadStringsFileName_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("no extension") << "strings";
        QTest::newRow("another extension") << "evil.desktop";
        QTest::newRow("folder part") << "sub/strings.bib";
        QTest::newRow("parent folder") << "../strings.bib";
        QTest::newRow("forbidden character") << "a:b.bib";
    }
    void okRefusesABadStringsFileName() {
        QFETCH(QString, name);
        DialogProject p;
        CPrjSettingsDlg dialog(p.doc, p.ui);
        QVERIFY(ShowWindow(dialog));
        CPrjSettingsPP* page = dialog.GetProjectPage();
        page->GetNameEdit()->setText(QStringLiteral("Renamed"));
        page->GetStringsEdit()->SetText(name);
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(p.dialogs.Texts().size(), std::size_t(1));
        QVERIFY(p.dialogs.Texts()[0].starts_with("Insert a valid name (ending with '.bib')"));
        QCOMPARE(p.doc.GetSettings().GetStringsFile(), std::string("strings.bib"));
        QCOMPARE(p.doc.GetSettings().GetName(), std::string("Dialogs"));
        QVERIFY(!p.doc.IsModified());
    }

    void applyIsEnabledByEditsAndKeepsTheDialogOpen() {
        DialogProject p;
        CPrjSettingsDlg dialog(p.doc, p.ui);
        QVERIFY(ShowWindow(dialog));
        QPushButton* apply = dialog.GetApplyButton();
        QVERIFY(!apply->isEnabled());
        QTest::keyClick(dialog.GetProjectPage()->GetNameEdit(), Qt::Key_End);
        QTest::keyClicks(dialog.GetProjectPage()->GetNameEdit(), QStringLiteral(" 2"));
        QVERIFY(apply->isEnabled());
        apply->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(!apply->isEnabled());
        QCOMPARE(p.doc.GetSettings().GetName(), std::string("Dialogs 2"));
        QVERIFY(p.doc.IsModified());
        QCOMPARE(p.hints.hints.size(), std::size_t(1));
        // The other two boxes enable it too.
        dialog.GetProjectPage()->GetStringsEdit()->SetText(QStringLiteral("x.bib"));
        QVERIFY(apply->isEnabled());
        apply->click();
        dialog.GetProjectPage()->GetLocationEdit()->SetText(QStringLiteral("/"));
        QVERIFY(apply->isEnabled());
    }

    void invalidLocation_data() {
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("chosen"); // the folder chooser's answers: "" cancels
        QTest::addColumn<int>("asked");
        QTest::addColumn<QString>("outcome"); // "applied", "discarded", "open"
        const int yes = int(MsgResult::Yes);
        const int no = int(MsgResult::No);
        const int cancel = int(MsgResult::Cancel);
        QTest::newRow("no") << QList<int>{no} << QStringList{} << 1 << "discarded";
        QTest::newRow("cancel") << QList<int>{cancel} << QStringList{} << 1 << "open";
        QTest::newRow("yes and a folder")
            << QList<int>{yes} << QStringList{"dir"} << 1 << "applied";
        QTest::newRow("yes, cancelled, no")
            << QList<int>{yes, no} << QStringList{""} << 2 << "discarded";
        QTest::newRow("yes, cancelled, yes and a folder")
            << QList<int>{yes, yes} << QStringList{"", "dir"} << 2 << "applied";
    }
    void invalidLocation() {
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, chosen);
        QFETCH(int, asked);
        QFETCH(QString, outcome);
        DialogProject p;
        QTemporaryDir other;
        for (int a : answers) {
            p.dialogs.answers.push_back(MsgResult(a));
        }
        QStringList initialFolders;
        CFolderDialog::ScopedChooser chooser([&](const CFolderDialog::Request& request) {
            initialFolders << request.initialFolder;
            const QString answer = chosen.value(initialFolders.size() - 1);
            if (answer.isEmpty()) {
                return CFolderDialog::Answer{CFolderDialog::Result::Cancelled, {}};
            }
            return CFolderDialog::Answer{CFolderDialog::Result::Ok, other.path()};
        });
        const CProjectSettings before = p.doc.GetSettings();
        CPrjSettingsDlg dialog(p.doc, p.ui);
        QVERIFY(ShowWindow(dialog));
        CPrjSettingsPP* page = dialog.GetProjectPage();
        page->GetNameEdit()->setText(QStringLiteral("Renamed"));
        const QString missing = p.Path(QStringLiteral("missing"));
        page->GetLocationEdit()->SetText(missing);
        page->GetStringsEdit()->SetText(QStringLiteral("abbrev.bib"));
        dialog.accept();

        QCOMPARE(p.dialogs.messages.size(), std::size_t(asked));
        for (const RecordedMessage& m : p.dialogs.messages) {
            QCOMPARE(m.text, kInvalidPath);
            QCOMPARE(m.caption, std::string("Invalid path"));
            QCOMPARE(m.icon, MsgIcon::Question);
            QCOMPARE(m.buttons, MsgButtons::YesNoCancel);
        }
        QCOMPARE(initialFolders.size(), chosen.size());
        if (!initialFolders.isEmpty()) {
            QCOMPARE(initialFolders[0], missing);
        }
        if (outcome == QStringLiteral("applied")) {
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(p.doc.GetSettings().GetName(), std::string("Renamed"));
            QCOMPARE(QString::fromStdString(p.doc.GetSettings().GetLocation()), other.path());
            QCOMPARE(p.doc.GetSettings().GetStringsFile(), std::string("abbrev.bib"));
            QVERIFY(p.doc.IsModified());
            QCOMPARE(p.hints.hints.size(), std::size_t(1));
            return;
        }
        // Nothing applied, the changed name neither.
        QVERIFY(p.doc.GetSettings() == before);
        QVERIFY(!p.doc.IsModified());
        QVERIFY(p.hints.hints.empty());
        if (outcome == QStringLiteral("discarded")) {
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QVERIFY(!dialog.isVisible());
        } else {
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.focusWidget(), page->GetLocationEdit()->GetEdit());
        }
    }

    void aFileIsNoLocation() {
        DialogProject p;
        QFile file(p.Path(QStringLiteral("plain.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        p.dialogs.answers.push_back(MsgResult::No);
        CPrjSettingsDlg dialog(p.doc, p.ui);
        dialog.GetProjectPage()->GetLocationEdit()->SetText(file.fileName());
        dialog.accept();
        QCOMPARE(p.dialogs.Texts(), std::vector<std::string>{kInvalidPath});
        QCOMPARE(QString::fromStdString(p.doc.GetSettings().GetLocation()), p.dir.path());
    }

    void applyWithAnInvalidLocationAppliesNothing() {
        DialogProject p;
        p.dialogs.answers.push_back(MsgResult::No);
        CPrjSettingsDlg dialog(p.doc, p.ui);
        QVERIFY(ShowWindow(dialog));
        dialog.GetProjectPage()->GetNameEdit()->setText(QStringLiteral("Renamed"));
        dialog.GetProjectPage()->GetLocationEdit()->SetText(p.Path(QStringLiteral("missing")));
        QVERIFY(!dialog.Apply());
        QVERIFY(dialog.isVisible());
        QCOMPARE(p.doc.GetSettings().GetName(), std::string("Dialogs"));
        QVERIFY(dialog.GetApplyButton()->isEnabled());
    }

    void locationBrowse() {
        DialogProject p;
        QTemporaryDir other;
        QList<CFolderDialog::Request> asked;
        CFolderDialog::ScopedChooser chooser([&](const CFolderDialog::Request& request) {
            asked << request;
            return CFolderDialog::Answer{CFolderDialog::Result::Ok, other.path()};
        });
        CPrjSettingsDlg dialog(p.doc, p.ui);
        dialog.GetProjectPage()->GetLocationEdit()->GetButton()->click();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].title, QStringLiteral("Select a folder for the BibTex files:"));
        QCOMPARE(asked[0].initialFolder, p.dir.path());
        QVERIFY(asked[0].options & CFolderDialog::FileSystemOnly);
        QVERIFY(asked[0].options & CFolderDialog::ShowEditField);
        QCOMPARE(dialog.GetProjectPage()->GetLocationEdit()->GetText(), other.path());
        QVERIFY(dialog.GetApplyButton()->isEnabled());
    }

    void stringsFileBrowse_data() {
        QTest::addColumn<QString>("chosen"); // a file name in the location; "" cancels
        QTest::addColumn<QString>("result");
        QTest::addColumn<bool>("refused");
        QTest::newRow("a name") << "abbrev.bib"
                                << "abbrev.bib" << false;
        QTest::newRow("extension added") << "abbrev"
                                         << "abbrev.bib" << false;
        QTest::newRow("forbidden character") << "ab;brev.bib"
                                             << "strings.bib" << true;
        QTest::newRow("cancelled") << ""
                                   << "strings.bib" << false;
    }
    void stringsFileBrowse() {
        QFETCH(QString, chosen);
        QFETCH(QString, result);
        QFETCH(bool, refused);
        DialogProject p;
        QList<CFECFileDialog::Request> asked;
        CFECFileDialog::ScopedChooser chooser([&](const CFECFileDialog::Request& request) {
            asked << request;
            return chosen.isEmpty() ? QStringList() : QStringList{p.Path(chosen)};
        });
        CPrjSettingsDlg dialog(p.doc, p.ui);
        dialog.GetProjectPage()->GetStringsEdit()->GetButton()->click();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].mode, CFECFileDialog::Mode::Save);
        QCOMPARE(asked[0].filters, QStringList{QStringLiteral("BibTeX files (*.bib)")});
        QCOMPARE(asked[0].defaultSuffix, QStringLiteral("bib"));
        QCOMPARE(asked[0].options, CFECFileDialog::Options(CFECFileDialog::OverwritePrompt |
                                                           CFECFileDialog::PathMustExist |
                                                           CFECFileDialog::HideReadOnly));
        QCOMPARE(asked[0].initialPath, QDir(p.dir.path()).filePath(QStringLiteral("strings.bib")));
        QCOMPARE(dialog.GetProjectPage()->GetStringsEdit()->GetText(), result);
        if (refused) {
            QCOMPARE(p.dialogs.Texts().size(), std::size_t(1));
            QVERIFY(p.dialogs.Texts()[0].find("inthe file name: \n") != std::string::npos);
        } else {
            QVERIFY(p.dialogs.messages.empty());
        }
    }

    void projectSettingsCommand() {
        DialogProject p;
        ScriptDialog<CPrjSettingsDlg>(p.dialogs, [](CPrjSettingsDlg* settings) {
            settings->GetProjectPage()->GetNameEdit()->setText(QStringLiteral("Renamed"));
            settings->accept();
        });
        QVERIFY(p.doc.OnCommand(ID_PROJECT_SETTINGS));
        QCOMPARE(p.dialogs.dialogTitles, std::vector<QString>{QStringLiteral("Project settings")});
        QCOMPARE(p.doc.GetSettings().GetName(), std::string("Renamed"));
    }

    void invalidLocationOpensTheDialogBeforeSavingAll() {
        DialogProject p;
        QTemporaryDir target;
        p.doc.GetSettings().SetLocation(p.Path(QStringLiteral("missing")).toStdString());
        ScriptDialog<CPrjSettingsDlg>(p.dialogs, [&target](CPrjSettingsDlg* settings) {
            settings->GetProjectPage()->GetLocationEdit()->SetText(target.path());
            settings->accept();
        });
        QVERIFY(p.doc.OnBibTexSaveAll());
        QCOMPARE(p.dialogs.dialogTitles,
                 std::vector<QString>{QStringLiteral("Project settings (invalid path)")});
        QVERIFY(QFile::exists(QDir(target.path()).filePath(QStringLiteral("refs.bib"))));
        QVERIFY(QFile::exists(QDir(target.path()).filePath(QStringLiteral("strings.bib"))));
    }
};

QTEST_MAIN(TestPrjSettings)
#include "tst_prjsettings.moc"
