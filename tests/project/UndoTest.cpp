// Undo and redo: every kind of change a user makes is one step, undoing it
// gives back the project exactly (item by item and the project file byte for
// byte), redoing it gives back the state after it; the modified flag follows
// the saved state; the history stays within its bounds.
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "model/BibTexString.h"
#include "model/Catalogue.h"
#include "project/QVNDoc.h"

#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

const std::string kCorpus = QVN_CORPUS_DIR;

// Everything a user could tell apart, item by item, and the project file.
struct ProjectState {
    std::string bytes;
    std::vector<std::string> items; // file, key, value count and text of each item in order
    bool operator==(const ProjectState&) const = default;
};

void PrintTo(const ProjectState& state, std::ostream* out) {
    *out << state.bytes.size() << " bytes, " << state.items.size() << " items";
}

class UndoTest : public ::testing::Test {
public:
    void SetUp() override {
        doc.StartProject({"P", dir.Path(), "strings.bib"});
        const ImportResult result =
            doc.ImportFiles({kCorpus + "/biber--papers.bib", kCorpus + "/cryptobib--abbrev0.bib",
                             kCorpus + "/bbt--preamble-percent-95.bib"});
        ASSERT_TRUE(result.unreadable.empty());
        doc.GetHistory().Clear();
        doc.SetModifiedFlag(false);
        doc.AddObserver(&hints);
    }

    ProjectState State() {
        ProjectState state;
        state.bytes = doc.SaveToBytes();
        doc.GetItems().ForEachItem([&](const CBibTexEntry& item) {
            state.items.push_back(item.GetFileName() + "|" + item.GetKey() + "|" +
                                  std::to_string(item.GetValueCount()) + "|" + item.FormatText());
        });
        return state;
    }
    CBibTexEntry* NthItem(std::size_t n) {
        CBibTexEntry* found = nullptr;
        std::size_t i = 0;
        const std::size_t total = static_cast<std::size_t>(doc.GetItems().GetTotalCount());
        if (total == 0) {
            return nullptr;
        }
        n %= total;
        doc.GetItems().ForEachItem([&](const CBibTexEntry& item) {
            if (i++ == n) {
                found = const_cast<CBibTexEntry*>(&item);
            }
        });
        return found;
    }
    std::string NthFile(std::size_t n) {
        std::vector<std::string> names;
        for (const auto& [name, file] : doc.GetItems().Files()) {
            names.push_back(name);
        }
        return names.empty() ? std::string() : names[n % names.size()];
    }
    std::string NthString(std::size_t n) {
        std::vector<std::string> names;
        for (const auto& [abbreviation, value] : doc.GetStrings()) {
            names.push_back(abbreviation);
        }
        return names.empty() ? std::string() : names[n % names.size()];
    }

    TempDir dir;
    ScriptedUi ui;
    CQVNDoc doc{&ui};
    HintRecorder hints;
};

using Action = std::function<void(UndoTest&, std::size_t)>;

struct NamedAction {
    const char* step; // the step's name, or null where it depends on the data
    Action run;
};

// What a user does, from whatever place; each is one step.
std::vector<NamedAction> Actions() {
    return {
        {"Change 'title'",
         [](UndoTest& t, std::size_t n) {
             CBibTexEntry* item = t.NthItem(n);
             CUndoStep step(t.doc, "Change 'title'");
             t.doc.NoteItemChange(*item);
             item->SetField(FindField("title"), "Changed " + std::to_string(n), false);
             t.doc.SetModifiedFlag();
         }},
        {nullptr,
         [](UndoTest& t, std::size_t n) {
             t.doc.AddItemField(*t.NthItem(n), "x-note" + std::to_string(n % 3), "{note}");
         }},
        {nullptr,
         [](UndoTest& t, std::size_t n) {
             CBibTexEntry* item = t.NthItem(n);
             std::string name = "title";
             if (item->GetOtherFieldCount() > 0) {
                 name = item->GetOtherFieldName(0);
             }
             t.doc.DeleteItemField(*item, name);
         }},
        {"Change Key",
         [](UndoTest& t, std::size_t n) {
             t.doc.ChangeItemKey(t.NthItem(n), "renamed" + std::to_string(n));
         }},
        {"Delete", [](UndoTest& t, std::size_t n) { t.doc.DeleteItem(t.NthItem(n)->GetKey()); }},
        {"Move",
         [](UndoTest& t, std::size_t n) { t.doc.MoveItem(t.NthItem(n), t.NthFile(n + 1)); }},
        {"New Item",
         [](UndoTest& t, std::size_t n) {
             t.doc.AddItem(std::make_unique<CBibTexEntry>(t.NthFile(n), "new" + std::to_string(n),
                                                          n % kEntryTypeCount));
         }},
        {"Paste",
         [](UndoTest& t, std::size_t n) {
             std::vector<CBibTexEntry*> added;
             t.doc.PasteItems(t.NthItem(n)->FormatText() + t.NthItem(n + 7)->FormatText(),
                              t.NthFile(n), added);
         }},
        {"Drop (Move)",
         [](UndoTest& t, std::size_t n) {
             const CBibTexEntry* item = t.NthItem(n);
             t.doc.DropItems(item->FormatText(), ItemTextOrigin::ProjectList, item->GetFileName(),
                             t.NthFile(n + 1));
         }},
        {"Drop (Copy)",
         [](UndoTest& t, std::size_t n) {
             t.doc.DropItems(t.NthItem(n)->FormatText(), ItemTextOrigin::SearchResults, {},
                             t.NthFile(n));
         }},
        {"Rename File",
         [](UndoTest& t, std::size_t n) {
             t.doc.RenameBibTexFile(t.NthFile(n), "File " + std::to_string(n));
         }},
        {"Remove File", [](UndoTest& t, std::size_t n) { t.doc.RemoveFile(t.NthFile(n)); }},
        {"New File",
         [](UndoTest& t, std::size_t n) { t.doc.AddFile("Empty " + std::to_string(n)); }},
        {"Change String",
         [](UndoTest& t, std::size_t n) {
             t.doc.AddString("s" + std::to_string(n % 5), "Value " + std::to_string(n), true);
         }},
        {nullptr,
         [](UndoTest& t, std::size_t n) {
             const std::string name = t.NthString(n);
             if (!name.empty()) {
                 CBibTexString string(name, *t.doc.GetStrings().FindString(name));
                 t.doc.OnStringPropertyChanged(string, StringProperty::Abbreviation,
                                               name + "x" + std::to_string(n));
             }
         }},
        {nullptr,
         [](UndoTest& t, std::size_t n) {
             const std::string name = t.NthString(n);
             if (!name.empty()) {
                 t.ui.answers.push_back(n % 2 ? MsgResult::Yes : MsgResult::No);
                 t.doc.DeleteString(name);
                 t.ui.answers.clear();
             }
         }},
        {"Delete All Strings", [](UndoTest& t, std::size_t) { t.doc.OnDeleteAllStrings(); }},
        {"Replace in 'title'",
         [](UndoTest& t, std::size_t) {
             t.doc.Replace({CFieldRef::FromName("title"), "e", "E", false});
         }},
        {"Import",
         [](UndoTest& t, std::size_t n) {
             t.doc.ImportFiles(
                 {kCorpus + (n % 2 ? "/biber--names.bib" : "/citationjs--syntax.bib")});
         }},
        {"Project Settings",
         [](UndoTest& t, std::size_t n) {
             t.ui.projectSettingsDialog = [n](CQVNDoc& doc, const std::string&) {
                 doc.GetSettings().SetName("Project " + std::to_string(n));
                 doc.GetSettings().SetStringsFile("strings" + std::to_string(n) + ".bib");
                 doc.SetModifiedFlag();
                 return true;
             };
             t.doc.OnProjectSettings();
         }},
        {"Delete",
         [](UndoTest& t, std::size_t n) {
             // One action over several items, as a list's Delete runs it.
             CUndoStep step(t.doc, "Delete");
             for (int i = 0; i < 3; ++i) {
                 t.doc.DeleteItem(t.NthItem(n + static_cast<std::size_t>(i) * 5)->GetKey());
             }
         }},
    };
}

TEST_F(UndoTest, EachActionIsOneStepThatUndoesAndRedoesExactly) {
    const std::vector<NamedAction> actions = Actions();
    for (std::size_t i = 0; i < actions.size(); ++i) {
        SCOPED_TRACE("action " + std::to_string(i));
        doc.GetHistory().Clear();
        const ProjectState before = State();
        actions[i].run(*this, i * 13 + 2);
        const ProjectState after = State();
        ASSERT_NE(before, after);
        ASSERT_EQ(doc.GetHistory().GetStepCount(), 1u);
        if (actions[i].step != nullptr) {
            EXPECT_EQ(doc.UndoText(), std::string("Undo ") + actions[i].step);
        }
        ASSERT_TRUE(doc.Undo().done);
        EXPECT_EQ(State(), before);
        EXPECT_TRUE(doc.GetItems().IsConsistent());
        EXPECT_FALSE(doc.CanUndo());
        ASSERT_TRUE(doc.Redo().done);
        EXPECT_EQ(State(), after);
        EXPECT_TRUE(doc.GetItems().IsConsistent());
    }
}

// Long random sequences of actions, all undone and all redone.
TEST_F(UndoTest, RandomSequencesUndoToTheStartAndRedoToTheEnd) {
    const std::vector<NamedAction> actions = Actions();
    for (unsigned seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        doc.GetHistory().Clear();
        const ProjectState start = State();
        std::vector<ProjectState> states{start};
        int steps = 0;
        for (int i = 0; i < 60; ++i) {
            std::size_t which = random() % actions.size();
            if (doc.GetItems().GetTotalCount() < 30) {
                which = 18; // an import: the other actions need items to work on
            }
            const std::size_t before = doc.GetHistory().GetUndoCount();
            actions[which].run(*this, random());
            ASSERT_TRUE(doc.GetItems().IsConsistent());
            if (doc.GetHistory().GetUndoCount() > before) {
                ++steps;
                states.push_back(State());
            }
            // Now and then take some back and go on from there.
            if (random() % 7 == 0 && steps > 2) {
                ASSERT_TRUE(doc.Undo().done);
                states.pop_back();
                --steps;
                ASSERT_EQ(State(), states.back());
            }
        }
        const ProjectState end = State();
        for (int i = steps; i > 0; --i) {
            ASSERT_TRUE(doc.Undo().done);
            ASSERT_EQ(State(), states[static_cast<std::size_t>(i) - 1]) << "after undo " << i;
        }
        EXPECT_FALSE(doc.CanUndo());
        EXPECT_EQ(State(), start);
        for (std::size_t i = 1; i < states.size(); ++i) {
            ASSERT_TRUE(doc.Redo().done);
            ASSERT_EQ(State(), states[i]) << "after redo " << i;
        }
        // (A step undone last and not replaced by another may remain to redo.)
        EXPECT_EQ(State(), end);
        ASSERT_TRUE(doc.GetItems().IsConsistent());
    }
}

TEST_F(UndoTest, TheModifiedFlagFollowsTheSavedState) {
    EXPECT_FALSE(doc.IsModified());
    doc.AddString("a", "A", true);
    doc.AddString("b", "B", true);
    EXPECT_TRUE(doc.IsModified());
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());
    doc.Undo();
    EXPECT_FALSE(doc.IsModified()); // back where the project was saved
    doc.Redo();
    EXPECT_TRUE(doc.IsModified());
    // Saved after the first change: undoing past it and back.
    ASSERT_TRUE(doc.SaveProject(dir.File("p.qvp")));
    EXPECT_FALSE(doc.IsModified());
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());
    doc.Redo();
    EXPECT_FALSE(doc.IsModified());
    // A new change after undoing past the save leaves the saved state
    // behind for good.
    doc.Undo();
    doc.AddString("c", "C", true);
    doc.Undo();
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(UndoTest, UndoAndRedoTellTheViewsAndANewChangeDropsTheRedoList) {
    doc.AddString("a", "A", true);
    hints.hints.clear();
    ASSERT_TRUE(doc.Undo().strings);
    EXPECT_FALSE(hints.hints.empty());
    EXPECT_EQ(doc.RedoText(), "Redo Change String");
    doc.AddFile("Fresh");
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(doc.UndoText(), "Undo New File");
    // A command without a name of its own takes the name of what it did.
    {
        CUndoStep command(doc, "");
        doc.DeleteItem(NthItem(0)->GetKey());
        doc.DeleteItem(NthItem(0)->GetKey());
    }
    EXPECT_EQ(doc.UndoText(), "Undo Delete");
}

TEST_F(UndoTest, TheHistoryIsBoundedAndForgottenOnOpenAndNew) {
    doc.GetHistory().SetLimits(3, CUndoHistory::kDefaultMaxBytes);
    for (int i = 0; i < 5; ++i) {
        doc.AddString("s" + std::to_string(i), "V", true);
    }
    EXPECT_EQ(doc.GetHistory().GetStepCount(), 3u);
    int undone = 0;
    while (doc.Undo().done) {
        ++undone;
    }
    EXPECT_EQ(undone, 3);
    EXPECT_TRUE(doc.GetStrings().HasString("s1"));
    EXPECT_FALSE(doc.GetStrings().HasString("s2"));
    // A byte budget smaller than one step keeps the newest step only.
    doc.GetHistory().SetLimits(200, 1);
    doc.AddString("x", "X", true);
    doc.AddString("y", "Y", true);
    EXPECT_EQ(doc.GetHistory().GetStepCount(), 1u);

    ASSERT_TRUE(doc.SaveProject(dir.File("p.qvp")));
    ASSERT_TRUE(doc.OpenProject(dir.File("p.qvp")));
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());
}

TEST_F(UndoTest, AChangeOutsideAnyStepForgetsTheHistoryInsteadOfUndoingItHalf) {
    doc.AddString("a", "A", true);
    ASSERT_TRUE(doc.CanUndo());
    doc.GetItems().Delete(NthItem(0)->GetKey()); // no step open
    EXPECT_FALSE(doc.CanUndo());
}

TEST_F(UndoTest, AnUndoneDeleteComesBackOutsideTheSearchesThatLostIt) {
    CBibTexEntry* item = NthItem(3);
    const std::string key = item->GetKey();
    doc.AddItemField(*item, "x-mark", "unique mark");
    CSearch* search = doc.MakeSearch("unique mark", CFieldRef::FromName("x-mark"));
    ASSERT_NE(search, nullptr);
    doc.DeleteItem(key);
    ASSERT_TRUE(doc.Undo().done);
    EXPECT_NE(doc.GetItems().FindKey(key), nullptr);
    EXPECT_TRUE(doc.GetItems().IsConsistent());
}

TEST_F(UndoTest, ReadOnlyProjectsAndTheCommandLineRecordNothing) {
    CQVNDoc batch;
    batch.EnableUndo(false);
    batch.StartProject({"P", dir.Path(), "strings.bib"});
    batch.AddString("a", "A", true);
    EXPECT_FALSE(batch.CanUndo());
    EXPECT_EQ(batch.GetHistory().GetStepCount(), 0u);
}

} // namespace
