#include "model/BibTexStringTable.h"

#include "model/Archive.h"
#include "model/BibTexString.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<std::string, std::string>> Contents(const CBibTexStringTable& table) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& [abbreviation, value] : table) {
        out.emplace_back(abbreviation, value);
    }
    return out;
}

TEST(BibTexStringTable, AddSetLookupRemove) {
    CBibTexStringTable table;
    EXPECT_TRUE(table.AddString("jacm", "{Journal of the ACM}", false));
    EXPECT_FALSE(table.AddString("jacm", "{Other}", false)); // exists: unchanged
    EXPECT_EQ(*table.FindString("jacm"), "{Journal of the ACM}");
    EXPECT_TRUE(table.AddString("jacm", "\"J. ACM\"", true));
    EXPECT_EQ(*table.FindString("jacm"), "\"J. ACM\"");
    EXPECT_TRUE(table.AddString("JACM", "{Upper}", false)); // case-sensitive
    table.SetString("n", "1999");
    EXPECT_EQ(table.GetCount(), 3);

    std::string value = "stale";
    EXPECT_TRUE(table.LookupString("jacm", value));
    EXPECT_EQ(value, "J. ACM");
    EXPECT_TRUE(table.LookupString("JACM", value));
    EXPECT_EQ(value, "Upper");
    EXPECT_TRUE(table.LookupString("n", value));
    EXPECT_EQ(value, "1999");
    EXPECT_FALSE(table.LookupString("missing", value));
    EXPECT_EQ(table.FindString("missing"), nullptr);

    EXPECT_TRUE(table.RemoveString("JACM"));
    EXPECT_FALSE(table.RemoveString("JACM"));
    EXPECT_FALSE(table.HasString("JACM"));
    EXPECT_EQ(table.GetCount(), 2);
    table.RemoveAll();
    EXPECT_EQ(table.GetCount(), 0);
}

TEST(BibTexStringTable, KeepsInsertionOrder) {
    CBibTexStringTable table;
    table.SetString("z", "{1}");
    table.SetString("a", "{2}");
    table.SetString("m", "{3}");
    table.SetString("a", "{4}"); // replaced in place
    table.RemoveString("z");
    table.SetString("z", "{5}"); // added again: at the end
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(Contents(table), (Pairs{{"a", "{4}"}, {"m", "{3}"}, {"z", "{5}"}}));

    Pairs seen;
    auto position = table.GetStartPosition();
    std::string abbreviation;
    std::string value;
    while (table.GetNextString(position, abbreviation, value)) {
        seen.emplace_back(abbreviation, value);
    }
    EXPECT_EQ(seen, (Pairs{{"a", "4"}, {"m", "3"}, {"z", "5"}})); // values stripped
}

TEST(BibTexStringTable, OrderSurvivesManyRemovals) {
    CBibTexStringTable table;
    for (int i = 0; i < 100; ++i) {
        table.SetString("s" + std::to_string(i), "{v}");
    }
    for (int i = 0; i < 100; i += 3) {
        table.RemoveString("s" + std::to_string(i));
    }
    std::vector<std::string> expected;
    for (int i = 0; i < 100; ++i) {
        if (i % 3 != 0) {
            expected.push_back("s" + std::to_string(i));
        }
    }
    std::vector<std::string> seen;
    for (const auto& [abbreviation, value] : table) {
        seen.emplace_back(abbreviation);
    }
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(table.HasString("s1"));
    EXPECT_FALSE(table.HasString("s0"));
}

TEST(BibTexStringTable, TextFormOfAString) {
    const struct {
        const char* abbreviation;
        const char* value;
        const char* expected;
    } cases[] = {
        {"jacm", "{Journal of the ACM}", "@string{jacm = {Journal of the ACM}}\n"},
        {"q", "\"Quoted\"", "@string{q = \"Quoted\"}\n"},
        {"n", "1999", "@string{n = {1999}}\n"},
        {"w", "bare words", "@string{w = {bare words}}\n"},
        {"e", "", "@string{e = {}}\n"},
        // Two groups would not read back as one value: braced as a whole.
        {"ab", "{a} and {b}", "@string{ab = {{a} and {b}}}\n"},
        {"cat", "\"A\" # \"B\"", "@string{cat = \"A\" # \"B\"}\n"}, // a concatenation stays bare
        {"x", "\"a}", "@string{x = {\"a}}}\n"},
        {"c", "jan # \" 1\"", "@string{c = {jan # \" 1\"}}\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CBibTexStringTable::FormatString(c.abbreviation, c.value), c.expected);
    }
}

TEST(BibTexStringTable, ProjectFileLayout) {
    CBibTexStringTable table;
    table.SetString("jacm", "Journal of the ACM");
    CArchive out;
    table.Serialize(out);
    EXPECT_EQ(out.Buffer(), std::string("\x01\x00\x04jacm\x12Journal of the ACM", 26));

    // Reading: a later pair with the same abbreviation replaces the earlier.
    const std::string bytes = std::string("\x03\x00", 2) +
                              "\x01"
                              "a\x03{1}" +
                              "\x01"
                              "b\x01"
                              "2" +
                              "\x01"
                              "a\x03{3}";
    CArchive in(bytes);
    CBibTexStringTable read;
    read.Serialize(in);
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(Contents(read), (Pairs{{"a", "{3}"}, {"b", "2"}}));
}

TEST(BibTexStringTable, HostileCountsFailAsEndOfData) {
    const std::string cases[] = {
        std::string("\xFF\xFF\xFF\xFF\xFF\xFF", 6) + std::string(34, '\0'), // 4 billion strings
        std::string("\x02\x00\x01"
                    "a\x01"
                    "b",
                    6),         // second pair missing
        std::string("\x01", 1), // count cut short
    };
    for (const std::string& bytes : cases) {
        CArchive in(bytes);
        CBibTexStringTable table;
        try {
            table.Serialize(in);
            ADD_FAILURE() << "no error";
        } catch (const CArchiveError& error) {
            EXPECT_EQ(error.GetKind(), CArchiveError::Kind::EndOfFile);
        }
    }
}

TEST(BibTexString, CopiesAndSerializes) {
    CBibTexString a("jacm", "Journal of the ACM");
    CBibTexString b;
    b = a;
    EXPECT_EQ(b.GetAbbreviation(), "jacm");
    EXPECT_EQ(b.GetValue(), "Journal of the ACM");
    CArchive out;
    a.Serialize(out);
    EXPECT_EQ(out.Buffer(), "\x04jacm\x12Journal of the ACM");
    CArchive in(out.Buffer());
    CBibTexString read;
    read.Serialize(in);
    EXPECT_EQ(read.GetAbbreviation(), "jacm");
    EXPECT_EQ(read.GetValue(), "Journal of the ACM");
}

} // namespace
