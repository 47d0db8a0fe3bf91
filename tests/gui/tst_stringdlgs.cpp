// The string editor and the replace dialog: their texts, when OK is
// offered, what OK does through the document, and the Help buttons.
#include "app/MainFrame.h"
#include "dialogs/DialogHeader.h"
#include "dialogs/EditStrDlg.h"
#include "dialogs/ReplaceDlg.h"
#include "kit/HelpWindow.h"
#include "model/BibTexEntry.h"
#include "model/TexObject.h"
#include "project/CommandIds.h"
#include "support/DialogFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

namespace {} // namespace

class TestStringDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // --- String editor

    void stringEditorOpens() {
        DialogProject p;
        CEditStrDlg dialog(p.doc);
        QVERIFY(ShowWindow(dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("String editor"));
        QCOMPARE(dialog.GetHeader()->GetTitle(), QStringLiteral("Define a new BibTeX string"));
        QCOMPARE(dialog.GetHeader()->GetDescription(),
                 QStringLiteral("Use this dialog to create a new string definition."));
        QLabel* abbreviation = FindLabel(
            dialog, QStringLiteral("&Abbreviation (insert the abbreviated form of a string, e.g. "
                                   "a short form for the name of a journal):"));
        QVERIFY(abbreviation != nullptr);
        QCOMPARE(abbreviation->buddy(), dialog.GetAbbreviationEdit());
        QLabel* value = FindLabel(
            dialog, QStringLiteral("&String (insert the string which is represented by the "
                                   "abbreviation):"));
        QVERIFY(value != nullptr);
        QCOMPARE(value->buddy(), dialog.GetValueEdit());
        QVERIFY(dialog.GetAbbreviationEdit()->text().isEmpty());
        QVERIFY(dialog.GetValueEdit()->text().isEmpty());
        QVERIFY(dialog.GetAbbreviationEdit()->isEnabled());
        QCOMPARE(dialog.focusWidget(), dialog.GetAbbreviationEdit());
        QVERIFY(!dialog.GetOkButton()->isEnabled());
    }

    void stringEditorOkNeedsBothTexts_data() {
        QTest::addColumn<QString>("abbreviation");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("both") << "tois"
                              << "ACM TOIS" << true;
        QTest::newRow("no abbreviation") << ""
                                         << "ACM TOIS" << false;
        QTest::newRow("no value") << "tois"
                                  << "" << false;
        QTest::newRow("neither") << ""
                                 << "" << false;
        // Checked on OK, not here.
        QTest::newRow("illegal abbreviation") << "my jacm"
                                              << "x" << true;
    }
    void stringEditorOkNeedsBothTexts() {
        QFETCH(QString, abbreviation);
        QFETCH(QString, value);
        QFETCH(bool, enabled);
        DialogProject p;
        CEditStrDlg dialog(p.doc);
        QVERIFY(ShowWindow(dialog));
        QTest::keyClicks(dialog.GetAbbreviationEdit(), abbreviation);
        QTest::keyClicks(dialog.GetValueEdit(), value);
        QCOMPARE(dialog.GetOkButton()->isEnabled(), enabled);
    }

    void stringEditorOk_data() {
        QTest::addColumn<QString>("abbreviation");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("stored");
        const QString duplicate = QStringLiteral(
            "There is already an abbreviation 'jacm' in the list\nof strings. It's value is \n  "
            "'Journal of the ACM'.\n\nDo you want to overwrite it?");
        const QString illegal =
            QStringLiteral("Invalid string format (use of illegal characters).");
        QTest::newRow("new") << "tois" << QList<int>{} << ""
                             << "" << true << "New value";
        QTest::newRow("blank") << "my jacm" << QList<int>{} << illegal
                               << "Illegal abbreviation name" << false << "";
        QTest::newRow("brace") << "a{b" << QList<int>{} << illegal << "Illegal abbreviation name"
                               << false << "";
        QTest::newRow("overwrite yes") << "jacm" << QList<int>{int(MsgResult::Yes)} << duplicate
                                       << "Duplicate name" << true << "New value";
        QTest::newRow("overwrite no") << "jacm" << QList<int>{int(MsgResult::No)} << duplicate
                                      << "Duplicate name" << false << "Journal of the ACM";
    }
    void stringEditorOk() {
        QFETCH(QString, abbreviation);
        QFETCH(QList<int>, answers);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        QFETCH(bool, accepted);
        QFETCH(QString, stored);
        DialogProject p;
        for (int a : answers) {
            p.dialogs.answers.push_back(MsgResult(a));
        }
        CEditStrDlg dialog(p.doc);
        QVERIFY(ShowWindow(dialog));
        dialog.GetAbbreviationEdit()->setText(abbreviation);
        dialog.GetValueEdit()->setText(QStringLiteral("New value"));
        dialog.GetValueEdit()->setFocus();
        dialog.GetOkButton()->click();
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        QCOMPARE(dialog.isVisible(), !accepted);
        if (message.isEmpty()) {
            QVERIFY(p.dialogs.messages.empty());
        } else {
            QCOMPARE(p.dialogs.Texts(), std::vector<std::string>{message.toStdString()});
            QCOMPARE(QString::fromStdString(p.dialogs.messages[0].caption), caption);
            QCOMPARE(p.dialogs.messages[0].icon, MsgIcon::Warning);
        }
        if (caption == QStringLiteral("Illegal abbreviation name")) {
            QCOMPARE(dialog.focusWidget(), dialog.GetAbbreviationEdit());
        }
        std::string value;
        QCOMPARE(p.doc.LookupString(abbreviation.toStdString(), value), !stored.isEmpty());
        QCOMPARE(QString::fromStdString(value), stored);
        QCOMPARE(p.doc.IsModified(), accepted);
    }

    void stringEditorRefusesUnbalancedBraces() {
        DialogProject p;
        CEditStrDlg dialog(p.doc);
        QVERIFY(ShowWindow(dialog));
        dialog.GetAbbreviationEdit()->setText(QStringLiteral("tcs"));
        dialog.GetValueEdit()->setText(QStringLiteral("Theoretical {Computer Science"));
        dialog.GetAbbreviationEdit()->setFocus();
        dialog.GetOkButton()->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(p.dialogs.Texts(),
                 std::vector<std::string>{CTexObject::UnbalancedBracesMessage("tcs")});
        QCOMPARE(dialog.focusWidget(), dialog.GetValueEdit());
        QVERIFY(!p.doc.GetStrings().HasString("tcs"));
        QVERIFY(!p.doc.IsModified());
    }

    void newStringCommand() {
        DialogProject p;
        ScriptDialog<CEditStrDlg>(p.dialogs, [](CEditStrDlg* editor) {
            editor->GetAbbreviationEdit()->setText(QStringLiteral("tois"));
            editor->GetValueEdit()->setText(QStringLiteral("ACM TOIS"));
            editor->accept();
        });
        QVERIFY(p.doc.OnCommand(ID_NEW_STRING));
        QCOMPARE(p.dialogs.dialogTitles, std::vector<QString>{QStringLiteral("String editor")});
        std::string value;
        QVERIFY(p.doc.LookupString("tois", value));
        QCOMPARE(value, std::string("ACM TOIS"));
        QCOMPARE(p.hints.Sent(), (std::vector<SentHint>{{UpdateHint::Bulk, false}}));
        QVERIFY(p.doc.IsModified());
    }

    void helpOpensTheHelpWindow() {
        DialogProject p;
        CEditStrDlg editor(p.doc);
        CReplaceDlg replace;
        for (QDialog* dialog : std::initializer_list<QDialog*>{&editor, &replace}) {
            QVERIFY(ShowWindow(*dialog));
            QPushButton* help =
                dialog == &editor ? editor.GetHelpButton() : replace.GetHelpButton();
            QCOMPARE(help->text(), QStringLiteral("&Help"));
            help->click();
            auto* window = dialog->findChild<CHelpWindow*>();
            QVERIFY(window != nullptr);
            QVERIFY(window->isVisible());
            QCOMPARE(window->GetBrowser()->source().fileName(), QStringLiteral("strings.htm"));
            // A second request shows the same window.
            help->click();
            QCOMPARE(dialog->findChildren<CHelpWindow*>().size(), 1);
            // F1 does what the button does.
            window->close();
            QTRY_VERIFY(dialog->findChild<CHelpWindow*>() == nullptr);
            dialog->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            QTest::keyClick(dialog, Qt::Key_F1);
            QVERIFY(dialog->findChild<CHelpWindow*>() != nullptr);
            QVERIFY(dialog->findChild<CHelpWindow*>()->isVisible());
        }
    }

    // --- Replace

    void replaceDialogOpens() {
        CReplaceDlg dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Replace"));
        QCOMPARE(dialog.findChild<QGroupBox*>()->title(), QStringLiteral(" Replace "));
        for (const char* text : {"In &BibTeX field:", "Fi&nd what:", "Re&place with:"}) {
            QLabel* label = FindLabel(dialog, QString::fromLatin1(text));
            QVERIFY2(label != nullptr, text);
            QVERIFY(label->buddy() != nullptr);
        }
        QComboBox* fields = dialog.GetFieldBox();
        QVERIFY(!fields->isEditable());
        QCOMPARE(fields->count(), 38);
        QCOMPARE(fields->itemText(0), QStringLiteral("abstract"));
        QCOMPARE(fields->itemText(33), QStringLiteral("title"));
        QCOMPARE(fields->itemText(37), QStringLiteral("year"));
        QCOMPARE(fields->currentIndex(), -1);
        QCOMPARE(dialog.GetWholeWordBox()->text(), QStringLiteral("Match &whole word only"));
        QVERIFY(!dialog.GetWholeWordBox()->isEnabled());
        QVERIFY(!dialog.GetWholeWordBox()->isChecked());
        QCOMPARE(dialog.GetMatchCaseBox()->text(), QStringLiteral("Match &case"));
        QVERIFY(!dialog.GetMatchCaseBox()->isChecked());
        QVERIFY(!dialog.GetOkButton()->isEnabled());
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
        // Every change re-evaluates: the field last.
        dialog.GetFindEdit()->setText(find);
        dialog.GetReplaceEdit()->setText(replace);
        dialog.GetFieldBox()->setCurrentIndex(field);
        QCOMPARE(dialog.GetOkButton()->isEnabled(), enabled);
        dialog.accept();
        QCOMPARE(dialog.result() == QDialog::Accepted, enabled);
        dialog.GetMatchCaseBox()->setChecked(true);
        const ReplaceRequest request = dialog.GetRequest();
        QCOMPARE(request.field, field);
        QCOMPARE(QString::fromStdString(request.find), find);
        QCOMPARE(QString::fromStdString(request.replace), replace);
        QVERIFY(request.matchCase);
    }

    void replaceCommand_data() {
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("title");
        QTest::newRow("ignoring case")
            << false
            << "In BibTex-field 'title' all 2 occurences of 'box'\nhave been successfully replaced "
               "with 'crate'."
            << "{cratees and crate}";
        QTest::newRow("matching case")
            << true
            << "In BibTex-field 'title' all 0 occurences of 'box'\nhave been successfully replaced "
               "with 'crate'."
            << "{Boxes and BOX}";
    }
    void replaceCommand() {
        QFETCH(bool, matchCase);
        QFETCH(QString, message);
        QFETCH(QString, title);
        DialogProject p;
        ScriptDialog<CReplaceDlg>(p.dialogs, [matchCase](CReplaceDlg* replace) {
            replace->GetFieldBox()->setCurrentIndex(33);
            replace->GetFindEdit()->setText(QStringLiteral("box"));
            replace->GetReplaceEdit()->setText(QStringLiteral("crate"));
            replace->GetMatchCaseBox()->setChecked(matchCase);
            replace->GetOkButton()->click();
        });
        QVERIFY(p.doc.OnCommand(ID_EDIT_REPLACE));
        QCOMPARE(p.dialogs.dialogTitles, std::vector<QString>{QStringLiteral("Replace")});
        QCOMPARE(p.dialogs.Texts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(p.dialogs.messages[0].caption, std::string("Replace"));
        QCOMPARE(QString::fromStdString(
                     std::string(p.doc.LookupItem("papers", "smith01")->GetValue(kFieldTitle))),
                 title);
        QVERIFY(p.doc.IsModified());
    }

    void replaceInAFieldOutsideTheCatalogue() {
        DialogProject p;
        CBibTexEntry* item = p.doc.LookupItem("papers", "smith01");
        item->SetOtherField("note2", "{old box}");
        item->SetOtherField("Urldate", "{2020}");
        ScriptDialog<CReplaceDlg>(p.dialogs, [](CReplaceDlg* replace) {
            // The other fields follow the catalogue, sorted.
            QComboBox* fields = replace->GetFieldBox();
            QCOMPARE(fields->count(), 40);
            QCOMPARE(fields->itemText(38), QStringLiteral("note2"));
            QCOMPARE(fields->itemText(39), QStringLiteral("Urldate"));
            fields->setCurrentIndex(38);
            replace->GetFindEdit()->setText(QStringLiteral("box"));
            replace->GetReplaceEdit()->setText(QStringLiteral("crate"));
            replace->GetOkButton()->click();
        });
        QVERIFY(p.doc.OnCommand(ID_EDIT_REPLACE));
        QCOMPARE(p.dialogs.Texts(),
                 std::vector<std::string>{"In BibTex-field 'note2' all 1 occurences of 'box'\n"
                                          "have been successfully replaced with 'crate'."});
        QCOMPARE(item->GetOtherFieldValue(0), std::string_view("{old crate}"));
    }

    void replaceCancelledChangesNothing() {
        DialogProject p;
        QVERIFY(p.doc.OnCommand(ID_EDIT_REPLACE));
        QCOMPARE(p.dialogs.dialogTitles.size(), std::size_t(1));
        QVERIFY(p.dialogs.messages.empty());
        QVERIFY(!p.doc.IsModified());
    }

    void stringDialogsFromTheMainWindow() {
        AppSession session;
        QTemporaryDir dir;
        QVERIFY(StartWithProject(session, dir));
        // The string editor is filled in, the replace dialog cancelled.
        ScriptDialog<CEditStrDlg>(session.dialogs, [](CEditStrDlg* editor) {
            editor->GetAbbreviationEdit()->setText(QStringLiteral("tois"));
            editor->GetValueEdit()->setText(QStringLiteral("ACM TOIS"));
            editor->accept();
        });
        CMainFrame& frame = *session.app.GetMainFrame();
        QVERIFY(frame.RouteCommand(ID_NEW_STRING));
        QVERIFY(frame.RouteCommand(ID_EDIT_REPLACE));
        QCOMPARE(
            session.dialogs.dialogTitles,
            (std::vector<QString>{QStringLiteral("String editor"), QStringLiteral("Replace")}));
        QVERIFY(session.app.GetDocument().GetStrings().HasString("tois"));
    }
};

QTEST_MAIN(TestStringDialogs)
#include "tst_stringdlgs.moc"
