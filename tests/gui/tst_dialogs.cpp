// The dialogs the document runs until their full versions exist: the checks
// they make, the messages they show and what they store.
#include "dialogs/AppearanceDlg.h"
#include "dialogs/EditStrDlg.h"
#include "dialogs/NewItemDlg.h"
#include "dialogs/NewProjectValuesDlg.h"
#include "dialogs/PrjSettingsDlg.h"
#include "dialogs/ReplaceDlg.h"
#include "model/TexObject.h"
#include "project/QVNDoc.h"
#include "project/QVNSettings.h"
#include "support/GuiTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

struct Project {
    ScriptedDialogs dialogs;
    CQtUserInterface ui;
    CQVNDoc doc{&ui};
    Project() {
        doc.NewProject();
        doc.StartProject({"Dialogs", "/tmp", "strings.bib"});
        doc.AddItem(std::make_unique<CBibTexEntry>("refs", "knuth84", 1));
        doc.AddString("jacm", "Journal of the ACM", false);
        doc.SetModifiedFlag(false);
    }
};

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newProjectDefaults() {
        ScriptedDialogs dialogs;
        CQtUserInterface ui;
        CNewProjectValuesDlg dialog(ui);
        QCOMPARE(dialog.GetNameEdit()->text(), QStringLiteral("My Quorvane Project"));
        QCOMPARE(dialog.GetLocationEdit()->text(), QString());
        QCOMPARE(dialog.GetStringsEdit()->text(), QStringLiteral("strings.bib"));
    }

    void newProjectChecks_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("existingLocation");
        QTest::addColumn<QString>("strings");
        QTest::addColumn<QString>("message");
        QTest::newRow("valid") << "Thesis" << true << "strings.bib"
                               << "";
        QTest::newRow("no name") << "" << true << "strings.bib"
                                 << "Please insert a Name for your project.";
        QTest::newRow("no location") << "Thesis" << false << "strings.bib"
                                     << "Please insert a valid path.";
        QTest::newRow("five characters") << "Thesis" << true << "a.bib"
                                         << "";
        QTest::newRow("capital extension") << "Thesis" << true << "ABBREV.BIB"
                                           << "";
        const QString invalid = QString::fromStdString(
            "Insert a valid name (ending with '.bib') for the\nfile holding your BibTeX strings. "
            "Please do not use\none of the following characters inthe file name: \n" +
            std::string(kForbiddenFileNameChars));
        QTest::newRow("extension only") << "Thesis" << true << ".bib" << invalid;
        QTest::newRow("other extension") << "Thesis" << true << "strings.txt" << invalid;
        QTest::newRow("colon") << "Thesis" << true << "a:b.bib" << invalid;
    }
    void newProjectChecks() {
        QFETCH(QString, name);
        QFETCH(bool, existingLocation);
        QFETCH(QString, strings);
        QFETCH(QString, message);
        ScriptedDialogs dialogs;
        CQtUserInterface ui;
        QTemporaryDir dir;
        CNewProjectValuesDlg dialog(ui);
        dialog.GetNameEdit()->setText(name);
        dialog.GetLocationEdit()->setText(existingLocation ? dir.path() : dir.filePath("missing"));
        dialog.GetStringsEdit()->setText(strings);
        QCOMPARE(dialog.Validate(), message.isEmpty());
        if (message.isEmpty()) {
            QVERIFY(dialogs.messages.empty());
            const NewProjectValues values = dialog.GetValues();
            QCOMPARE(QString::fromStdString(values.name), name);
            QCOMPARE(QString::fromStdString(values.location), dir.path());
            QCOMPARE(QString::fromStdString(values.stringsFileName), strings);
        } else {
            QCOMPARE(dialogs.Texts(), std::vector<std::string>{message.toStdString()});
        }
    }

    void stringEditorOkNeedsBothTexts() {
        Project p;
        CEditStrDlg dialog(p.doc, p.ui);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("String editor"));
        QVERIFY(!dialog.GetOkButton()->isEnabled());
        dialog.GetAbbreviationEdit()->setText(QStringLiteral("tois"));
        QVERIFY(!dialog.GetOkButton()->isEnabled());
        dialog.GetValueEdit()->setPlainText(
            QStringLiteral("ACM Transactions on Information Systems"));
        QVERIFY(dialog.GetOkButton()->isEnabled());
        dialog.GetAbbreviationEdit()->clear();
        QVERIFY(!dialog.GetOkButton()->isEnabled());
    }

    void stringEditorStores_data() {
        QTest::addColumn<QString>("abbreviation");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("stored");
        QTest::newRow("new") << "tois" << QList<int>{} << "" << true << "New value";
        QTest::newRow("blank") << "my jacm" << QList<int>{}
                               << "Invalid string format (use of illegal characters)." << false
                               << "";
        QTest::newRow("overwrite yes") << "jacm" << QList<int>{int(MsgResult::Yes)}
                                       << "There is already an abbreviation 'jacm' in the list\nof "
                                          "strings. It's value is \n  'Journal of the "
                                          "ACM'.\n\nDo you want to overwrite it?"
                                       << true << "New value";
        QTest::newRow("overwrite no") << "jacm" << QList<int>{int(MsgResult::No)}
                                      << "There is already an abbreviation 'jacm' in the list\nof "
                                         "strings. It's value is \n  'Journal of the "
                                         "ACM'.\n\nDo you want to overwrite it?"
                                      << false << "Journal of the ACM";
    }
    void stringEditorStores() {
        QFETCH(QString, abbreviation);
        QFETCH(QList<int>, answers);
        QFETCH(QString, message);
        QFETCH(bool, accepted);
        QFETCH(QString, stored);
        Project p;
        for (int a : answers) {
            p.dialogs.answers.push_back(MsgResult(a));
        }
        CEditStrDlg dialog(p.doc, p.ui);
        dialog.GetAbbreviationEdit()->setText(abbreviation);
        dialog.GetValueEdit()->setPlainText(QStringLiteral("New value"));
        dialog.accept();
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        if (message.isEmpty()) {
            QVERIFY(p.dialogs.messages.empty());
        } else {
            QCOMPARE(p.dialogs.Texts(), std::vector<std::string>{message.toStdString()});
        }
        std::string value;
        QCOMPARE(p.doc.LookupString(abbreviation.toStdString(), value), !stored.isEmpty());
        QCOMPARE(QString::fromStdString(value), stored);
        QCOMPARE(p.doc.IsModified(), accepted);
    }

    void replaceOkNeedsACompleteRequest_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("find");
        QTest::addColumn<QString>("replace");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("complete") << 33 << "Box"
                                  << "Boxes" << true;
        QTest::newRow("no field") << -1 << "Box"
                                  << "Boxes" << false;
        QTest::newRow("no find") << 33 << ""
                                 << "Boxes" << false;
        QTest::newRow("no replacement") << 33 << "Box"
                                        << "" << false;
        QTest::newRow("equal") << 33 << "Box"
                               << "Box" << false;
        QTest::newRow("case differs") << 33 << "Box"
                                      << "box" << true;
    }
    void replaceOkNeedsACompleteRequest() {
        QFETCH(int, field);
        QFETCH(QString, find);
        QFETCH(QString, replace);
        QFETCH(bool, enabled);
        CReplaceDlg dialog;
        QCOMPARE(dialog.GetFieldBox()->count(), 38);
        QCOMPARE(dialog.GetFieldBox()->currentIndex(), -1);
        dialog.GetFieldBox()->setCurrentIndex(field);
        dialog.GetFindEdit()->setText(find);
        dialog.GetReplaceEdit()->setText(replace);
        QCOMPARE(dialog.GetOkButton()->isEnabled(), enabled);
        dialog.GetMatchCaseBox()->setChecked(true);
        const ReplaceRequest request = dialog.GetRequest();
        QCOMPARE(request.field, field);
        QCOMPARE(QString::fromStdString(request.find), find);
        QCOMPARE(QString::fromStdString(request.replace), replace);
        QVERIFY(request.matchCase);
    }

    void newItemOffersFifteenTypes() {
        Project p;
        CNewItemDlg dialog(p.doc, p.ui, "refs");
        QCOMPARE(dialog.GetTypeBox()->count(), 15);
        QCOMPARE(dialog.GetTypeBox()->itemText(14), QStringLiteral("techreport"));
        QCOMPARE(dialog.GetFileBox()->currentText(), QStringLiteral("refs"));
        CNewItemDlg other(p.doc, p.ui, "unknown");
        QCOMPARE(other.GetFileBox()->currentText(), QString());
    }

    void newItemChecks_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("caption");
        QTest::newRow("space in key") << "my key"
                                      << "refs"
                                      << "Illegal name";
        QTest::newRow("parenthesis in key") << "key(1)"
                                            << "refs"
                                            << "Illegal name";
        QTest::newRow("colon in file") << "key"
                                       << "a:b"
                                       << "Illegal filename";
        QTest::newRow("duplicate") << "knuth84"
                                   << "other"
                                   << "Duplicate name";
        QTest::newRow("no key") << ""
                                << "refs"
                                << "No name specified";
        QTest::newRow("no file") << "key"
                                 << ""
                                 << "No file specified";
    }
    void newItemChecks() {
        QFETCH(QString, key);
        QFETCH(QString, file);
        QFETCH(QString, caption);
        Project p;
        CNewItemDlg dialog(p.doc, p.ui, "");
        dialog.GetKeyEdit()->setText(key);
        dialog.GetFileBox()->setEditText(file);
        dialog.accept();
        QVERIFY(dialog.result() != QDialog::Accepted);
        QCOMPARE(p.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(p.dialogs.messages[0].caption), caption);
        QCOMPARE(p.doc.GetItems().GetTotalCount(), 1);
    }

    void newItemIsAdded() {
        Project p;
        CNewItemDlg dialog(p.doc, p.ui, "refs");
        dialog.GetKeyEdit()->setText(QStringLiteral("lamport94:latex"));
        dialog.GetTypeBox()->setCurrentIndex(1); // book
        QVERIFY(dialog.GetFieldEdit(kFieldTitle) != nullptr);
        QVERIFY(dialog.GetFieldEdit(kFieldJournal) == nullptr);
        dialog.GetFieldEdit(kFieldTitle)->setText(QStringLiteral("LaTeX"));
        dialog.GetFieldEdit(kFieldYear)->setText(QStringLiteral("1994"));
        // Answer Yes for every required field left empty.
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        CBibTexEntry* item = p.doc.LookupItem("refs", "lamport94:latex");
        QVERIFY(item != nullptr);
        QCOMPARE(item->GetType(), 1);
        QCOMPARE(item->GetValue(kFieldTitle), std::string("{LaTeX}"));
        QCOMPARE(item->GetValue(kFieldYear), std::string("1994"));
        for (const ShownMessage& m : p.dialogs.messages) {
            QCOMPARE(m.caption, std::string("Required field"));
        }
    }

    void newItemStopsAtAnEmptyRequiredField() {
        Project p;
        p.dialogs.answers.push_back(MsgResult::No);
        CNewItemDlg dialog(p.doc, p.ui, "refs");
        dialog.GetKeyEdit()->setText(QStringLiteral("k"));
        dialog.accept();
        QVERIFY(dialog.result() != QDialog::Accepted);
        QCOMPARE(p.dialogs.messages.size(), std::size_t(1));
        QVERIFY(p.dialogs.messages[0].text.find(
                    "There is no value defined for the required\nfield '") == 0);
        QCOMPARE(p.doc.GetItems().GetTotalCount(), 1);
    }

    void projectSettingsApplyOnOk() {
        Project p;
        QTemporaryDir dir;
        CPrjSettingsDlg dialog(p.doc, p.ui);
        QCOMPARE(dialog.GetNameEdit()->text(), QStringLiteral("Dialogs"));
        dialog.GetNameEdit()->setText(QStringLiteral("Renamed"));
        dialog.GetLocationEdit()->setText(dir.path());
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(p.doc.GetSettings().GetName(), std::string("Renamed"));
        QCOMPARE(QString::fromStdString(p.doc.GetSettings().GetLocation()), dir.path());
        QVERIFY(p.doc.IsModified());
    }

    void projectSettingsInvalidPathNoKeepsEverything() {
        Project p;
        p.dialogs.answers.push_back(MsgResult::No);
        CPrjSettingsDlg dialog(p.doc, p.ui);
        dialog.GetNameEdit()->setText(QStringLiteral("Renamed"));
        dialog.GetLocationEdit()->setText(QStringLiteral("/no/such/folder"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(p.dialogs.messages[0].caption, std::string("Invalid path"));
        QCOMPARE(p.doc.GetSettings().GetName(), std::string("Dialogs"));
        QVERIFY(!p.doc.IsModified());
    }

    void appearanceAllColumns() {
        Project p;
        CQVNSettings settings;
        CAppearanceDlg dialog(p.doc, settings);
        QCOMPARE(dialog.GetSelectedList()->count(), 3);
        QCOMPARE(dialog.GetAvailableList()->count(), 35);
        dialog.findChild<QPushButton*>(QString(), Qt::FindChildrenRecursively);
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("->>")) {
                button->click();
            }
        }
        QCOMPARE(dialog.GetSelectedList()->count(), 38);
        dialog.GetShowIgnoredBox()->setChecked(true);
        dialog.GetIgnoredList()->item(kFieldNote)->setCheckState(Qt::Unchecked);
        dialog.accept();
        QCOMPARE(settings.GetColumnCount(), 38);
        QCOMPARE(settings.GetColumnField(0), 0);
        QCOMPARE(settings.GetColumnField(37), 37);
        QVERIFY(settings.GetShowIgnoredFields());
        QVERIFY(!settings.IsIgnoredFieldShown(kFieldNote));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
