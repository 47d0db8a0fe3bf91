// The items lists of the desktop program on a project of 100 000 items:
// switching the main window to the list of all items, sorting it by a
// column, selecting all of it, and the memory the lists take. Runs on Qt's
// offscreen platform unless another is chosen.
#include "BenchUtil.h"
#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "project/CommandIds.h"
#include "project/QVNDoc.h"
#include "views/ItemsListModel.h"
#include "views/QVNBibTeXView.h"
#include "views/QVNStringView.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTreeView>

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kItems = 100000;

// The program with the generated project, made once for all benchmarks.
struct Program {
    QTemporaryDir settings;
    std::unique_ptr<CQVNApp> app;
    std::size_t residentWithoutLists = 0;

    Program() {
        // The user's own settings stay untouched.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        QApplication::setQuitOnLastWindowClosed(false);
        app = std::make_unique<CQVNApp>();
        app->Start({QStringLiteral("quorvane")});
        bench::FillProject(app->GetDocument(), kItems, 300);
        Frame().SwitchMainView(MainViewKind::Files);
        QApplication::processEvents();
        residentWithoutLists = bench::ResidentBytes();
    }
    CMainFrame& Frame() { return *app->GetMainFrame(); }

    // What the project explorer does when "BibTeX files" is selected.
    CQVNBibTeXView* ShowAllItems() {
        auto* view = static_cast<CQVNBibTeXView*>(Frame().SwitchMainView(MainViewKind::Items));
        view->SetFileName({});
        app->GetDocument().UpdateAllViews(nullptr, UpdateHint::Change);
        Settle(view);
        return view;
    }
    // Lets the window lay the list out and paint it.
    static void Settle(CQVNListView* view) {
        QApplication::processEvents();
        // The replaced main view goes as it would in the event loop.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        view->GetDetailsView()->viewport()->repaint();
    }
};

// Made on first use; gone before the application object.
std::unique_ptr<Program> g_program;

Program& TheProgram() {
    if (!g_program) {
        g_program = std::make_unique<Program>();
    }
    return *g_program;
}

void BM_SwitchToAllItems(benchmark::State& state) {
    Program& program = TheProgram();
    for (auto _ : state) {
        CQVNBibTeXView* view = program.ShowAllItems();
        benchmark::DoNotOptimize(view);
    }
    state.counters["rows"] = kItems;
}
BENCHMARK(BM_SwitchToAllItems)->Unit(benchmark::kMillisecond)->UseRealTime();

// A file's list comes up sorted by the column sorted last (10 000 items).
void BM_SwitchToOneFileSorted(benchmark::State& state) {
    Program& program = TheProgram();
    program.ShowAllItems()->SortItems(2, true);
    for (auto _ : state) {
        auto* view =
            static_cast<CQVNBibTeXView*>(program.Frame().SwitchMainView(MainViewKind::Items));
        view->SetFileName("file3");
        program.app->GetDocument().UpdateAllViews(nullptr, UpdateHint::Change);
        Program::Settle(view);
    }
    state.counters["rows"] = program.app->GetDocument().GetItemCount("file3");
}
BENCHMARK(BM_SwitchToOneFileSorted)->Unit(benchmark::kMillisecond)->UseRealTime();

// Sorts the list of all items by a column: 0 the key, 2 the title with the
// default columns (key, author, title, keywords). The direction alternates
// so that every run reorders.
void BM_SortAllItems(benchmark::State& state) {
    Program& program = TheProgram();
    CQVNBibTeXView* view = program.ShowAllItems();
    const int column = static_cast<int>(state.range(0));
    bool ascending = true;
    for (auto _ : state) {
        view->SortItems(column, ascending);
        Program::Settle(view);
        ascending = !ascending;
    }
}
BENCHMARK(BM_SortAllItems)->Arg(2)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SelectAllItems(benchmark::State& state) {
    Program& program = TheProgram();
    CQVNBibTeXView* view = program.ShowAllItems();
    for (auto _ : state) {
        program.Frame().RouteCommand(ID_EDIT_SELECT_ALL); // the preview and the hint
        Program::Settle(view);
        view->GetSelectionModel()->clear();
    }
}
BENCHMARK(BM_SelectAllItems)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Typing a 10-character word into the quick filter of the list of all
// items: each keystroke as the user makes it (the text changes, the list
// follows and is painted). The figure is the slowest keystroke; the texts
// the filter reads are made when the box gets the focus, before typing.
void BM_QuickFilterTyping(benchmark::State& state, const char* word) {
    Program& program = TheProgram();
    CQVNBibTeXView* view = program.ShowAllItems();
    view->GetFilterBox()->setFocus();
    while (!view->GetModel()->PrepareFilterTexts(1000)) {
    }
    double slowest = 0;
    int shown = 0;
    for (auto _ : state) {
        std::string typed;
        for (const char* c = word; *c != 0; ++c) {
            typed += *c;
            const auto start = std::chrono::steady_clock::now();
            view->GetFilterBox()->setText(QString::fromStdString(typed));
            view->ApplyFilter();
            Program::Settle(view);
            slowest = std::max(slowest, std::chrono::duration<double, std::milli>(
                                            std::chrono::steady_clock::now() - start)
                                            .count());
        }
        shown = view->GetShownCount();
        view->GetFilterBox()->clear();
        view->ApplyFilter();
        Program::Settle(view);
    }
    state.counters["slowest_key_ms"] = slowest;
    state.counters["shown"] = shown;
}
BENCHMARK_CAPTURE(BM_QuickFilterTyping, boxes_fast, "boxes fast")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_QuickFilterTyping, no_match, "zqxjkvwpyb")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

// Resident memory of the list of all items, sorted, against the program
// showing the files list.
void BM_MemoryOfTheLists(benchmark::State& state) {
    Program& program = TheProgram();
    for (auto _ : state) {
        CQVNBibTeXView* view = program.ShowAllItems();
        view->SortItems(1, true);
        Program::Settle(view);
        view->SelectAll();
        view->SelectionChanged(false);
        Program::Settle(view);
    }
    const double views = static_cast<double>(bench::ResidentBytes()) -
                         static_cast<double>(program.residentWithoutLists);
    state.counters["views_MB"] = views / (1024.0 * 1024.0);
}
BENCHMARK(BM_MemoryOfTheLists)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    qvn::UseHugePagesForTheHeap(argv);
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_program.reset();
    return 0;
}
