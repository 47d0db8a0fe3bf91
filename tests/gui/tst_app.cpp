// The application object: start-up with and without a project file, a file
// that cannot be read, the save prompt on close, the appearance settings
// kept per user, recent files, dropped files and the Help menu.
#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "app/RecentFileList.h"
#include "app/Resources.h"
#include "app/SearchBar.h"
#include "app/StatusPane.h"
#include "kit/HelpWindow.h"
#include "project/CommandIds.h"
#include "support/AppTestCase.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QFile>
#include <QFont>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QTextBrowser>

#include <memory>

namespace {

class FakeShell : public IShell {
public:
    bool result = false;
    std::vector<std::string> opened;
    FailedLater failedLater;
    bool Open(const std::string& what, FailedLater later) override {
        opened.push_back(what);
        failedLater = std::move(later);
        return result;
    }
};

QSettings UserSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tavelmark"),
                     QStringLiteral("Quorvane"));
}

} // namespace

class TestApp : public QObject, public AppTestCase {
    Q_OBJECT

private Q_SLOTS:
    void init() { StartSession(); }
    void cleanup() { EndSession(); }

    void startsWithoutProject() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        const CQVNDoc& doc = m_app->GetDocument();
        QVERIFY(!doc.IsProjectActive());
        QCOMPARE(doc.GetTitle(), std::string("Untitled"));
        // The first new-project request of the run asked nothing.
        QCOMPARE(m_dialogs->wizardRuns, 0);
        QVERIFY(m_dialogs->messages.empty());
        QVERIFY(m_app->GetMainFrame()->isVisible());
    }

    void opensTheFileOnTheCommandLine() {
        const QString path = WriteProject(m_dir, QStringLiteral("cmdline.qvp"), 2, 5, 3);
        QVERIFY(m_app->Start({QStringLiteral("quorvane"), path}));
        const CQVNDoc& doc = m_app->GetDocument();
        QVERIFY(doc.IsProjectActive());
        QVERIFY(!doc.IsModified());
        QCOMPARE(doc.GetItems().GetTotalCount(), 10);
        QCOMPARE(doc.GetStrings().GetCount(), 3);
        QCOMPARE(QString::fromStdString(doc.GetPathName()), QDir::toNativeSeparators(path));
        QCOMPARE(m_app->GetMainFrame()->windowTitle(), QStringLiteral("cmdline - Quorvane"));
        QCOMPARE(m_app->GetRecentFiles().Entries(), QStringList{QDir::toNativeSeparators(path)});
        QVERIFY(m_dialogs->messages.empty());
    }

    void relativePathOnTheCommandLineIsMadeAbsolute() {
        const QString path = WriteProject(m_dir, QStringLiteral("relative.qvp"), 1, 1, 0);
        const QString previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        const bool started =
            m_app->Start({QStringLiteral("quorvane"), QStringLiteral("relative.qvp")});
        QDir::setCurrent(previous);
        QVERIFY(started);
        QCOMPARE(QString::fromStdString(m_app->GetDocument().GetPathName()),
                 QDir::toNativeSeparators(path));
        // An empty location in the file is the project file's folder.
        QCOMPARE(QString::fromStdString(m_app->GetDocument().GetSettings().GetLocation()),
                 QDir::toNativeSeparators(m_dir.path()));
    }

    void failedOpenEndsTheProgram_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QByteArray() << false << QStringLiteral("%1 was not found.");
        // A count that promises more than the file holds.
        QTest::newRow("truncated") << QByteArray("\x05\x00\x00\x00", 4) << true
                                   << QStringLiteral("Unexpected file format.");
    }
    void failedOpenEndsTheProgram() {
        QFETCH(QByteArray, content);
        QFETCH(bool, exists);
        QFETCH(QString, message);
        const QString path = m_dir.filePath(QStringLiteral("broken.qvp"));
        QFile::remove(path);
        if (exists) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        QCOMPARE(m_app->Run({QStringLiteral("quorvane"), path}), 1);
        QCOMPARE(m_dialogs->messages.size(), std::size_t(1));
        if (message.contains(QStringLiteral("%1"))) {
            message = message.arg(QDir::toNativeSeparators(path));
        }
        QCOMPARE(QString::fromStdString(m_dialogs->messages[0].text), message);
        QCOMPARE(m_dialogs->messages[0].caption, std::string());
        // Nothing asks for a new project on the way out.
        QCOMPARE(m_dialogs->wizardRuns, 0);
        QVERIFY(!m_app->GetMainFrame()->isVisible());
    }

    void closeAsksToSaveChanges_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::newRow("cancel") << int(MsgResult::Cancel) << false;
        QTest::newRow("no") << int(MsgResult::No) << true;
    }
    void closeAsksToSaveChanges() {
        QFETCH(int, answer);
        QFETCH(bool, closed);
        const QString path = WriteProject(m_dir, QStringLiteral("changed.qvp"), 1, 1, 0);
        QVERIFY(m_app->Start({QStringLiteral("quorvane"), path}));
        m_app->GetDocument().AddString("new", "A new string", false);
        QVERIFY(m_app->GetDocument().IsModified());
        m_dialogs->answers.push_back(MsgResult(answer));
        QCOMPARE(m_app->GetMainFrame()->close(), closed);
        QCOMPARE(m_dialogs->Texts(), std::vector<std::string>{"Save changes to changed?"});
        QCOMPARE(m_dialogs->messages[0].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(m_app->GetMainFrame()->isVisible(), !closed);
    }

    void closeWithoutChangesAsksNothing() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        QVERIFY(m_app->GetMainFrame()->close());
        QVERIFY(m_dialogs->messages.empty());
    }

    void exitCommandClosesTheWindow() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        QVERIFY(m_app->GetMainFrame()->RouteCommand(ID_APP_EXIT));
        QVERIFY(!m_app->GetMainFrame()->isVisible());
    }

    void appearanceSettingsAreWrittenAtExit() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        m_app->Shutdown();
        QSettings settings = UserSettings();
        // The defaults: author, title and keywords are columns; lccn and
        // price are hidden ignored fields.
        QCOMPARE(settings.value("Appearance/author").toString(), QStringLiteral("1,120,1"));
        QCOMPARE(settings.value("Appearance/title").toString(), QStringLiteral("1,150,1"));
        QCOMPARE(settings.value("Appearance/keywords").toString(), QStringLiteral("1,80,1"));
        QCOMPARE(settings.value("Appearance/lccn").toString(), QStringLiteral("0,200,0"));
        QCOMPARE(settings.value("Appearance/price").toString(), QStringLiteral("0,200,0"));
        QCOMPARE(settings.value("Appearance/abstract").toString(), QStringLiteral("0,200,1"));
        QCOMPARE(settings.value("Appearance/year").toString(), QStringLiteral("0,200,1"));
        QCOMPARE(settings.value("Appearance/ShowIF").toUInt(), 0u);
    }

    void appearanceSettingsAreReadAtStart() {
        {
            QSettings settings = UserSettings();
            // Only the values present count: author is not a column any more.
            settings.setValue("Appearance/title", "1,333,0");
            settings.setValue("Appearance/year", "1,60,1");
            settings.setValue("Appearance/ShowIF", 1u);
        }
        // Settings are read after the window exists, not before.
        QCOMPARE(m_app->GetAppearance().GetColumnCount(), 3);
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        const CQVNSettings& appearance = m_app->GetAppearance();
        QCOMPARE(appearance.GetColumnCount(), 2);
        QCOMPARE(appearance.GetColumnField(0), int(kFieldTitle));
        QCOMPARE(appearance.GetColumnWidth(0), 333);
        QCOMPARE(appearance.GetColumnField(1), int(kFieldYear));
        QCOMPARE(appearance.GetColumnWidth(1), 60);
        QVERIFY(!appearance.IsIgnoredFieldShown(kFieldTitle));
        QVERIFY(appearance.GetShowIgnoredFields());
    }

    void recentFilesKeepFourNewestFirst() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        QStringList paths;
        for (int i = 0; i < 5; ++i) {
            paths << WriteProject(m_dir, QStringLiteral("recent%1.qvp").arg(i), 1, 1, 0);
        }
        m_app->GetMainFrame()->OpenFiles(paths);
        const QStringList expected = {paths[4], paths[3], paths[2], paths[1]};
        QCOMPARE(m_app->GetRecentFiles().Entries(), expected);
        QSettings settings = UserSettings();
        QCOMPARE(settings.value("Recent File List/File1").toString(), paths[4]);
        QCOMPARE(settings.value("Recent File List/File4").toString(), paths[1]);
        QVERIFY(!settings.contains("Recent File List/File5"));
        QAction* second = m_app->GetMainFrame()->GetAction(ID_FILE_MRU_FILE1 + 1);
        QVERIFY(second->isVisible());
        QVERIFY(second->text().startsWith(QStringLiteral("&2 ")));
        QVERIFY(second->text().endsWith(QStringLiteral("recent3.qvp")));

        // Choosing an entry opens it again.
        QVERIFY(m_app->GetMainFrame()->RouteCommand(ID_FILE_MRU_FILE1 + 3));
        QCOMPARE(QString::fromStdString(m_app->GetDocument().GetPathName()), paths[1]);
        QCOMPARE(m_app->GetRecentFiles().Entries().first(), paths[1]);
    }

    void recentFileThatIsGoneLeavesTheList() {
        const QString path = WriteProject(m_dir, QStringLiteral("gone.qvp"), 1, 1, 0);
        QVERIFY(m_app->Start({QStringLiteral("quorvane"), path}));
        QVERIFY(m_app->GetMainFrame()->RouteCommand(ID_FILE_NEW));
        QVERIFY(QFile::remove(path));
        QVERIFY(m_app->GetMainFrame()->RouteCommand(ID_FILE_MRU_FILE1));
        QCOMPARE(m_dialogs->Texts(),
                 std::vector<std::string>{path.toStdString() + " was not found."});
        QVERIFY(m_app->GetRecentFiles().Entries().isEmpty());
        QCOMPARE(m_app->GetMainFrame()->GetAction(ID_FILE_MRU_FILE1)->text(),
                 QStringLiteral("Recent File"));
    }

    void droppedFilesOpenOneAfterTheOther() {
        const QString first = WriteProject(m_dir, QStringLiteral("first.qvp"), 1, 2, 0);
        const QString second = WriteProject(m_dir, QStringLiteral("second.qvp"), 1, 4, 0);
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        // The first project is changed after opening: the save question comes
        // between the two.
        m_app->GetDocument().OnFileOpen(first.toStdString());
        m_app->GetDocument().AddString("x", "y", false);
        m_dialogs->answers.push_back(MsgResult::No);
        m_app->GetMainFrame()->OpenFiles({first, second});
        QCOMPARE(m_dialogs->Texts(), std::vector<std::string>{"Save changes to first?"});
        QCOMPARE(m_app->GetDocument().GetItems().GetTotalCount(), 4);
        QCOMPARE(m_app->GetMainFrame()->windowTitle(), QStringLiteral("second - Quorvane"));
    }

    void filesDroppedOnTheWindowOpen() {
        const QString first = WriteProject(m_dir, QStringLiteral("drop1.qvp"), 1, 1, 0);
        const QString second = WriteProject(m_dir, QStringLiteral("drop2.qvp"), 1, 3, 0);
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        CMainFrame* frame = m_app->GetMainFrame();
        QVERIFY(frame->acceptDrops());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame, &drop);
        // Opened once the drop has finished, one after the other.
        QTRY_COMPARE(frame->windowTitle(), QStringLiteral("drop2 - Quorvane"));
        QCOMPARE(m_app->GetDocument().GetItems().GetTotalCount(), 3);
        QCOMPARE(m_app->GetRecentFiles().Entries(), (QStringList{second, first}));
    }

    void f1InTheSearchBarOpensItsTopic() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        CMainFrame* frame = m_app->GetMainFrame();
        QTest::keyClick(frame->GetSearchBar()->GetQueryBox()->lineEdit(), Qt::Key_F1);
        QVERIFY(frame->GetHelpWindow() != nullptr);
        QCOMPARE(frame->GetHelpWindow()->GetBrowser()->source().fileName(),
                 QStringLiteral("qvn_fast_search.htm"));
        // Elsewhere F1 opens the topic of the active view.
        frame->GetHelpWindow()->close();
        QVERIFY(frame->RouteCommand(ID_HELP));
        QCOMPARE(frame->GetHelpWindow()->GetBrowser()->source().fileName(),
                 QStringLiteral("projects.htm"));
    }

    void importFromTheMenu() {
        const QString project = WriteProject(m_dir, QStringLiteral("import.qvp"), 0, 0, 0);
        const QString bib = m_dir.filePath(QStringLiteral("refs.bib"));
        {
            QFile file(bib);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("@string{jacm = {Journal of the ACM}}\n"
                       "@article{one, title = {First}, journal = jacm, year = 2001}\n"
                       "@book{two, title = {Second}, year = 2002}\n");
        }
        QVERIFY(m_app->Start({QStringLiteral("quorvane"), project}));
        m_dialogs->openFileAnswers.push_back({bib.toStdString()});
        m_app->GetMainFrame()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_app->GetMainFrame()));
        QTest::keyClick(m_app->GetMainFrame(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(m_dialogs->fileRequests.size(), std::size_t(1));
        QVERIFY(m_dialogs->fileRequests[0].multiSelect);
        QCOMPARE(m_dialogs->Texts(), std::vector<std::string>{"Import with 0 errors finished."});
        QCOMPARE(m_app->GetDocument().GetItems().GetCount("refs"), 2);
        QCOMPARE(m_app->GetMainFrame()->GetFileCountPane()->text(), QStringLiteral("1 files"));
    }

    void aboutBoxShowsTheVersion() {
        CAboutDlg about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Quorvane"));
        QCOMPARE(about.GetVersionLabel()->text(), QStringLiteral("Quorvane Version 0.9.0.6"));
        QCOMPARE(about.GetVersionLabel()->font().weight(), QFont::Weight(700));
        auto* icon = about.findChild<QLabel*>(QStringLiteral("aboutIcon"));
        QVERIFY(icon != nullptr);
        QVERIFY(!icon->pixmap().isNull());
    }

    void manualAndHomepageThroughTheShell_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("failure");
        QTest::newRow("manual") << int(ID_HELP_MANUAL) << "Manual.pdf"
                                << "Could not open the Quorvane Manual.";
        QTest::newRow("homepage") << int(ID_HELP_HOMEPAGE) << "https://quorvane.invalid/"
                                  << "Could not open the Quorvane Homepage.";
    }
    void manualAndHomepageThroughTheShell() {
        QFETCH(int, id);
        QFETCH(QString, target);
        QFETCH(QString, failure);
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        FakeShell shell;
        m_app->SetShell(&shell);
        shell.result = true;
        QVERIFY(m_app->GetMainFrame()->RouteCommand(id));
        QVERIFY(m_dialogs->messages.empty());
        shell.result = false;
        QVERIFY(m_app->GetMainFrame()->RouteCommand(id));
        QCOMPARE(shell.opened,
                 (std::vector<std::string>{target.toStdString(), target.toStdString()}));
        QCOMPARE(m_dialogs->Texts(), std::vector<std::string>{failure.toStdString()});
        QCOMPARE(m_dialogs->messages[0].caption, std::string());
        // The desktop's opener gives up only after the call returned.
        shell.result = true;
        QVERIFY(m_app->GetMainFrame()->RouteCommand(id));
        QVERIFY(shell.failedLater);
        shell.failedLater();
        QCOMPARE(m_dialogs->Texts(),
                 (std::vector<std::string>{failure.toStdString(), failure.toStdString()}));
        m_app->SetShell(nullptr);
    }

    void missingManualIsReported() {
        // The desktop's shell itself: a missing file is a failure, whatever
        // the desktop would answer.
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        QVERIFY(m_app->GetMainFrame()->RouteCommand(ID_HELP_MANUAL));
        QDir::setCurrent(previous);
        QCOMPARE(m_dialogs->Texts(),
                 std::vector<std::string>{"Could not open the Quorvane Manual."});
    }

    void helpTopicsOpenTheHelpWindow() {
        QVERIFY(m_app->Start({QStringLiteral("quorvane")}));
        QVERIFY(m_app->GetMainFrame()->RouteCommand(ID_HELP_FINDER));
        CHelpWindow* help = m_app->GetMainFrame()->GetHelpWindow();
        QVERIFY(help != nullptr);
        QVERIFY(help->isVisible());
        QCOMPARE(help->GetBrowser()->source().fileName(), QStringLiteral("index.htm"));
        QVERIFY(help->GetBrowser()->toPlainText().contains(QStringLiteral("Topics")));
        // F1 in the search bar opens the search topic.
        m_app->GetMainFrame()->ShowHelpTopic(QString::fromLatin1(CHelpWindow::kSearchTopic));
        QCOMPARE(help->GetBrowser()->source().fileName(), QStringLiteral("qvn_fast_search.htm"));
        QVERIFY(help->GetBrowser()->isBackwardAvailable());
    }

    void helpPagesAndIconsAreShipped() {
        qvn::InitResources();
        for (const char* page : {"index.htm", "projects.htm", "importing.htm", "explorer.htm",
                                 "lists.htm", "properties.htm", "strings.htm",
                                 "qvn_fast_search.htm", "exporting.htm", "commandline.htm"}) {
            QVERIFY2(CHelpWindow::TopicExists(QString::fromLatin1(page)), page);
        }
        // The images are SVG: the image plugin must be there.
        QVERIFY(QImageReader::supportedImageFormats().contains("svg"));
        QImageReader reader(QStringLiteral(":/icons/quorvane.svg"));
        QVERIFY(reader.canRead());
    }
};

QTEST_MAIN(TestApp)
#include "tst_app.moc"
