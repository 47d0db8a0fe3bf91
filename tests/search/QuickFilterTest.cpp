// The quick filter: which items the typed words let through.
#include "search/QuickFilter.h"

#include "model/BibTexEntry.h"

#include <gtest/gtest.h>
#include <string>

namespace {

CBibTexEntry MakeItem() {
    CBibTexEntry item("refs", "mueller2001", FindEntryType("article"));
    item.SetField(kFieldAuthor, "{M{\\\"u}ller, Hans and M\\\"uller, Jos\\'e}", true);
    item.SetField(kFieldTitle, "{{\\O}resund Bridges -- a Survey}", true);
    item.SetField(kFieldJournal, "{Journal of {C}ivil {E}ngineering}", true);
    item.SetField(kFieldYear, "2001", true);
    return item;
}

TEST(QuickFilter, WordsInAnyOrderIgnoringCaseAndAccents) {
    const std::string text = CQuickFilter::ItemText(MakeItem());
    const struct {
        const char* typed;
        bool matches;
    } cases[] = {
        {"", true},
        {"   ", true},
        {"muller", true},
        {"MÜLLER", true},
        {"M{\\\"u}ller", true},
        {"jose", true},
        {"oresund", true},
        {"bridges 2001", true},
        {"2001 BRIDGES", true},
        {"civil engineering", true},
        {"article", true},          // the type name
        {"mueller2001", true},      // the key
        {"survey bridges-", false}, // the dash is a dash, not a hyphen pair
        {"bridges – a", true},
        {"muller zebra", false},
        {"2002", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CQuickFilter(c.typed).Matches(text), c.matches) << c.typed;
    }
}

TEST(QuickFilter, TypingOnNarrowsTheList) {
    const struct {
        const char* before;
        const char* after;
        bool narrows;
    } cases[] = {
        {"", "m", true},
        {"m", "mu", true},
        {"mul", "mu", false}, // a letter taken back
        {"muller", "muller 2001", true},
        {"muller 2001", "2001", false}, // a word taken back
        {"muller 2001", "2001 muller", true},
        {"mul", "xmuly", true},
        {"ab cd", "abcd", true},
        {"abcd", "ab cd", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CQuickFilter(c.after).Narrows(CQuickFilter(c.before)), c.narrows)
            << c.before << " -> " << c.after;
    }
}

} // namespace
