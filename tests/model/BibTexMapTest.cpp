#include "model/BibTexMap.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kArticle = 0;

std::unique_ptr<CBibTexEntry> Item(const std::string& file, const std::string& key,
                                   const std::string& title = {}) {
    auto item = std::make_unique<CBibTexEntry>(file, key, kArticle);
    if (!title.empty()) {
        item->SetField(kFieldTitle, title, true);
    }
    return item;
}

std::vector<std::string> Keys(const CBibTexMap& map, const std::string& file) {
    std::vector<std::string> keys;
    if (const auto* items = map.Items(file)) {
        for (const auto& [key, item] : *items) {
            keys.push_back(key);
        }
    }
    return keys;
}

std::vector<std::string> FileNames(const CBibTexMap& map) {
    std::vector<std::string> names;
    for (const auto& [name, items] : map.Files()) {
        names.push_back(name);
    }
    return names;
}

using Strings = std::vector<std::string>;

TEST(BibTexMap, AddAppendsOneLetterToTakenKeys) {
    const struct {
        Strings taken;
        const char* key;
        const char* expected; // null: the add fails
    } cases[] = {
        {{}, "k", "k"},
        {{"k"}, "k", "ka"},
        {{"k", "ka"}, "k", "kb"},
        {{"k", "ka", "kb"}, "k", "kc"},
        {{"k", "kb"}, "k", "ka"},      // the first free letter
        {{"ka"}, "k", "k"},            // k itself is free
        {{"k", "ka"}, "ka", "kaa"},    // the letter goes after the whole key
        {{"Smith"}, "smith", "smith"}, // keys are case-sensitive
        {{"k",  "ka", "kb", "kc", "kd", "ke", "kf", "kg", "kh", "ki", "kj", "kk", "kl",
          "km", "kn", "ko", "kp", "kq", "kr", "ks", "kt", "ku", "kv", "kw", "kx", "ky"},
         "k",
         "kz"},
        {{"k",  "ka", "kb", "kc", "kd", "ke", "kf", "kg", "kh", "ki", "kj", "kk", "kl", "km",
          "kn", "ko", "kp", "kq", "kr", "ks", "kt", "ku", "kv", "kw", "kx", "ky", "kz"},
         "k",
         nullptr},
    };
    for (const auto& c : cases) {
        CBibTexMap map;
        for (std::size_t i = 0; i < c.taken.size(); ++i) {
            // Spread over two files: keys are unique over all files.
            ASSERT_TRUE(map.Add(Item(i % 2 ? "a" : "b", c.taken[i])));
        }
        auto item = Item("new", c.key);
        CBibTexEntry* raw = item.get();
        const bool added = map.Add(item);
        EXPECT_TRUE(map.IsConsistent());
        if (c.expected == nullptr) {
            EXPECT_FALSE(added);
            ASSERT_NE(item, nullptr); // the caller keeps the item
            EXPECT_EQ(item->GetKey(), c.key);
            EXPECT_EQ(map.GetTotalCount(), static_cast<int>(c.taken.size()));
            EXPECT_TRUE(map.HasFile("new")); // the file is created all the same
            EXPECT_EQ(map.GetCount("new"), 0);
        } else {
            EXPECT_TRUE(added) << c.key;
            EXPECT_EQ(item, nullptr);
            EXPECT_EQ(raw->GetKey(), c.expected);
            EXPECT_EQ(map.Lookup("new", c.expected), raw);
        }
    }
}

// Removing keys frees their letters again: the next add takes the first free
// letter, whichever way the key left.
TEST(BibTexMap, FreedSuffixesAreTakenAgainInOrder) {
    struct Step {
        char op;         // '+': add key k to file f, '-': delete, 'x': remove file g
        const char* key; // the key deleted, or the key the add must end with
    };
    const std::vector<std::vector<Step>> scripts = {
        {{'+', "k"}, {'+', "ka"}, {'+', "kb"}, {'+', "kc"}, {'-', "kb"}, {'+', "kb"}, {'+', "kd"}},
        {{'+', "k"}, {'+', "ka"}, {'+', "kb"}, {'-', "k"}, {'+', "k"}, {'+', "kc"}},
        {{'+', "k"}, {'+', "ka"}, {'+', "kb"}, {'-', "kb"}, {'-', "ka"}, {'+', "ka"}, {'+', "kb"}},
        {{'+', "k"}, {'+', "ka"}, {'x', "ka"}, {'+', "ka"}, {'+', "kb"}},
    };
    for (std::size_t n = 0; n < scripts.size(); ++n) {
        CBibTexMap map;
        int added = 0;
        for (const Step& step : scripts[n]) {
            if (step.op == '+') {
                // Every other item goes to file g, which 'x' removes.
                auto item = Item(added++ % 2 ? "g" : "f", "k");
                CBibTexEntry* raw = item.get();
                ASSERT_TRUE(map.Add(item)) << n;
                EXPECT_EQ(raw->GetKey(), step.key) << "script " << n;
            } else if (step.op == '-') {
                ASSERT_TRUE(map.Delete(step.key)) << n;
            } else {
                ASSERT_TRUE(map.RemoveFile("g")) << n;
            }
            ASSERT_TRUE(map.IsConsistent()) << "script " << n;
        }
    }

    // All 26 taken: the add fails until one letter is freed.
    CBibTexMap map;
    for (int i = 0; i < 27; ++i) {
        ASSERT_TRUE(map.Add(Item("f", "k")));
    }
    EXPECT_FALSE(map.Add(Item("f", "k")));
    ASSERT_TRUE(map.Delete("kq"));
    auto item = Item("f", "k");
    CBibTexEntry* raw = item.get();
    ASSERT_TRUE(map.Add(item));
    EXPECT_EQ(raw->GetKey(), "kq");
    EXPECT_FALSE(map.Add(Item("f", "k")));
    std::string key = "k";
    EXPECT_FALSE(map.MakeUniqueKey(key));
    EXPECT_EQ(key, "k");
    EXPECT_TRUE(map.IsConsistent());
}

TEST(BibTexMap, AddRefusesMissingItemsAndEmptyFileNames) {
    CBibTexMap map;
    std::unique_ptr<CBibTexEntry> none;
    EXPECT_FALSE(map.Add(none));
    auto item = Item("", "k");
    EXPECT_FALSE(map.Add(item));
    EXPECT_NE(item, nullptr);
    EXPECT_EQ(map.GetFileCount(), 0);
    EXPECT_TRUE(map.IsConsistent());
}

TEST(BibTexMap, CountsAndLookups) {
    CBibTexMap map;
    ASSERT_TRUE(map.Add(Item("refs", "a")));
    ASSERT_TRUE(map.Add(Item("refs", "b")));
    ASSERT_TRUE(map.Add(Item("books", "c")));
    ASSERT_TRUE(map.AddFile("empty"));
    EXPECT_FALSE(map.AddFile("refs"));
    EXPECT_TRUE(map.IsConsistent());

    const struct {
        const char* name;
        int count;
    } counts[] = {{"", 3}, {"refs", 2}, {"books", 1}, {"empty", 0}, {"absent", 0}, {"Refs", 0}};
    for (const auto& c : counts) {
        EXPECT_EQ(map.GetCount(c.name), c.count) << c.name;
    }
    EXPECT_EQ(map.GetTotalCount(), 3);

    std::string file = "stale";
    CBibTexEntry* c = map.FindKey("c", file);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(file, "books");
    EXPECT_EQ(map.FindKey("C", file), nullptr);
    EXPECT_EQ(file, "");
    EXPECT_EQ(map.Lookup("books", "c"), c);
    EXPECT_EQ(map.Lookup("refs", "c"), nullptr);
    EXPECT_EQ(map.Lookup("absent", "c"), nullptr);
    EXPECT_EQ(FileNames(map), (Strings{"refs", "books", "empty"}));
    EXPECT_EQ(Keys(map, "refs"), (Strings{"a", "b"}));
}

TEST(BibTexMap, MakeUniqueFileName) {
    const struct {
        Strings files;
        const char* name;
        const char* expected;
    } cases[] = {
        {{}, "", "New File"},
        {{"New File"}, "", "New File (1)"},
        {{"New File", "New File (1)"}, "New File", "New File (2)"},
        {{"Refs"}, "Refs", "Refs (1)"},
        {{"Refs (1)"}, "Refs", "Refs"},
        {{"Refs", "Refs (2)"}, "Refs", "Refs (1)"},
        {{"A", "A (1)"}, "A (1)", "A (1) (1)"}, // the base is the name passed in
        {{"refs"}, "Refs", "Refs"},             // names are exact
    };
    for (const auto& c : cases) {
        CBibTexMap map;
        for (const auto& f : c.files) {
            map.AddFile(f);
        }
        std::string name = c.name;
        map.MakeUniqueFileName(name);
        EXPECT_EQ(name, c.expected);
        EXPECT_EQ(map.GetFileCount(), static_cast<int>(c.files.size())); // nothing created
    }
}

TEST(BibTexMap, RenameFile) {
    const struct {
        const char* oldName;
        const char* newName;
        bool result;
        Strings files; // afterwards, in order
    } cases[] = {
        {"Refs", "refs", true, {"Refs", "Other"}},   // letter case alone: not carried out
        {"Refs", "Other", false, {"Refs", "Other"}}, // target exists
        {"Refs", "OTHER", true, {"OTHER", "Other"}}, // names of files are exact
        {"Refs", "Refs", true, {"Refs", "Other"}},
        {"Absent", "New", true, {"Refs", "Other", "New"}}, // creates an empty file
        {"Absent", "Other", false, {"Refs", "Other"}},
        {"Refs", "", false, {"Refs", "Other"}}, // no file may be nameless
        {"Absent", "", false, {"Refs", "Other"}},
        {"Refs", "Books", true, {"Books", "Other"}}, // keeps its place
    };
    for (const auto& c : cases) {
        CBibTexMap map;
        ASSERT_TRUE(map.Add(Item("Refs", "k1")));
        ASSERT_TRUE(map.Add(Item("Refs", "k2")));
        ASSERT_TRUE(map.Add(Item("Other", "k3")));
        EXPECT_EQ(map.RenameFile(c.oldName, c.newName), c.result)
            << c.oldName << " -> " << c.newName;
        EXPECT_EQ(FileNames(map), c.files) << c.oldName << " -> " << c.newName;
        EXPECT_TRUE(map.IsConsistent());
        EXPECT_EQ(map.GetTotalCount(), 3);
    }
}

TEST(BibTexMap, RenamedFileKeepsItsItemsUnderTheNewName) {
    CBibTexMap map;
    ASSERT_TRUE(map.Add(Item("Refs", "k1")));
    ASSERT_TRUE(map.Add(Item("Refs", "k2")));
    ASSERT_TRUE(map.RenameFile("Refs", "Books"));
    EXPECT_TRUE(map.IsConsistent());
    std::string file;
    ASSERT_NE(map.FindKey("k1", file), nullptr);
    EXPECT_EQ(file, "Books");
    EXPECT_EQ(map.Lookup("Books", "k2")->GetFileName(), "Books");

    // Changing a key: detach, set the key, add.
    auto item = map.Detach("k1");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(map.IsConsistent());
    item->SetKey("k9");
    ASSERT_TRUE(map.Add(item));
    EXPECT_TRUE(map.IsConsistent());
    EXPECT_NE(map.Lookup("Books", "k9"), nullptr);
    EXPECT_EQ(Keys(map, "Books"), (Strings{"k2", "k9"}));
}

TEST(BibTexMap, RemoveFileFreesItsKeys) {
    CBibTexMap map;
    ASSERT_TRUE(map.Add(Item("a", "k1")));
    ASSERT_TRUE(map.Add(Item("a", "k2")));
    ASSERT_TRUE(map.Add(Item("b", "k3")));
    EXPECT_FALSE(map.RemoveFile("absent"));
    EXPECT_FALSE(map.RemoveFile("A"));
    EXPECT_TRUE(map.RemoveFile("a"));
    EXPECT_TRUE(map.IsConsistent());
    EXPECT_EQ(FileNames(map), Strings{"b"});
    EXPECT_EQ(map.GetTotalCount(), 1);
    EXPECT_EQ(map.FindKey("k1"), nullptr);
    auto again = Item("b", "k1");
    CBibTexEntry* raw = again.get();
    ASSERT_TRUE(map.Add(again));
    EXPECT_EQ(raw->GetKey(), "k1"); // free again: no letter appended
    EXPECT_TRUE(map.IsConsistent());

    map.RemoveAll();
    EXPECT_EQ(map.GetFileCount(), 0);
    EXPECT_EQ(map.GetTotalCount(), 0);
    EXPECT_TRUE(map.IsConsistent());
}

TEST(BibTexMap, DetachAndDelete) {
    CBibTexMap map;
    ASSERT_TRUE(map.Add(Item("a", "k1")));
    ASSERT_TRUE(map.Add(Item("b", "k2")));
    EXPECT_EQ(map.Detach("missing"), nullptr);
    auto k1 = map.Detach("k1");
    ASSERT_NE(k1, nullptr);
    EXPECT_EQ(k1->GetKey(), "k1");
    EXPECT_TRUE(map.HasFile("a")); // the file stays, empty
    EXPECT_EQ(map.GetCount("a"), 0);
    EXPECT_TRUE(map.IsConsistent());
    EXPECT_TRUE(map.Delete("k2"));
    EXPECT_FALSE(map.Delete("k2"));
    EXPECT_EQ(map.GetTotalCount(), 0);
    EXPECT_TRUE(map.IsConsistent());
}

TEST(BibTexMap, MoveItem) {
    CBibTexMap map;
    ASSERT_TRUE(map.Add(Item("a", "k1")));
    ASSERT_TRUE(map.Add(Item("a", "k2")));
    ASSERT_TRUE(map.Add(Item("a", "k3")));
    CBibTexEntry* k2 = map.FindKey("k2");

    EXPECT_FALSE(map.MoveItem(nullptr, "b"));
    CBibTexEntry stranger("a", "nobody", kArticle);
    EXPECT_FALSE(map.MoveItem(&stranger, "b"));
    EXPECT_EQ(stranger.GetFileName(), "a");
    EXPECT_FALSE(map.HasFile("b"));

    // An empty file name fails and changes nothing, not even the order.
    EXPECT_FALSE(map.MoveItem(k2, ""));
    EXPECT_TRUE(map.IsConsistent());
    EXPECT_EQ(Keys(map, "a"), (Strings{"k1", "k2", "k3"}));
    EXPECT_EQ(k2->GetFileName(), "a");

    EXPECT_TRUE(map.MoveItem(k2, "b")); // creates the file
    EXPECT_TRUE(map.IsConsistent());
    EXPECT_EQ(Keys(map, "a"), (Strings{"k1", "k3"}));
    EXPECT_EQ(Keys(map, "b"), Strings{"k2"});
    EXPECT_EQ(map.Lookup("b", "k2"), k2); // the same object moved
    EXPECT_EQ(k2->GetFileName(), "b");
    EXPECT_EQ(k2->GetKey(), "k2");
}

TEST(BibTexMap, CopyAllFromAddsCopiesAndLeavesTheSourceAlone) {
    CBibTexMap source;
    ASSERT_TRUE(source.Add(Item("refs", "k", "{One}")));
    ASSERT_TRUE(source.Add(Item("refs", "m", "{Two}")));
    ASSERT_TRUE(source.Add(Item("books", "n", "{Three}")));
    CBibTexMap target;
    ASSERT_TRUE(target.Add(Item("mine", "k", "{Mine}")));

    std::vector<CBibTexEntry*> added = {nullptr};
    EXPECT_EQ(target.CopyAllFrom(source, added), 3);
    ASSERT_EQ(added.size(), 3u);
    EXPECT_TRUE(target.IsConsistent());
    EXPECT_TRUE(source.IsConsistent());
    EXPECT_EQ(added[0]->GetKey(), "ka");
    EXPECT_EQ(added[0]->GetFileName(), "refs");
    EXPECT_EQ(added[0]->GetValue(kFieldTitle), "{One}");
    EXPECT_EQ(added[0]->GetValueCount(), 38);
    EXPECT_EQ(added[1]->GetKey(), "m");
    EXPECT_EQ(added[2]->GetFileName(), "books");
    EXPECT_EQ(target.Lookup("refs", "ka"), added[0]);
    EXPECT_NE(source.FindKey("m"), target.FindKey("m")); // copies, not the same items
    EXPECT_EQ(source.GetTotalCount(), 3);
    EXPECT_EQ(source.FindKey("k")->GetKey(), "k");
    EXPECT_EQ(FileNames(target), (Strings{"mine", "refs", "books"}));
}

TEST(BibTexMap, MoveAllFromFilesItemsAsAddWould) {
    // "fresh" is new and clash-free (taken whole); "clash" is new but holds a
    // taken key; "mine" exists already.
    CBibTexMap source;
    ASSERT_TRUE(source.Add(Item("fresh", "f1")));
    ASSERT_TRUE(source.Add(Item("fresh", "f2")));
    ASSERT_TRUE(source.Add(Item("clash", "k")));
    ASSERT_TRUE(source.Add(Item("clash", "c2")));
    ASSERT_TRUE(source.Add(Item("mine", "m2")));
    CBibTexEntry* moved = source.FindKey("f2");
    CBibTexMap target;
    ASSERT_TRUE(target.Add(Item("mine", "k")));
    int prepared = 0;
    EXPECT_EQ(target.MoveAllFrom(source, [&](CBibTexEntry&) { ++prepared; }), 5);
    EXPECT_EQ(prepared, 5);
    EXPECT_TRUE(target.IsConsistent());
    EXPECT_TRUE(source.IsConsistent());
    EXPECT_EQ(source.GetTotalCount(), 0);
    EXPECT_EQ(target.FindKey("f2"), moved); // moved, not copied
    EXPECT_EQ(Keys(target, "fresh"), (Strings{"f1", "f2"}));
    EXPECT_EQ(Keys(target, "clash"), (Strings{"ka", "c2"}));
    EXPECT_EQ(Keys(target, "mine"), (Strings{"k", "m2"}));
    // The whole-file path indexes keys too: later adds still collide.
    ASSERT_TRUE(target.Add(Item("other", "f1")));
    EXPECT_NE(target.Lookup("other", "f1a"), nullptr);
}

TEST(BibTexMap, CopyAllFromSkipsItemsWhoseKeyCannotBeMadeUnique) {
    CBibTexMap target;
    ASSERT_TRUE(target.Add(Item("t", "k")));
    for (char c = 'a'; c <= 'z'; ++c) {
        ASSERT_TRUE(target.Add(Item("t", std::string("k") + c)));
    }
    CBibTexMap source;
    ASSERT_TRUE(source.Add(Item("s", "k")));
    ASSERT_TRUE(source.Add(Item("s", "fresh")));
    std::vector<CBibTexEntry*> added;
    EXPECT_EQ(target.CopyAllFrom(source, added), 1);
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0]->GetKey(), "fresh");
    EXPECT_EQ(target.GetTotalCount(), 28);
    EXPECT_TRUE(target.IsConsistent());
}

TEST(BibTexMap, CopyAllFromItselfDuplicatesEveryItemOnce) {
    CBibTexMap map;
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(map.Add(Item(i % 2 ? "a" : "b", "k" + std::to_string(i))));
    }
    std::vector<CBibTexEntry*> added;
    EXPECT_EQ(map.CopyAllFrom(map, added), 40);
    EXPECT_EQ(map.GetTotalCount(), 80);
    EXPECT_TRUE(map.IsConsistent());
    EXPECT_NE(map.FindKey("k0a"), nullptr);
}

TEST(BibTexMap, ValuesInUseAndReplacedEverywhere) {
    CBibTexMap map;
    auto a = Item("f", "a");
    a->SetField(kFieldJournal, "jacm", true);
    auto b = Item("g", "b");
    b->SetField(kFieldNote, "jacm", true);
    b->SetField(kFieldMonth, "jan # feb", true);
    ASSERT_TRUE(map.Add(a));
    ASSERT_TRUE(map.Add(b));
    const struct {
        const char* text;
        bool inUse;
    } cases[] = {{"jacm", true}, {"JACM", false}, {"jan", false}, {"jan # feb", true}, {"", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(map.IsValueInUse(c.text), c.inUse) << c.text;
    }
    map.ReplaceValueEverywhere("jacm", "{J. ACM}");
    EXPECT_EQ(map.FindKey("a")->GetValue(kFieldJournal), "{J. ACM}");
    EXPECT_EQ(map.FindKey("b")->GetValue(kFieldNote), "{J. ACM}");
    map.ReplaceValueEverywhere("", "{x}");
    EXPECT_EQ(map.FindKey("a")->GetValue(kFieldTitle), "");
    EXPECT_FALSE(map.IsValueInUse("jacm"));
    EXPECT_TRUE(map.IsConsistent());
}

TEST(BibTexMap, ReplaceInField) {
    const struct {
        const char* stored;
        const char* find;
        const char* replace;
        bool matchCase;
        const char* expected;
        int count;
    } cases[] = {
        {"{Box}", "x", "xx", false, "{Boxx}", 1}, // inserted text is not matched again
        {"{BOX}", "Box", "Boxes", false, "{Boxes}", 1},
        {"{BOX}", "Box", "Boxes", true, "{BOX}", 0},
        {"{box}", "BOX", "CRATE", false, "{CRATE}", 1}, // replacement inserted unchanged
        {"{aaa}", "aa", "b", true, "{ba}", 1},          // no overlapping matches
        {"{a-a-a}", "a", "", true, "{--}", 3},
        {"{abc}", "", "x", false, "{abc}", 0},             // empty find replaces nothing
        {"\"Quoted\"", "Quoted", "New", true, "{New}", 1}, // stored again through FormatValue
        {"1999", "19", "20", true, "2099", 1},
        {"{1999}", "19", "20", true, "2099", 1}, // a number is stored bare
        {"{x}", "x", "", true, "", 1},           // nothing left: the field is unset
        // A concatenation keeps its parts.
        {"\"Old\" # \" Press\"", "Old", "New", true, "\"New\" # \" Press\"", 1},
        {"{\xC3\x84rger und \xC3\xA4rger}", "\xC3\xA4rger", "Freude", false, "{Freude und Freude}",
         2},
        {"{\xC3\x84rger und \xC3\xA4rger}", "\xC3\xA4rger", "Freude", true,
         "{\xC3\x84rger und Freude}", 1},
        {"{\xC3\x84RGER}", "\xC3\xA4rger", "x", false, "{x}", 1},
        {"{\xC3\xA4}", "\xC3", "x", false, "{\xC3\xA4}", 0}, // never half a character
        {"{Stra\xC3\x9F"
         "e}",
         "SS", "x", false,
         "{Stra\xC3\x9F"
         "e}",
         0},
        {"{\xC4\xB0stanbul}", "i", "I", false, "{Istanbul}", 1}, // İ lower-cases to i
    };
    for (const auto& c : cases) {
        CBibTexMap map;
        auto item = Item("f", "k");
        item->SetField(kFieldTitle, c.stored, true);
        ASSERT_TRUE(map.Add(item));
        EXPECT_EQ(map.ReplaceInField(kFieldTitle, c.find, c.replace, c.matchCase), c.count)
            << c.stored << " " << c.find;
        EXPECT_EQ(map.FindKey("k")->GetValue(kFieldTitle), c.expected) << c.stored << " " << c.find;
        EXPECT_TRUE(map.IsConsistent());
    }
}

TEST(BibTexMap, ReplaceInFieldCountsOverAllItemsAndSkipsUnsetFields) {
    CBibTexMap map;
    ASSERT_TRUE(map.Add(Item("a", "k1", "{Box Box}")));
    ASSERT_TRUE(map.Add(Item("b", "k2", "{box}")));
    ASSERT_TRUE(map.Add(Item("b", "k3")));
    map.FindKey("k3")->SetField(kFieldNote, "{box}", true);
    EXPECT_EQ(map.ReplaceInField(kFieldTitle, "box", "tin", false), 3);
    EXPECT_EQ(map.FindKey("k1")->GetValue(kFieldTitle), "{tin tin}");
    EXPECT_EQ(map.FindKey("k3")->GetValue(kFieldTitle), "");
    EXPECT_EQ(map.FindKey("k3")->GetValue(kFieldNote), "{box}");
}

TEST(BibTexMap, ManyRemovalsKeepOrderAndIndex) {
    CBibTexMap map;
    for (int i = 0; i < 300; ++i) {
        ASSERT_TRUE(map.Add(Item("f", "k" + std::to_string(i))));
    }
    Strings expected;
    for (int i = 0; i < 300; ++i) {
        if (i % 4 != 0) {
            ASSERT_TRUE(map.Delete("k" + std::to_string(i)));
        } else {
            expected.push_back("k" + std::to_string(i));
        }
    }
    EXPECT_TRUE(map.IsConsistent());
    EXPECT_EQ(Keys(map, "f"), expected);
    for (const auto& key : expected) {
        EXPECT_EQ(map.Lookup("f", key)->GetKey(), key);
    }
}

} // namespace
