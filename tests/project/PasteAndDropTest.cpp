// The project's rules for what the user pastes, drops and renames: what is
// copied, what is moved, and what is refused, with the words the user sees.
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "project/QVNDoc.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using namespace testsupport;

namespace {

using Strings = std::vector<std::string>;

class PasteAndDropTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.StartProject({"P", dir.Path(), "strings.bib"});
        doc.AddObserver(&hints);
        Add("thesis", "t1");
        Add("thesis", "t2");
        Add("other", "o1");
        hints.hints.clear();
    }
    void Add(const std::string& file, const std::string& key) {
        ASSERT_TRUE(doc.AddItem(std::make_unique<CBibTexEntry>(file, key, 0)));
    }
    Strings Keys(const std::string& file) const {
        Strings keys;
        if (const auto* items = doc.GetItems().Items(file)) {
            for (const auto& [key, item] : *items) {
                keys.push_back(key);
            }
        }
        return keys;
    }
    static std::string Text(const Strings& keys) {
        std::string text;
        for (const std::string& key : keys) {
            text += "@article{" + key + ",\n  title = {T}\n}\n\n";
        }
        return text;
    }

    TempDir dir;
    ScriptedUi ui;
    CQVNDoc doc{&ui};
    HintRecorder hints;
};

TEST_F(PasteAndDropTest, DroppedItemsMoveFromTheProjectsListsAndAreCopiedOtherwise) {
    const struct {
        const char* name;
        ItemTextOrigin origin;
        const char* sourceFile;
        Strings thesis;
        Strings other;
    } cases[] = {
        {"from a file's list: moved", ItemTextOrigin::ProjectList, "thesis", {"t2"}, {"o1", "t1"}},
        {"from all items: moved", ItemTextOrigin::ProjectList, "", {"t2"}, {"o1", "t1"}},
        {"from a search: copied", ItemTextOrigin::SearchResults, "", {"t1", "t2"}, {"o1", "t1a"}},
        {"from another program: copied",
         ItemTextOrigin::OtherProgram,
         "thesis",
         {"t1", "t2"},
         {"o1", "t1a"}},
    };
    for (const auto& c : cases) {
        CQVNDoc fresh{&ui};
        ASSERT_TRUE(fresh.AddItem(std::make_unique<CBibTexEntry>("thesis", "t1", 0)));
        ASSERT_TRUE(fresh.AddItem(std::make_unique<CBibTexEntry>("thesis", "t2", 0)));
        ASSERT_TRUE(fresh.AddItem(std::make_unique<CBibTexEntry>("other", "o1", 0)));
        HintRecorder recorder;
        fresh.AddObserver(&recorder);
        EXPECT_TRUE(fresh.DropItems("  " + Text({"t1"}), c.origin, c.sourceFile, "other"))
            << c.name;
        Strings thesis;
        Strings other;
        fresh.GetItems().ForEachItem([&](const CBibTexEntry& item) {
            (item.GetFileName() == "thesis" ? thesis : other).push_back(item.GetKey());
        });
        EXPECT_EQ(thesis, c.thesis) << c.name;
        EXPECT_EQ(other, c.other) << c.name;
        EXPECT_EQ(recorder.Kinds(), std::vector<UpdateHint>{UpdateHint::Change}) << c.name;
        EXPECT_TRUE(fresh.GetItems().IsConsistent());
        fresh.RemoveObserver(&recorder);
    }
}

TEST_F(PasteAndDropTest, DropsThatChangeNothing) {
    // Onto the file the items are shown from.
    EXPECT_FALSE(doc.DropItems(Text({"t1"}), ItemTextOrigin::ProjectList, "thesis", "thesis"));
    // Onto no file, an empty or unreadable text.
    EXPECT_FALSE(doc.DropItems(Text({"t1"}), ItemTextOrigin::OtherProgram, "", ""));
    EXPECT_FALSE(doc.DropItems(" \n ", ItemTextOrigin::OtherProgram, "", "other"));
    EXPECT_TRUE(hints.hints.empty());
    // Items moved onto the file that holds them already, or that the
    // project does not hold: read, but nothing changes.
    EXPECT_FALSE(doc.DropItems(Text({"o1", "gone"}), ItemTextOrigin::ProjectList, "", "other"));
    EXPECT_EQ(Keys("other"), Strings{"o1"});
    EXPECT_EQ(hints.hints.size(), 1u);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PasteAndDropTest, PastedItemsJoinTheFileWithUniqueKeys) {
    std::vector<CBibTexEntry*> added;
    EXPECT_TRUE(doc.PasteItems("\n" + Text({"t1", "new"}), "v1.2", added));
    EXPECT_EQ(Keys("v1.2"), (Strings{"t1a", "new"})) << "a period in the file name stays";
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0]->GetKey(), "t1a");
    EXPECT_EQ(Keys("thesis"), (Strings{"t1", "t2"}));

    EXPECT_FALSE(doc.PasteItems("   ", "other", added));
    EXPECT_TRUE(added.empty());
    EXPECT_TRUE(ui.messages.empty());

    // The list of all items has no file to paste into.
    EXPECT_FALSE(doc.PasteItems(Text({"x"}), "", added));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Please select the file in the tree for these data.");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
    EXPECT_FALSE(doc.GetItems().FindKey("x"));
}

TEST_F(PasteAndDropTest, PastedStringsNeverReplaceOnesTheProjectHolds) {
    doc.AddString("jacm", "Journal of the ACM", false);
    const auto added = doc.PasteStrings("@string{cacm = {Comm. ACM}}\n@string{jacm = {J. ACM}}\n"
                                        "@string{tcs = \"Theor. Comp. Sci.\"}\n");
    EXPECT_EQ(added, (std::vector<std::pair<std::string, std::string>>{
                         {"cacm", "Comm. ACM"}, {"tcs", "Theor. Comp. Sci."}}));
    std::string full;
    ASSERT_TRUE(doc.LookupString("jacm", full));
    EXPECT_EQ(full, "Journal of the ACM");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Some of the strings couldn't be inserted.\n(jacm...))");
    EXPECT_EQ(ui.messages[0].caption, "Insertion failure");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);

    EXPECT_TRUE(doc.PasteStrings("no strings here").empty());
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(PasteAndDropTest, TheListOfRefusedStringsIsCutToFiftyCharacters) {
    const std::string umlaut = "\xC3\xBC";
    const struct {
        std::string failures;
        std::string shown;
    } cases[] = {
        {"a, b", "a, b"},
        {std::string(60, 'x'), std::string(50, 'x')},
        {std::string(50, 'y'), std::string(50, 'y')},
        // Characters, not bytes: an umlaut is not split.
        {std::string(49, 'a') + umlaut + umlaut, std::string(49, 'a') + umlaut},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CQVNDoc::InsertFailureText(c.failures),
                  "Some of the strings couldn't be inserted.\n(" + c.shown + "...))");
    }
}

TEST_F(PasteAndDropTest, RenamingBibTexFiles) {
    const struct {
        const char* from;
        const char* to;
        RenameFileResult result;
        Strings files;
    } cases[] = {
        {"thesis", "Thesis", RenameFileResult::Renamed, {"Thesis", "other"}}, // letter case only
        {"thesis", "book", RenameFileResult::Renamed, {"book", "other"}},
        {"thesis", "other", RenameFileResult::InUse, {"thesis", "other"}},
        {"thesis", "strings", RenameFileResult::InUse, {"thesis", "other"}},
        {"thesis", "a/b", RenameFileResult::Illegal, {"thesis", "other"}},
        {"thesis", "", RenameFileResult::Failed, {"thesis", "other"}},
        {"new", "fresh", RenameFileResult::Renamed, {"thesis", "other", "fresh"}},
    };
    for (const auto& c : cases) {
        CQVNDoc fresh{&ui};
        ASSERT_TRUE(fresh.AddItem(std::make_unique<CBibTexEntry>("thesis", "t1", 0)));
        ASSERT_TRUE(fresh.AddItem(std::make_unique<CBibTexEntry>("other", "o1", 0)));
        fresh.GetSettings().SetStringsFile("strings.bib");
        fresh.SetModifiedFlag(false);
        EXPECT_EQ(fresh.RenameBibTexFile(c.from, c.to), c.result) << c.to;
        Strings files;
        for (const auto& [name, items] : fresh.GetItems().Files()) {
            files.push_back(name);
        }
        EXPECT_EQ(files, c.files) << c.to;
        EXPECT_EQ(fresh.IsModified(), c.result == RenameFileResult::Renamed) << c.to;
        EXPECT_TRUE(fresh.GetItems().IsConsistent());
    }
}

TEST_F(PasteAndDropTest, TheKeyCheckAndTheNewFileNameUseTheProject) {
    EXPECT_EQ(doc.CheckItemKey("t2").problem, KeyProblem::Duplicate);
    EXPECT_EQ(doc.CheckItemKey("t2").holderFile, "thesis");
    EXPECT_EQ(doc.CheckItemKey("t3").problem, KeyProblem::None);
    doc.AddFile("New File");
    EXPECT_EQ(doc.NewFileName(), "New File (1)");
}

} // namespace
