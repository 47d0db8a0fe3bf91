// Searches over the items of a project: running, labels, equality, the
// manager, the query history, making a search through the document, and no
// reference to a deleted item.
#include "search/Search.h"

#include "ScriptedUi.h"
#include "TestSupport.h"
#include "project/QVNDoc.h"
#include "search/SearchManager.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.StartProject({"P", "", "strings.bib"});
        doc.AddObserver(&hints);
    }
    CBibTexEntry* Add(const std::string& file, const std::string& key, const std::string& author,
                      const std::string& title = {}) {
        auto item = std::make_unique<CBibTexEntry>(file, key, 0);
        item->SetField(kFieldAuthor, author, true);
        item->SetField(kFieldTitle, title, true);
        CBibTexEntry* raw = item.get();
        EXPECT_TRUE(doc.AddItem(std::move(item)));
        return raw;
    }
    std::vector<std::string> Keys(const CSearch& search) const {
        std::vector<std::string> keys;
        for (const CBibTexEntry* item : search.GetResults()) {
            keys.push_back(item->GetKey());
        }
        return keys;
    }
    // A search over one field, run.
    CSearch Run(const std::string& query, int field) {
        CSearch search(&doc.GetItems(), query, true);
        search.AddField(field);
        search.Run();
        return search;
    }

    ScriptedUi ui;
    CQVNDoc doc{&ui};
    HintRecorder hints;
};

TEST_F(SearchTest, MatchingIsCaseInsensitiveSubstringOfTheShownValue) {
    Add("a", "k1", "{Smith, J.}", "{The {Box}}");
    Add("a", "k2", "\"SMITH\"");
    Add("b", "k3", "{Goldsmith}");
    Add("b", "k4", "{Jones}");
    Add("a", "k5", "");
    Add("b", "k6", "{\xC3\x84rger, \xCE\xA3igma}"); // Ärger, Σigma
    struct Case {
        const char* query;
        int field;
        std::vector<std::string> keys;
    };
    const std::vector<Case> cases = {
        {"Smith", kFieldAuthor, {"k1", "k2", "k3"}}, // files in order, then items
        {"smith", kFieldAuthor, {"k1", "k2", "k3"}},
        {"{", kFieldAuthor, {}},    // outer braces are not searched
        {"{", kFieldTitle, {"k1"}}, // inner ones are
        {"\"", kFieldAuthor, {}},
        {"", kFieldAuthor, {"k1", "k2", "k5", "k3", "k4", "k6"}}, // every item, empty values too
        {"\xC3\xA4rger", kFieldAuthor, {"k6"}},                   // ärger finds Ärger
        {"\xCF\x83igma", kFieldAuthor, {"k6"}},                   // σ finds Σ
        {"Smith", kFieldTitle, {}},
        {"Smith", -1, {}}, // no field: nothing
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Keys(Run(c.query, c.field)), c.keys) << c.query << " in " << c.field;
    }
}

TEST_F(SearchTest, AnItemMatchingInSeveralFieldsIsListedOnce) {
    Add("a", "k1", "{Box}", "{Box}");
    CSearch search(&doc.GetItems(), "box", true);
    search.AddField(kFieldAuthor);
    search.AddField(kFieldTitle);
    EXPECT_EQ(search.Run(), 1);
    EXPECT_EQ(search.GetLabel(), "\"box\" (1 results) in \"author, title\"");
}

TEST_F(SearchTest, RunningTwiceKeepsTheFirstResults) {
    Add("a", "k1", "{Smith}");
    CSearch search = Run("smith", kFieldAuthor);
    Add("a", "k2", "{Smith}");
    EXPECT_EQ(search.Run(), 1);
    EXPECT_EQ(Keys(search), std::vector<std::string>{"k1"});
    CSearch none(nullptr, "x", true);
    none.AddField(kFieldAuthor);
    EXPECT_EQ(none.Run(), 0);
}

TEST_F(SearchTest, FieldsOutsideTheCatalogueAreRefused) {
    CSearch search(&doc.GetItems(), "q", true);
    const std::vector<std::pair<int, bool>> cases = {
        {-1, false}, {0, true}, {37, true}, {38, false}};
    for (const auto& [field, accepted] : cases) {
        EXPECT_EQ(search.AddField(field), accepted) << field;
    }
    EXPECT_EQ(search.GetFields(), (std::vector<CFieldRef>{0, 37}));
}

TEST_F(SearchTest, LabelIsBuiltOnceWithThePluralWordAlways) {
    Add("a", "k1", "{Smith}");
    CSearch one = Run("Smith", kFieldAuthor);
    EXPECT_EQ(one.GetLabel(), "\"Smith\" (1 results) in \"author\"");
    Add("a", "k2", "{Smithers}");
    CSearch two = Run("smith", kFieldAuthor);
    EXPECT_EQ(two.GetLabel(), "\"smith\" (2 results) in \"author\"");
}

TEST_F(SearchTest, Equality) {
    const auto make = [&](const std::string& query, std::vector<int> fields,
                          bool ignoreCase = true) {
        CSearch s(&doc.GetItems(), query, ignoreCase);
        for (int f : fields) {
            s.AddField(f);
        }
        return s;
    };
    const CSearch base = make("Smith", {kFieldAuthor});
    EXPECT_TRUE(base == make("Smith", {kFieldAuthor}));
    EXPECT_TRUE(base == make("Smith", {kFieldAuthor}, false)) << "the case flag is not compared";
    EXPECT_FALSE(base == make("smith", {kFieldAuthor}));
    EXPECT_FALSE(base == make("Smith", {kFieldTitle}));
    EXPECT_FALSE(base == make("Smith", {kFieldAuthor, kFieldTitle}));
    EXPECT_FALSE(make("q", {kFieldAuthor, kFieldTitle}) == make("q", {kFieldTitle, kFieldAuthor}));
}

TEST_F(SearchTest, Manager) {
    Add("a", "k1", "{Smith}");
    Add("a", "k2", "{smith}");
    CSearchManager& manager = doc.GetSearches();
    const auto append = [&](const std::string& query) {
        auto s = std::make_unique<CSearch>(&doc.GetItems(), query, true);
        s->AddField(kFieldAuthor);
        s->Run();
        return manager.Append(std::move(s));
    };
    CSearch* first = append("Smith");
    CSearch* second = append("smith");
    EXPECT_EQ(manager.GetCount(), 2);
    EXPECT_EQ(manager.GetAt(0), first);
    EXPECT_EQ(manager.GetAt(2), nullptr);
    EXPECT_EQ(manager.GetAt(-1), nullptr);
    EXPECT_EQ(manager.FindEqual(*second), 1);
    EXPECT_EQ(manager.FindByLabel("\"smith\" (2 results) in \"author\""), 1);
    EXPECT_EQ(manager.FindByLabel("\"SMITH\" (2 results) in \"author\""), -1);
    EXPECT_FALSE(manager.DeleteByLabel("nothing"));
    EXPECT_TRUE(manager.DeleteByLabel(first->GetLabel()));
    EXPECT_EQ(manager.GetCount(), 1);
    EXPECT_EQ(manager.GetAt(0), second);
    manager.DeleteAll();
    EXPECT_EQ(manager.GetCount(), 0);
}

TEST_F(SearchTest, QueryHistoryKeepsOneEntryPerTextIgnoringCase) {
    std::vector<std::string> history;
    const std::vector<std::pair<std::string, bool>> typed = {
        {"Smith", true},        {"smith", false},        {"SMITH", false}, {"Jones", true},
        {"\xC3\x84rger", true}, {"\xC3\xA4rger", false}, {"", true},       {"", false},
    };
    for (const auto& [text, appended] : typed) {
        EXPECT_EQ(AddToQueryHistory(history, text), appended) << text;
    }
    EXPECT_EQ(history, (std::vector<std::string>{"Smith", "Jones", "\xC3\x84rger", ""}));
}

// ---------------------------------------------------------------------------
// Making a search through the document

TEST_F(SearchTest, MakingTheSameSearchAgainReusesIt) {
    Add("a", "k1", "{Smith}");
    CSearch* made = doc.MakeSearch("Smith", kFieldAuthor);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(doc.GetSearches().GetCount(), 1);
    ASSERT_EQ(hints.Kinds(), std::vector<UpdateHint>{UpdateHint::Search});
    EXPECT_EQ(std::get<const CSearch*>(hints.hints[0].object), made);
    EXPECT_TRUE(ui.messages.empty());

    Add("a", "k2", "{Smith}");
    EXPECT_EQ(doc.MakeSearch("Smith", kFieldAuthor), made) << "not run again";
    EXPECT_EQ(made->GetResultCount(), 1);
    EXPECT_EQ(hints.Kinds(), (std::vector<UpdateHint>{UpdateHint::Search, UpdateHint::Search}));

    CSearch* lower = doc.MakeSearch("smith", kFieldAuthor);
    ASSERT_NE(lower, made);
    EXPECT_EQ(lower->GetResultCount(), 2);
    EXPECT_EQ(lower->GetLabel(), "\"smith\" (2 results) in \"author\"");
    EXPECT_EQ(doc.GetSearches().GetCount(), 2);
    EXPECT_GT(ui.busyCount, 0);
}

TEST_F(SearchTest, NoMatchShowsTheMessageAndStoresNothing) {
    Add("a", "k1", "{Smith}");
    CQVNDoc idle(&ui);
    struct Case {
        CQVNDoc* d;
        const char* query;
        int field;
    };
    const std::vector<Case> cases = {
        {&doc, "Nobody", kFieldAuthor},
        {&doc, "Smith", -1},      // an invalid field finds nothing
        {&idle, "", kFieldTitle}, // no project: the bar still answers
    };
    for (const Case& c : cases) {
        ui.messages.clear();
        hints.hints.clear();
        EXPECT_EQ(c.d->MakeSearch(c.query, c.field), nullptr);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "There are no entries matching this query.");
        EXPECT_EQ(ui.messages[0].caption, "Search...");
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Information);
        EXPECT_EQ(ui.messages[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(c.d->GetSearches().GetCount(), 0);
        EXPECT_TRUE(hints.hints.empty());
    }
}

TEST_F(SearchTest, AnEmptyQueryHoldsEveryItem) {
    Add("a", "k1", "{Smith}");
    Add("b", "k2", "", "");
    const CSearch* all = doc.MakeSearch("", kFieldTitle);
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(all->GetResultCount(), 2);
}

// ---------------------------------------------------------------------------
// Deleted items are never reached through a search

TEST_F(SearchTest, DeletedItemsLeaveTheResults) {
    Add("a", "k1", "{Smith}");
    Add("a", "k2", "{Smith}");
    Add("b", "k3", "{Smith}");
    Add("b", "k4", "{Smith}");
    Add("c", "other", "{Jones}");
    CSearch* search = doc.MakeSearch("smith", kFieldAuthor);
    ASSERT_NE(search, nullptr);
    const std::string label = search->GetLabel();

    ASSERT_TRUE(doc.DeleteItem("k1")); // deleted, or cut
    EXPECT_EQ(Keys(*search), (std::vector<std::string>{"k2", "k3", "k4"}));
    ASSERT_TRUE(doc.DeleteItem("other")); // a second deletion of a non-result
    EXPECT_EQ(Keys(*search), (std::vector<std::string>{"k2", "k3", "k4"}));
    EXPECT_TRUE(doc.GetSearches().IsConsistent());

    // Moving keeps the item alive and a result.
    ASSERT_TRUE(doc.MoveItem(doc.GetItems().FindKey("k2"), "c"));
    EXPECT_EQ(Keys(*search), (std::vector<std::string>{"k2", "k3", "k4"}));

    ASSERT_TRUE(doc.RemoveFile("b")); // its file removed
    EXPECT_EQ(Keys(*search), std::vector<std::string>{"k2"});
    EXPECT_TRUE(doc.GetSearches().IsConsistent());
    EXPECT_EQ(search->GetLabel(), label) << "the explorer finds the search by its label";
    EXPECT_EQ(doc.GetSearches().FindByLabel(label), 0);

    // With all its results gone the search stays, empty, under its label;
    // making it again runs it again.
    ASSERT_TRUE(doc.DeleteItem("k2"));
    EXPECT_EQ(search->GetResultCount(), 0);
    EXPECT_EQ(doc.GetSearches().FindByLabel(label), 0);
    ui.messages.clear();
    EXPECT_EQ(doc.MakeSearch("smith", kFieldAuthor), nullptr);
    EXPECT_EQ(ui.messages.at(0).text, "There are no entries matching this query.");
    Add("a", "k9", "{Smith}");
    EXPECT_EQ(doc.MakeSearch("smith", kFieldAuthor), search);
    EXPECT_EQ(Keys(*search), std::vector<std::string>{"k9"});
    EXPECT_EQ(doc.GetSearches().GetCount(), 1);
    EXPECT_TRUE(doc.GetSearches().IsConsistent());
}

// Removing a result and then another item used to bring the first back.
TEST_F(SearchTest, ASecondDeletionNeverRevivesARemovedResult) {
    Add("a", "hit", "{Smith}");
    Add("a", "miss1", "{Jones}");
    Add("a", "miss2", "{Jones}");
    CSearch* search = doc.MakeSearch("smith", kFieldAuthor);
    ASSERT_NE(search, nullptr);
    ASSERT_TRUE(doc.DeleteItem("hit"));
    ASSERT_TRUE(doc.DeleteItem("miss1"));
    ASSERT_TRUE(doc.DeleteItem("miss2"));
    EXPECT_EQ(search->GetResultCount(), 0);
    EXPECT_TRUE(search->GetResults().empty());
    EXPECT_TRUE(doc.GetSearches().IsConsistent());
}

TEST_F(SearchTest, ClosingOrReplacingTheContentsDropsAllSearches) {
    Add("a", "k1", "{Smith}");
    ASSERT_NE(doc.MakeSearch("smith", kFieldAuthor), nullptr);
    const std::string bytes = doc.SaveToBytes();
    // Reading a project replaces every item: no search may survive.
    doc.LoadFromBytes(bytes);
    EXPECT_TRUE(doc.GetSearches().IsConsistent());
    ASSERT_NE(doc.MakeSearch("smith", kFieldAuthor), nullptr);
    doc.ClearContents();
    EXPECT_EQ(doc.GetSearches().GetCount(), 0);
}

} // namespace
