// A soak test of the whole program on a project of 100 000 items: switching
// every view, sorting, searching, editing in the property window, cutting and
// pasting items between files, exporting, saving and reopening, over and
// over. Memory must stay flat and the reopened project must equal the saved
// one item for item. Then the program is killed while it edits and started
// again, over and over: every start must restore exactly the last recovery
// copy. Each part is bounded in time: QVN_SOAK_SECONDS (default 90).
#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "model/BibTexEntry.h"
#include "model/Catalogue.h"
#include "model/FileSignature.h"
#include "project/CommandIds.h"
#include "project/ExportOptions.h"
#include "project/QVNDoc.h"
#include "support/ChildProgram.h"
#include "support/GuiTestSupport.h"
#include "views/QVNBibTeXView.h"
#include "views/QVNListView.h"
#include "views/QVNPropertyView.h"
#include "views/QVNTreeView.h"
#include "widgets/PropCtrl.h"

#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QFile>
#include <QItemSelectionModel>
#include <QRandomGenerator>
#include <QSortFilterProxyModel>
#include <QTest>

#include <fstream>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFiles = 10;
constexpr int kItemsPerFile = 10000;

std::size_t ResidentBytes() {
    malloc_trim(0);
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    std::size_t resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

// A project of 100 000 items with 8 to 12 fields each and 500 strings.
QString MakeProject(const QTemporaryDir& dir) {
    CQVNDoc doc;
    doc.NewProject();
    doc.StartProject({"Soak", dir.path().toStdString(), "strings.bib"});
    for (int s = 0; s < 500; ++s) {
        doc.AddString("j" + std::to_string(s), "{Journal of Things " + std::to_string(s) + "}",
                      false);
    }
    static const char* const kWords[] = {"Fast",   "Graphs", "of",      "Learning", "Theory",
                                         "Sparse", "the",    "Systems", "Analysis", "Memory"};
    for (int f = 0; f < kFiles; ++f) {
        for (int i = 0; i < kItemsPerFile; ++i) {
            const int n = f * kItemsPerFile + i;
            auto item = std::make_unique<CBibTexEntry>("file" + std::to_string(f),
                                                       "key" + std::to_string(n), n % 8);
            std::string title = "{";
            for (int w = 0; w < 6; ++w) {
                title += kWords[(n * 7 + w * 3) % 10];
                title += ' ';
            }
            title += std::to_string(n) + "}";
            item->SetField(kFieldTitle, title, true);
            item->SetField(kFieldAuthor,
                           "{Author" + std::to_string(n % 977) + ", A. and Other, B.}", true);
            item->SetField(kFieldJournal, "j" + std::to_string(n % 500), true);
            item->SetField(kFieldYear, std::to_string(1950 + n % 70), true);
            item->SetField(
                kFieldPages,
                "{" + std::to_string(n % 300) + "--" + std::to_string(n % 300 + 12) + "}", true);
            item->SetField(kFieldKeywords, std::string("{") + kWords[n % 10] + "}", true);
            item->SetField(kFieldPublisher, "{Publisher " + std::to_string(n % 40) + "}", true);
            item->SetField(kFieldAbstract, "{An abstract of item " + std::to_string(n) + "}", true);
            if (n % 3 == 0) {
                item->SetField(kFieldNote, "{Note " + std::to_string(n) + "}", true);
            }
            doc.AddItem(std::move(item));
        }
    }
    const QString path = dir.filePath(QStringLiteral("soak.qvp"));
    doc.SaveProject(path.toStdString());
    return path;
}

int SoakSeconds() {
    return qEnvironmentVariableIsSet("QVN_SOAK_SECONDS")
               ? qEnvironmentVariableIntValue("QVN_SOAK_SECONDS")
               : 90;
}

std::map<std::string, std::string> Snapshot(const CQVNDoc& doc) {
    std::map<std::string, std::string> items;
    doc.GetItems().ForEachItem([&](const CBibTexEntry& item) {
        items[item.GetKey()] = item.GetFileName() + "\n" + item.FormatText();
    });
    return items;
}

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<AppSession> m_session;
    QTemporaryDir m_dir;

    CQVNApp& App() { return m_session->app; }
    CMainFrame& Frame() { return *App().GetMainFrame(); }
    CQVNDoc& Doc() { return App().GetDocument(); }
    CQVNTreeView* Tree() {
        return qobject_cast<CQVNTreeView*>(Frame().GetExplorerPane()->widget());
    }
    CQVNListView* List() { return qobject_cast<CQVNListView*>(Frame().GetMainView()); }
    // Lets queued work and deferred deletions run, as the event loop would.
    static void Settle() {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void Select(const QModelIndex& node) {
        Tree()->SelectNode(node);
        Settle();
    }

private Q_SLOTS:
    void soak() {
        QVERIFY(m_dir.isValid());
        const QString path = MakeProject(m_dir);
        m_session = std::make_unique<AppSession>();
        QVERIFY(App().Start({QStringLiteral("quorvane"), path}));
        QCOMPARE(Doc().GetItems().GetTotalCount(), kFiles * kItemsPerFile);
        auto* properties = qobject_cast<CQVNPropertyView*>(Frame().GetPropertyPane()->widget());
        QVERIFY(properties != nullptr);

        const int seconds = SoakSeconds();
        QElapsedTimer timer;
        timer.start();
        std::vector<std::size_t> memory;
        int round = 0;
        while (timer.elapsed() < seconds * 1000 || round < 4) {
            // Every view, and sorting the big lists.
            Select(Tree()->GetRootNode());
            QVERIFY(List() != nullptr);
            Select(Tree()->GetStringsNode());
            List()->SortItems(0, round % 2 == 0);
            Select(Tree()->GetFilesNode());
            QCOMPARE(List()->GetSourceModel()->rowCount(), Doc().GetItems().GetTotalCount());
            List()->SortItems(1 + round % 3, round % 2 == 1);
            const std::string from = "file" + std::to_string(round % kFiles);
            const std::string to = "file" + std::to_string((round + 1) % kFiles);
            Select(Tree()->GetFileNode(from));

            // An edit in the property window, through the grid as a user's.
            List()->SelectRow(round % 50);
            List()->SelectionChanged(true);
            QCoreApplication::processEvents();
            CBibTexEntry* shown = properties->GetItem();
            QVERIFY(shown != nullptr);
            properties->GetPropCtrl()->CommitValue(kFieldNote,
                                                   QStringLiteral("Edited in round %1").arg(round));
            QCOMPARE(shown->GetValue(kFieldNote),
                     "{Edited in round " + std::to_string(round) + "}");

            // Cut ten items from one file and paste them into the next.
            List()->SelectRow(0);
            for (int r = 1; r < 10; ++r) {
                List()->GetSelectionModel()->select(
                    List()->GetProxy()->mapFromSource(List()->GetSourceModel()->index(r, 0)),
                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
            }
            const int before = Doc().GetItems().GetTotalCount();
            Frame().SetActiveView(List());
            QVERIFY(Frame().RouteCommand(ID_EDIT_CUT));
            QCOMPARE(Doc().GetItems().GetTotalCount(), before - 10);
            Select(Tree()->GetFileNode(to));
            Frame().SetActiveView(List());
            QVERIFY(Frame().RouteCommand(ID_EDIT_PASTE));
            QCOMPARE(Doc().GetItems().GetTotalCount(), before);

            // A search, and its results.
            CSearch* search = Doc().MakeSearch("graphs " + std::to_string(round % 7), kFieldTitle);
            QCoreApplication::processEvents();
            if (search != nullptr) {
                QVERIFY(List() != nullptr);
            }

            // Export everything, then save and reopen.
            QTemporaryDir out;
            MultiExportOptions options{out.path().toStdString(),
                                       std::vector<bool>(Doc().GetMultiExportRows().size(), true),
                                       true, true};
            QVERIFY(Doc().MultiExport(options));
            const auto saved = Snapshot(Doc());
            QVERIFY(Doc().OnFileSave());
            QVERIFY(Doc().OnFileOpen(path.toStdString()));
            QCoreApplication::processEvents();
            QVERIFY(Snapshot(Doc()) == saved);
            QVERIFY(Doc().GetItems().IsConsistent());

            Settle();
            memory.push_back(ResidentBytes());
            if (qEnvironmentVariableIsSet("QVN_SOAK_VERBOSE")) {
                qInfo("round %d: %zu MB", round, memory.back() >> 20);
            }
            ++round;
        }
        // Flat memory: the second half of the run grows by no more than a
        // small margin over its first measurement.
        const std::size_t half = memory.size() / 2;
        std::size_t peak = 0;
        for (std::size_t i = half; i < memory.size(); ++i) {
            peak = std::max(peak, memory[i]);
        }
        const double growth = static_cast<double>(peak) - static_cast<double>(memory[half]);
        qInfo("soak: %d rounds in %lld s; resident memory %zu MB at the start of the second half, "
              "%zu MB peak, %zu MB at the end",
              round, timer.elapsed() / 1000, memory[half] >> 20, peak >> 20, memory.back() >> 20);
        QVERIFY2(growth < 0.05 * static_cast<double>(memory[half]) + 8.0 * 1024 * 1024,
                 "memory grew over the second half of the run");
        m_session.reset();
    }

    void killAndRestart() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString project = WriteProject(dir, QStringLiteral("killed.qvp"), 4, 2500, 100);
        const QString folder = dir.filePath(QStringLiteral("recovery"));
        QElapsedTimer timer;
        timer.start();
        int round = 0;
        QString expected; // the hash of the last recovery copy
        while (timer.elapsed() < SoakSeconds() * 1000 || round < 4) {
            CChildProgram program;
            QVERIFY(program.Start({QStringLiteral("--edit-child"), folder, project}));
            if (expected.isEmpty()) {
                QVERIFY(program.WaitForLine(QStringLiteral("opened ")));
            } else {
                // The previous run's last copy, exactly.
                const auto restored = program.WaitForLine(QStringLiteral("restored "));
                QVERIFY2(restored, "the recovery copy was not offered or not restored");
                QCOMPARE(*restored, expected);
            }
            QVERIFY(program.WaitForLine(QStringLiteral("copy")));
            // Killed at any moment of its work: editing, or writing a copy.
            QTest::qWait(static_cast<int>(QRandomGenerator::global()->bounded(400)));
            program.KillAll();

            const QStringList copies =
                QDir(folder).entryList({QStringLiteral("*.qvp")}, QDir::Files);
            QCOMPARE(copies.size(), 1);
            QFile file(QDir(folder).filePath(copies.front()));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const std::string bytes = file.readAll().toStdString();
            // Every copy opens as a project of its own.
            CQVNDoc check;
            check.SetFileLocking(false);
            check.LoadFromBytes(bytes);
            QVERIFY(check.GetItems().IsConsistent());
            QVERIFY(check.GetItems().GetTotalCount() >= 4 * 2500);
            expected = QString::asprintf("%016llx",
                                         static_cast<unsigned long long>(qvn::ContentHash(bytes)));
            ++round;
        }
        qInfo("kill and restart: %d rounds in %lld s", round, timer.elapsed() / 1000);
    }
};

int main(int argc, char** argv) {
    if (const auto status = RunChildProgram(argc, argv)) {
        return *status;
    }
    QApplication app(argc, argv);
    TestSoak test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_soak.moc"
