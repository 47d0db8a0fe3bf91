// Keeping references to BibTeX strings consistent: deleting one or all
// strings, renaming and changing them, the string editor's OK, and replace.
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "model/BibTexString.h"
#include "project/CommandIds.h"
#include "project/QVNDoc.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace testsupport;

namespace {

class StringMaintenanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.StartProject({"P", "", "strings.bib"});
        doc.AddObserver(&hints);
    }
    // Adds an article whose journal value text is `journal`.
    CBibTexEntry* Article(const std::string& key, const std::string& journal,
                          const std::string& title = {}) {
        auto item = std::make_unique<CBibTexEntry>("refs", key, FindEntryType("article"));
        item->SetField(kFieldJournal, journal, true);
        if (!title.empty()) {
            item->SetField(kFieldTitle, title, true);
        }
        CBibTexEntry* raw = item.get();
        EXPECT_TRUE(doc.AddItem(std::move(item)));
        return raw;
    }
    std::string_view Journal(const std::string& key) {
        return doc.GetItems().FindKey(key)->GetValue(kFieldJournal);
    }
    // Clears what the set-up left behind, so that a test sees only its own.
    void Settle() {
        doc.SetModifiedFlag(false);
        hints.hints.clear();
        ui.messages.clear();
    }

    ScriptedUi ui;
    CQVNDoc doc{&ui};
    HintRecorder hints;
};

const char* const kInUseJacm =
    "The string 'jacm' is still in use by one or more.\nBibTeX items. Do you still want to delete "
    "this string?\n\nPress [Yes] to delete the string and to replace all\nits occurences by it's "
    "value or [No] to keep this string.\n";

// Only a whole, case-sensitive value text refers to a string.
TEST_F(StringMaintenanceTest, ReferenceMatchingIsWholeValueAndCaseSensitive) {
    doc.AddString("jacm", "Journal of the ACM", false);
    const std::vector<std::pair<std::string, bool>> cases = {
        {"jacm", true},      {"jacm # {2005}", false}, {"{jacm}", false},
        {"\"jacm\"", false}, {"JACM", false},          {"jacm2", false},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        Article("k" + std::to_string(i), cases[i].first);
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        CQVNDoc single;
        single.StartProject({"P", "", "strings.bib"});
        single.AddString("jacm", "x", false);
        auto item = std::make_unique<CBibTexEntry>("refs", "k", 0);
        item->SetField(kFieldJournal, cases[i].first, true);
        single.AddItem(std::move(item));
        EXPECT_EQ(single.IsStringInUse("jacm"), cases[i].second) << cases[i].first;
    }

    Settle();
    ui.answers.push_back(MsgResult::Yes);
    EXPECT_EQ(doc.DeleteString("jacm"), 1);
    EXPECT_EQ(Journal("k0"), "{Journal of the ACM}");
    for (std::size_t i = 1; i < cases.size(); ++i) {
        EXPECT_EQ(Journal("k" + std::to_string(i)), cases[i].first) << "never rewritten";
    }
    EXPECT_EQ(doc.GetItems().FindKey("k0")->FormatText(),
              "@article{k0,\n  journal = {Journal of the ACM}\n}\n\n");
}

TEST_F(StringMaintenanceTest, DeletingAStringInUseAsksAndResolves) {
    doc.AddString("jacm", "Journal of the ACM", false);
    Article("a", "jacm");
    Article("b", "jacm");
    Settle();
    ui.answers.push_back(MsgResult::Yes);
    EXPECT_EQ(doc.DeleteString("jacm"), 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kInUseJacm);
    EXPECT_EQ(ui.messages[0].caption, "String is in use...");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(Journal("a"), "{Journal of the ACM}");
    EXPECT_EQ(Journal("b"), "{Journal of the ACM}");
    EXPECT_FALSE(doc.GetStrings().HasString("jacm"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(hints.hints.empty()) << "the strings list sends the hint";
}

TEST_F(StringMaintenanceTest, AnswersAndStringsThatAreNotInUse) {
    struct Case {
        const char* name;
        bool inUse;
        std::vector<MsgResult> answers;
        int result;
        bool kept;
        std::size_t questions;
    };
    const std::vector<Case> cases = {
        {"Cancel stops", true, {MsgResult::Cancel}, 0, true, 1},
        {"No keeps the string and goes on", true, {MsgResult::No}, 1, true, 1},
        {"Yes deletes", true, {MsgResult::Yes}, 1, false, 1},
        {"unused: deleted without a question", false, {}, 1, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CQVNDoc d(&ui);
        d.StartProject({"P", "", "strings.bib"});
        d.AddString("jacm", "J", false);
        auto item = std::make_unique<CBibTexEntry>("refs", "a", 0);
        item->SetField(kFieldJournal, c.inUse ? "jacm" : "{other}", true);
        d.AddItem(std::move(item));
        d.SetModifiedFlag(false);
        ui.messages.clear();
        ui.answers.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(d.DeleteString("jacm"), c.result);
        EXPECT_EQ(d.GetStrings().HasString("jacm"), c.kept);
        EXPECT_EQ(ui.messages.size(), c.questions);
        EXPECT_EQ(d.IsModified(), !c.kept);
        EXPECT_EQ(d.GetItems().FindKey("a")->GetValue(kFieldJournal),
                  c.inUse ? (c.kept ? "jacm" : "{J}") : "{other}");
    }
    // A string that is not in the table: nothing, 0, no question, even
    // when items hold the text.
    Article("m", "jan");
    Settle();
    EXPECT_EQ(doc.DeleteString("jan"), 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Journal("m"), "jan");
    EXPECT_FALSE(doc.IsModified());
}

// The strings list deletes its selection in order until a call returns 0.
TEST_F(StringMaintenanceTest, DeletingASelectionStopsAtCancel) {
    const auto deleteSelection = [](CQVNDoc& d, const std::vector<std::string>& selection) {
        for (const std::string& abbreviation : selection) {
            if (d.DeleteString(abbreviation) == 0) {
                break;
            }
        }
    };
    for (const std::string s : {"s1", "s2", "s3"}) {
        doc.AddString(s, "v" + s, false);
        Article("k" + s, s);
    }
    ui.answers = {MsgResult::Cancel};
    deleteSelection(doc, {"s1", "s2", "s3"});
    EXPECT_EQ(doc.GetStrings().GetCount(), 3) << "Cancel for the first deletes none";

    ui.answers = {MsgResult::No, MsgResult::Yes, MsgResult::Yes};
    deleteSelection(doc, {"s1", "s2", "s3"});
    EXPECT_TRUE(doc.GetStrings().HasString("s1"));
    EXPECT_FALSE(doc.GetStrings().HasString("s2"));
    EXPECT_FALSE(doc.GetStrings().HasString("s3"));
    EXPECT_EQ(Journal("ks1"), "s1");
    EXPECT_EQ(Journal("ks2"), "{vs2}");
}

TEST_F(StringMaintenanceTest, ResolvedValues) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Journal of the ACM", "{Journal of the ACM}"},
        {"\"Journal of the ACM\"", "{Journal of the ACM}"}, // stored with its quotes
        {"{Braced}", "{Braced}"},
        {"1999", "1999"},                 // a number stays bare
        {"other", "other"},               // the name of a defined string
        {"jan", "jan"},                   // a month
        {"other # { 2}", "other # { 2}"}, // a concatenation
        {"", "{}"},                       // empty braces keep the field, empty
    };
    doc.AddString("other", "O", false);
    for (const auto& [value, resolved] : cases) {
        doc.AddString("s", value, true);
        EXPECT_EQ(doc.ResolvedStringValue("s"), resolved) << value;
    }
    // Deleting writes the bare 1999 into the referring items.
    doc.AddString("y", "1999", false);
    Article("a", "y");
    ui.answers = {MsgResult::Yes};
    doc.DeleteString("y");
    EXPECT_EQ(Journal("a"), "1999");
    EXPECT_EQ(doc.GetItems().FindKey("a")->FormatText(), "@article{a,\n  journal = 1999\n}\n\n");
}

TEST_F(StringMaintenanceTest, DeleteAllStrings) {
    doc.AddString("jacm", "Journal of the ACM", false);
    doc.AddString("y", "1999", false);
    doc.AddString("unused", "u", false);
    Article("a", "jacm");
    Article("b", "y");
    Article("c", "jacm # {2005}");
    Settle();

    ui.answers = {MsgResult::No};
    EXPECT_FALSE(doc.OnDeleteAllStrings());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Do you really want to delete all BibTeX strings\nand replace the corresponding "
              "occurrences in the \nBibTeX items by their value?");
    EXPECT_EQ(ui.messages[0].caption, "Delete all BibTeX strings");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(doc.GetStrings().GetCount(), 3);
    EXPECT_TRUE(hints.hints.empty());
    EXPECT_FALSE(doc.IsModified());

    EXPECT_TRUE(doc.OnCommand(ID_DELETE_ALL_STRINGS)); // answered Yes
    EXPECT_EQ(ui.messages.size(), 2u) << "no further question";
    EXPECT_EQ(doc.GetStrings().GetCount(), 0);
    EXPECT_EQ(Journal("a"), "{Journal of the ACM}");
    EXPECT_EQ(Journal("b"), "1999");
    EXPECT_EQ(Journal("c"), "jacm # {2005}");
    EXPECT_EQ(hints.Kinds(), std::vector<UpdateHint>{UpdateHint::Bulk});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_GT(ui.busyCount, 0);
    EXPECT_EQ(ui.busyDepth, 0);

    // With no strings: the question, nothing else, still UpdateHint::Bulk.
    Settle();
    EXPECT_TRUE(doc.OnDeleteAllStrings());
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(hints.Kinds(), std::vector<UpdateHint>{UpdateHint::Bulk});
    EXPECT_FALSE(doc.IsModified());
}

// All strings go at once, so values that name other strings are resolved
// through them: no item is left referring to a deleted string.
TEST_F(StringMaintenanceTest, DeleteAllResolvesStringsThatNameOtherStrings) {
    doc.AddString("acm", "ACM", false);
    doc.AddString("acmpress", "acm # { Press}", false);
    doc.AddString("alias", "acm", false);
    doc.AddString("chain", "alias", false);
    doc.AddString("mixed", "chain # { } # acmpress # jan", false);
    doc.AddString("loop1", "loop2", false);
    doc.AddString("loop2", "loop1", false);
    doc.AddString("empty", "", false);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"acm", "{ACM}"},
        {"acmpress", "{ACM} # { Press}"},
        {"alias", "{ACM}"},
        {"chain", "{ACM}"},
        {"mixed", "{ACM} # { } # {ACM} # { Press} # jan"},
        {"empty", "{}"},
    };
    for (const auto& [abbreviation, resolved] : expected) {
        Article(abbreviation, abbreviation);
    }
    Article("loop", "loop1");
    ui.answers = {MsgResult::Yes};
    ASSERT_TRUE(doc.OnDeleteAllStrings());
    for (const auto& [abbreviation, resolved] : expected) {
        EXPECT_EQ(Journal(abbreviation), resolved) << abbreviation;
    }
    // A cycle cannot be resolved; it ends in one of its names, not in a hang.
    EXPECT_TRUE(Journal("loop") == "loop1" || Journal("loop") == "loop2") << Journal("loop");
}

// ---------------------------------------------------------------------------
// Property window

TEST_F(StringMaintenanceTest, RenameReplacesReferencesAfterAsking) {
    doc.AddString("jacm", "\"Journal of the ACM\"", false);
    Article("a", "jacm");
    Article("b", "jacm");
    Article("c", "{jacm}");
    Settle();
    CBibTexString shown("jacm", "Journal of the ACM");

    ui.answers = {MsgResult::No};
    EXPECT_FALSE(doc.OnStringPropertyChanged(shown, StringProperty::Abbreviation, "jacm2"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "This abbreviation is used by one or more \nBibTeX items. Do you "
              "want all occurences \nof string 'jacm' be replaced by 'jacm2'?");
    EXPECT_EQ(ui.messages[0].caption, "");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(Journal("a"), "jacm");
    EXPECT_TRUE(doc.GetStrings().HasString("jacm"));
    EXPECT_FALSE(doc.GetStrings().HasString("jacm2"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(shown.GetAbbreviation(), "jacm");

    ui.answers = {MsgResult::Yes};
    EXPECT_TRUE(doc.OnStringPropertyChanged(shown, StringProperty::Abbreviation, "jacm2"));
    EXPECT_EQ(Journal("a"), "jacm2");
    EXPECT_EQ(Journal("b"), "jacm2");
    EXPECT_EQ(Journal("c"), "{jacm}");
    EXPECT_FALSE(doc.GetStrings().HasString("jacm"));
    EXPECT_EQ(*doc.GetStrings().FindString("jacm2"), "Journal of the ACM");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(shown.GetAbbreviation(), "jacm2");

    // Not in use: no question.
    ui.messages.clear();
    doc.AddString("free", "F", false);
    CBibTexString free("free", "F");
    EXPECT_TRUE(doc.OnStringPropertyChanged(free, StringProperty::Abbreviation, "free2"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(doc.GetStrings().HasString("free2"));
}

TEST_F(StringMaintenanceTest, RenameRefusals) {
    doc.AddString("jacm", "J", false);
    doc.AddString("other", "{The Other}", false);
    Article("a", "jacm");
    struct Case {
        std::string newName;
        std::string text;
        std::string caption;
        MsgIcon icon;
    };
    const std::string illegal = "Invalid string format (use of illegal characters).";
    const std::vector<Case> cases = {
        {"other",
         "There is already an abbreviation with the key\n'other' in the database. It's "
         "value is: \n'The Other'.",
         "", MsgIcon::Error},
        {"jacm",
         "There is already an abbreviation with the key\n'jacm' in the database. It's "
         "value is: \n'J'.",
         "", MsgIcon::Error},
        {"my jacm", illegal, "Illegal abbreviation name", MsgIcon::Warning},
        {"", illegal, "Illegal abbreviation name", MsgIcon::Warning},
        {"a#b", illegal, "Illegal abbreviation name", MsgIcon::Warning},
    };
    for (const Case& c : cases) {
        Settle();
        CBibTexString shown("jacm", "J");
        EXPECT_FALSE(doc.OnStringPropertyChanged(shown, StringProperty::Abbreviation, c.newName));
        ASSERT_EQ(ui.messages.size(), 1u) << c.newName;
        EXPECT_EQ(ui.messages[0].text, c.text);
        EXPECT_EQ(ui.messages[0].caption, c.caption);
        EXPECT_EQ(ui.messages[0].icon, c.icon);
        EXPECT_EQ(ui.messages[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(Journal("a"), "jacm");
        EXPECT_EQ(doc.GetStrings().GetCount(), 2);
        EXPECT_FALSE(doc.IsModified());
    }
}

TEST_F(StringMaintenanceTest, FullStringChangeKeepsReferences) {
    doc.AddString("jacm", "J", false);
    Article("a", "jacm");
    Settle();
    CBibTexString shown("jacm", "J");
    EXPECT_TRUE(
        doc.OnStringPropertyChanged(shown, StringProperty::FullString, "\"Typed\" {as is}"));
    EXPECT_EQ(*doc.GetStrings().FindString("jacm"), "\"Typed\" {as is}");
    EXPECT_EQ(shown.GetValue(), "\"Typed\" {as is}");
    EXPECT_EQ(Journal("a"), "jacm");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StringMaintenanceTest, NothingChangesWithoutAnActiveProject) {
    CQVNDoc idle(&ui);
    idle.AddString("jacm", "J", false);
    CBibTexString shown("jacm", "J");
    EXPECT_FALSE(idle.OnStringPropertyChanged(shown, StringProperty::Abbreviation, "x"));
    EXPECT_FALSE(idle.OnStringPropertyChanged(shown, StringProperty::FullString, "x"));
    EXPECT_EQ(*idle.GetStrings().FindString("jacm"), "J");
    EXPECT_TRUE(ui.messages.empty());
}

// ---------------------------------------------------------------------------
// String editor

TEST_F(StringMaintenanceTest, StringEditorOk) {
    doc.AddString("jacm", "{Journal of the ACM}", false);
    Settle();
    EXPECT_EQ(doc.EditStringOk("my jacm", "x"), EditStringResult::IllegalAbbreviation);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Invalid string format (use of illegal characters).");
    EXPECT_EQ(ui.messages[0].caption, "Illegal abbreviation name");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::Ok);

    ui.answers = {MsgResult::No};
    EXPECT_EQ(doc.EditStringOk("jacm", "New"), EditStringResult::Declined);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, "There is already an abbreviation 'jacm' in the list\nof "
                                   "strings. It's value is \n  'Journal of the ACM'.\n\nDo you "
                                   "want to overwrite it?");
    EXPECT_EQ(ui.messages[1].caption, "Duplicate name");
    EXPECT_EQ(ui.messages[1].icon, MsgIcon::Warning);
    EXPECT_EQ(ui.messages[1].buttons, MsgButtons::YesNo);
    EXPECT_EQ(*doc.GetStrings().FindString("jacm"), "{Journal of the ACM}");
    EXPECT_FALSE(doc.IsModified());

    ui.answers = {MsgResult::Yes};
    EXPECT_EQ(doc.EditStringOk("jacm", "New"), EditStringResult::Stored);
    EXPECT_EQ(*doc.GetStrings().FindString("jacm"), "New");
    EXPECT_TRUE(doc.IsModified());

    ui.messages.clear();
    EXPECT_EQ(doc.EditStringOk("tods", "\"ACM TODS\""), EditStringResult::Stored);
    EXPECT_EQ(*doc.GetStrings().FindString("tods"), "\"ACM TODS\"") << "stored exactly as typed";
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(StringMaintenanceTest, AbbreviationRules) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"jacm", true}, {"ACM-Press_2", true}, {"m\xC3\xBCller", true}, {"a.b:c", true},
        {"", false},    {"my jacm", false},    {"a\"b", false},         {"a{b", false},
        {"a}b", false}, {"a(b", false},        {"a)b", false},          {"a\\b", false},
        {"a/b", false}, {"a#b", false},        {"a,b", false},          {"a=b", false},
        {"a%b", false}, {"a'b", false},        {"a\tb", false},         {"1999", false},
        {"2nd", false},
    };
    for (const auto& [name, valid] : cases) {
        EXPECT_EQ(IsValidAbbreviation(name), valid) << name;
    }
    EXPECT_TRUE(CQVNDoc::IsStringEditorComplete("a", "b"));
    EXPECT_FALSE(CQVNDoc::IsStringEditorComplete("", "b"));
    EXPECT_FALSE(CQVNDoc::IsStringEditorComplete("a", ""));
}

// ---------------------------------------------------------------------------
// Replace

TEST_F(StringMaintenanceTest, ReplaceIsTextMatchingInTheShownValue) {
    struct Case {
        const char* title;
        const char* find;
        const char* replace;
        bool matchCase;
        int count;
        const char* after;
    };
    const std::vector<Case> cases = {
        {"{BOX}", "Box", "Boxes", false, 1, "{Boxes}"},
        {"{BOX}", "Box", "Boxes", true, 0, "{BOX}"},
        {"{a box in a box}", "box", "crate", true, 2, "{a crate in a crate}"},
        {"{aaaa}", "aa", "b", true, 2, "{bb}"},                   // left to right, no overlap
        {"{\xC3\x84RGER}", "\xC3\xA4rger", "x", false, 1, "{x}"}, // Unicode letter case
        {"{Box}", "Box", "2005", false, 1, "2005"},               // a number is stored bare
        {"{}", "x", "y", false, 0, "{}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        CQVNDoc d(&ui);
        d.StartProject({"P", "", "strings.bib"});
        auto item = std::make_unique<CBibTexEntry>("refs", "a", 0);
        item->SetField(kFieldTitle, c.title, true);
        d.AddItem(std::move(item));
        d.SetModifiedFlag(false);
        ui.messages.clear();
        EXPECT_EQ(d.Replace({kFieldTitle, c.find, c.replace, c.matchCase}), c.count);
        EXPECT_EQ(d.GetItems().FindKey("a")->GetValue(kFieldTitle), c.after);
        EXPECT_TRUE(d.IsModified()) << "marked also when nothing was found";
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text,
                  "In BibTex-field 'title' all " + std::to_string(c.count) + " occurences of '" +
                      c.find + "'\nhave been successfully replaced with '" + c.replace + "'.");
        EXPECT_EQ(ui.messages[0].caption, "Replace");
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Information);
        EXPECT_EQ(ui.messages[0].buttons, MsgButtons::Ok);
    }
}

TEST_F(StringMaintenanceTest, ReplaceCommandRunsTheDialog) {
    Article("a", "{Box}");
    Settle();
    ui.replaceDialog = [](CQVNDoc&) { return std::nullopt; };
    EXPECT_TRUE(doc.OnCommand(ID_EDIT_REPLACE));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(doc.IsModified());

    ui.replaceDialog = [](CQVNDoc&) {
        return std::optional<ReplaceRequest>(ReplaceRequest{kFieldJournal, "box", "Crate", false});
    };
    doc.OnReplace();
    EXPECT_EQ(Journal("a"), "{Crate}");
    EXPECT_EQ(hints.Kinds(), std::vector<UpdateHint>{UpdateHint::Change});
    EXPECT_TRUE(std::holds_alternative<std::monostate>(hints.hints[0].object));
    EXPECT_EQ(doc.Replace({kFieldCount, "a", "b", false}), -1);
}

// A value whose braces do not balance is refused on every path that stores
// typed text, with a message naming the field or string; nothing changes.
TEST_F(StringMaintenanceTest, UnbalancedValuesAreRefusedEverywhere) {
    doc.AddString("jacm", "Journal of the ACM", false);
    Article("a", "{Box}", "{see Appendix}");
    Article("b", "{Crate}", "{Appendix of the book}");
    Settle();
    const auto expectRefused = [&](const std::string& name) {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, CTexObject::UnbalancedBracesMessage(name));
        EXPECT_EQ(ui.messages[0].caption, kUnbalancedBracesCaption);
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
        EXPECT_FALSE(doc.IsModified());
        Settle();
    };

    EXPECT_FALSE(doc.AcceptTypedValue("note", "see {Appendix"));
    expectRefused("note");
    EXPECT_TRUE(doc.AcceptTypedValue("note", "see {Appendix} 2"));
    EXPECT_TRUE(ui.messages.empty());

    EXPECT_EQ(doc.EditStringOk("tcs", "Theoretical} Computer Science"),
              EditStringResult::UnbalancedValue);
    EXPECT_FALSE(doc.GetStrings().HasString("tcs"));
    expectRefused("tcs");

    CBibTexString jacm("jacm", "Journal of the ACM");
    EXPECT_FALSE(doc.OnStringPropertyChanged(jacm, StringProperty::FullString, "{Journal"));
    EXPECT_EQ(*doc.GetStrings().FindString("jacm"), "Journal of the ACM");
    EXPECT_EQ(jacm.GetValue(), "Journal of the ACM");
    expectRefused("jacm");

    // Replace is all or nothing: item a would keep its balance, b would not.
    EXPECT_EQ(doc.Replace({kFieldTitle, "Appendix", "{Appendix", false}), -1);
    EXPECT_EQ(doc.GetItems().FindKey("a")->GetValue(kFieldTitle), "{see Appendix}");
    EXPECT_EQ(doc.GetItems().FindKey("b")->GetValue(kFieldTitle), "{Appendix of the book}");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(hints.hints.empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Nothing was replaced: replacing 'Appendix' with '{Appendix' would leave\nthe "
              "braces of BibTex-field 'title' unbalanced in 2 item(s),\nthe first of them 'a'.");
    EXPECT_EQ(ui.messages[0].caption, "Replace");
    Settle();
    // A replacement that closes what another opens keeps the balance.
    EXPECT_EQ(doc.Replace({kFieldTitle, "Appendix", "{Appendix}", false}), 2);
    EXPECT_EQ(doc.GetItems().FindKey("a")->GetValue(kFieldTitle), "{see {Appendix}}");
}

TEST_F(StringMaintenanceTest, ReplaceDialogOkEnabling) {
    struct Case {
        int field;
        const char* find;
        const char* replace;
        bool enabled;
    };
    const std::vector<Case> cases = {
        {kFieldTitle, "Box", "box", true}, // differ in letter case only
        {kFieldTitle, "Box", "Box", false},
        {kFieldTitle, "", "x", false},
        {kFieldTitle, "x", "", false},
        {-1, "a", "b", false}, // no field selected
        {0, "a", "b", true},
        {kFieldCount - 1, "a", "b", true},
        {kFieldCount, "a", "b", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CQVNDoc::IsReplaceRequestComplete(c.field, c.find, c.replace), c.enabled)
            << c.field << " " << c.find << " " << c.replace;
    }
}

} // namespace
