// The desktop program keeps a day's work: a second window on a project
// opens it read-only, changes other programs make to the file are noticed
// when the window gets the focus back, the questions about it have buttons
// of their own, the backup can be turned off, and the unsaved changes of a
// program that was killed are offered on the next start.
#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "app/QtUserInterface.h"
#include "dialogs/AppearanceDlg.h"
#include "dialogs/AppearanceSavingPP.h"
#include "model/FileIO.h"
#include "platform/ChildTask.h"
#include "project/CommandIds.h"
#include "project/LockFile.h"
#include "project/QVNDoc.h"
#include "support/AppTestCase.h"
#include "support/ChildProgram.h"
#include "support/GuiTestSupport.h"
#include "views/QVNPropertyView.h"
#include "widgets/PropCtrl.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <string>

namespace {

constexpr const char* kOutsideChange =
    "The project file has been changed by another program. Reload it (your unsaved changes are "
    "lost), save yours over it, or cancel?";

// Changes the project file as another program would.
void ChangeProjectFile(const QString& path, const std::string& abbreviation) {
    CQVNDoc other;
    other.SetFileLocking(false);
    QVERIFY(other.OpenProject(path.toStdString()));
    other.AddString(abbreviation, "added elsewhere", false);
    other.SetKeepBackup(false);
    QVERIFY(other.SaveProject(path.toStdString()));
}

// The bytes of the one recovery copy in `folder`.
QByteArray OnlyCopy(const QString& folder) {
    const QStringList copies = QDir(folder).entryList({QStringLiteral("*.qvp")}, QDir::Files);
    if (copies.size() != 1) {
        return {};
    }
    QFile file(QDir(folder).filePath(copies.front()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestFileSafety : public QObject, public AppTestCase {
    Q_OBJECT

    CMainFrame& Frame() { return *m_app->GetMainFrame(); }
    CQVNDoc& Doc() { return m_app->GetDocument(); }

private Q_SLOTS:
    void init() { StartSession(); }
    void cleanup() { EndSession(); }

    void secondWindowIsReadOnly() {
        const QString path = WriteProject(m_dir, QStringLiteral("p.qvp"), 1, 3, 2);
        CChildProgram first;
        QVERIFY(first.Start({QStringLiteral("--window-child"), path}));
        QVERIFY(first.WaitForLine(QStringLiteral("opened")));

        m_dialogs->answers.push_back(MsgResult::ReadOnly);
        QVERIFY(m_app->Start({QStringLiteral("quorvane"), path}));
        QCOMPARE(m_dialogs->messages.size(), std::size_t{1});
        QCOMPARE(m_dialogs->messages[0].buttons, MsgButtons::ReadOnlyCancel);
        QCOMPARE(QString::fromStdString(m_dialogs->messages[0].text),
                 QStringLiteral("'p.qvp' is open in another Quorvane window (process %1 on %2).\n"
                                "Open it read-only?")
                     .arg(first.ProcessId())
                     .arg(QString::fromStdString(qvn::HostName())));
        QCOMPARE(Frame().windowTitle(), QStringLiteral("p (read-only) - Quorvane"));
        for (int id : {ID_FILE_SAVE, ID_NEW_BIBTEX_ITEM, ID_NEW_STRING, ID_BIBTEX_IMPORT,
                       ID_EDIT_PASTE, ID_EDIT_REPLACE, ID_PROJECT_SETTINGS}) {
            QVERIFY2(!Frame().GetAction(id)->isEnabled(), qPrintable(QString::number(id)));
        }
        // Context menus and keys ask the same routing.
        for (int id : {ID_DELETE_ALL_STRINGS, ID_NEW_BIBTEX_FILE, ID_RENAME_FILE, ID_REMOVE_FILE,
                       ID_EDIT_CLEAR, ID_NEW_STRING}) {
            QVERIFY2(!Frame().QueryCommand(id).enabled, qPrintable(QString::number(id)));
            QVERIFY(!Frame().RouteCommand(id));
        }
        for (int id : {ID_FILE_SAVE_AS, ID_FILE_OPEN, ID_SEARCH, ID_BIBTEX_SAVE_ALL}) {
            QVERIFY2(Frame().GetAction(id)->isEnabled(), qPrintable(QString::number(id)));
        }
        // The property window shows the item, greyed.
        auto* properties = qobject_cast<CQVNPropertyView*>(Frame().GetPropertyPane()->widget());
        std::string file;
        CBibTexEntry* item = Doc().FindItem("key0_0", file);
        QVERIFY(item != nullptr);
        Doc().UpdateAllViews(nullptr, UpdateHint::Change, item);
        QCOMPARE(properties->GetItem(), item);
        EPropCtrl* grid = properties->GetPropCtrl();
        QVERIFY(!grid->StartEdit(grid->FindProperty(kFieldTitle)));
        QVERIFY(!grid->CommitValue(kFieldTitle, QStringLiteral("Changed")));
        QVERIFY(!Doc().IsModified());

        // The first window is gone (killed): opening again takes the project.
        first.KillAll();
        m_dialogs->messages.clear();
        QVERIFY(Doc().OnFileOpen(path.toStdString()));
        QVERIFY(m_dialogs->messages.empty());
        Frame().updateActions();
        QCOMPARE(Frame().windowTitle(), QStringLiteral("p - Quorvane"));
        QVERIFY(Frame().GetAction(ID_NEW_STRING)->isEnabled());
    }

    void focusNoticesChangesOfOtherPrograms() {
        const QString path = WriteProject(m_dir, QStringLiteral("p.qvp"), 1, 3, 2);
        QVERIFY(m_app->Start({QStringLiteral("quorvane"), path}));
        // Nothing unsaved: the window shows the file as it is now.
        ChangeProjectFile(path, "first");
        m_app->OnActivated();
        QVERIFY(m_dialogs->messages.empty());
        QVERIFY(Doc().GetStrings().HasString("first"));
        QCOMPARE(Frame().statusBar()->currentMessage(),
                 QStringLiteral("The project file was changed by another program and has been "
                                "reloaded."));
        // Unsaved changes: the user decides.
        Doc().AddString("mine", "typed here", false);
        ChangeProjectFile(path, "second");
        m_dialogs->answers.push_back(MsgResult::SaveOver);
        m_app->OnActivated();
        QCOMPARE(m_dialogs->Texts(), std::vector<std::string>{kOutsideChange});
        QCOMPARE(m_dialogs->messages[0].buttons, MsgButtons::ReloadSaveOverCancel);
        QVERIFY(!Doc().IsModified());
        CQVNDoc reader;
        QVERIFY(reader.OpenProject(path.toStdString()));
        QVERIFY(reader.GetStrings().HasString("mine"));
        QVERIFY(!reader.GetStrings().HasString("second"));
    }

    void questionsHaveButtonsOfTheirOwn_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("result");
        const int reload = static_cast<int>(MsgButtons::ReloadSaveOverCancel);
        const int readOnly = static_cast<int>(MsgButtons::ReadOnlyCancel);
        QTest::newRow("reload") << reload << "&Reload" << static_cast<int>(MsgResult::Reload);
        QTest::newRow("save over")
            << reload << "&Save over it" << static_cast<int>(MsgResult::SaveOver);
        QTest::newRow("cancel") << reload << "Cancel" << static_cast<int>(MsgResult::Cancel);
        QTest::newRow("escape") << reload << "" << static_cast<int>(MsgResult::Cancel);
        QTest::newRow("read-only")
            << readOnly << "Open &read-only" << static_cast<int>(MsgResult::ReadOnly);
        QTest::newRow("not at all") << readOnly << "" << static_cast<int>(MsgResult::Cancel);
    }
    void questionsHaveButtonsOfTheirOwn() {
        QFETCH(int, buttons);
        QFETCH(QString, press);
        QFETCH(int, result);
        CQtUserInterface::ClearHooks();
        CQtUserInterface ui;
        QTimer::singleShot(0, [press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            if (press.isEmpty()) {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* button : box->buttons()) {
                if (button->text() == press) {
                    button->click();
                    return;
                }
            }
            QFAIL("no such button");
        });
        QCOMPARE(static_cast<int>(ui.MessageBox("Question?", {}, MsgIcon::Warning,
                                                static_cast<MsgButtons>(buttons))),
                 result);
    }

    void backupCanBeTurnedOff() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        QVERIFY(Doc().GetKeepBackup());
        m_dialogs->runDialog = [](QDialog& dialog) {
            auto* appearance = qobject_cast<CAppearanceDlg*>(&dialog);
            if (appearance == nullptr) {
                return int(QDialog::Rejected);
            }
            appearance->GetSavingPage()->GetKeepBackupBox()->click();
            appearance->accept();
            return int(QDialog::Accepted);
        };
        m_dialogs->wizardAnswers.push_back(
            NewProjectValues{"P", m_dir.path().toStdString(), "strings.bib"});
        Doc().OnFileNew();
        QVERIFY(Frame().RouteCommand(ID_APPEARANCE));
        QVERIFY(!Doc().GetKeepBackup());
        QVERIFY(!m_app->GetAppearance().GetKeepBackup());
        // Kept per user: a run that finds it off in the settings starts so.
        EndSession();
        StartSession();
        CQVNSettings off;
        off.SetKeepBackup(false);
        off.Save(m_app->GetStore());
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        QVERIFY(!Doc().GetKeepBackup());
    }

    void changesOfAKilledProgramAreRestored_data() {
        QTest::addColumn<bool>("restore");
        QTest::newRow("restore") << true;
        QTest::newRow("discard") << false;
    }
    void changesOfAKilledProgramAreRestored() {
        QFETCH(bool, restore);
        const QString path = WriteProject(m_dir, QStringLiteral("thesis.qvp"), 2, 20, 3);
        const QString folder = m_dir.filePath(QStringLiteral("recovery-%1").arg(restore));
        CChildProgram program;
        QVERIFY(program.Start({QStringLiteral("--edit-child"), folder, path}));
        QVERIFY(program.WaitForLine(QStringLiteral("opened ")));
        QVERIFY(program.WaitForLine(QStringLiteral("copy")));
        program.KillAll();
        const QByteArray copy = OnlyCopy(folder);
        QVERIFY(!copy.isEmpty());

        m_app->SetRecoveryFolder(folder);
        m_dialogs->answers.push_back(restore ? MsgResult::Yes : MsgResult::No);
        // Asked once, over the window, whether or not the project is on the
        // command line.
        QStringList arguments{QStringLiteral("quorvane")};
        if (restore) {
            arguments << path;
        }
        QVERIFY(m_app->Start(arguments));
        QCOMPARE(m_dialogs->messages.size(), std::size_t{1});
        QVERIFY2(QRegularExpression(
                     QStringLiteral("^Quorvane found unsaved changes to 'thesis' from "
                                    "\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d\\. Restore them\\?$"))
                     .match(QString::fromStdString(m_dialogs->messages[0].text))
                     .hasMatch(),
                 m_dialogs->messages[0].text.c_str());
        if (!restore) {
            QVERIFY(!Doc().IsProjectActive());
            QVERIFY(QDir(folder).isEmpty());
            return;
        }
        QVERIFY(Doc().IsModified());
        QCOMPARE(QByteArray::fromStdString(Doc().SaveToBytes()), copy);
        QCOMPARE(Frame().windowTitle(), QStringLiteral("thesis - Quorvane"));
        QVERIFY(Frame().RouteCommand(ID_FILE_SAVE));
        QVERIFY(!Doc().IsModified());
        QVERIFY(QDir(folder).isEmpty());
        QCOMPARE(QByteArray::fromStdString(qvn::ReadWholeFile(path.toStdString())), copy);
    }
};

int main(int argc, char** argv) {
    if (const auto status = RunChildProgram(argc, argv)) {
        return *status;
    }
    QApplication app(argc, argv);
    TestFileSafety test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_filesafety.moc"
