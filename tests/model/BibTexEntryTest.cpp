#include "model/BibTexEntry.h"

#include "model/Archive.h"
#include "model/BibTexStringTable.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace {

constexpr int kArticle = 0;
constexpr int kManual = 8;
constexpr int kPatent = 11;

TEST(BibTexEntry, NewItemsHave39ValuesAndCopies38) {
    const CBibTexEntry empty;
    EXPECT_EQ(empty.GetKey(), "");
    EXPECT_EQ(empty.GetFileName(), "");
    EXPECT_EQ(empty.GetType(), 0);
    EXPECT_EQ(empty.GetValueCount(), 39);

    CBibTexEntry item("refs", "smith2000", kManual);
    EXPECT_EQ(item.GetValueCount(), 39);
    item.SetField(kFieldTitle, "{T}", true);
    item.SetField(38, "spare", true); // the spare slot of a new item
    EXPECT_EQ(item.GetValue(38), "spare");

    const CBibTexEntry copy(item);
    EXPECT_EQ(copy.GetValueCount(), 38);
    EXPECT_EQ(copy.GetFileName(), "refs");
    EXPECT_EQ(copy.GetKey(), "smith2000");
    EXPECT_EQ(copy.GetType(), kManual);
    EXPECT_EQ(copy.GetValue(kFieldTitle), "{T}");
    EXPECT_THROW((void)copy.GetValue(38), std::out_of_range);

    CBibTexEntry target("other", "x", kPatent);
    target.SetField(kFieldNote, "{old}", true);
    target.CopyFrom(item);
    EXPECT_EQ(target.GetValueCount(), 38);
    EXPECT_EQ(target.GetValue(kFieldNote), ""); // values are replaced, not merged
    EXPECT_EQ(target.GetValue(kFieldTitle), "{T}");
    EXPECT_EQ(target.GetKey(), "smith2000");
}

TEST(BibTexEntry, IndicesOutsideTheValueArrayAreCallerErrors) {
    CBibTexEntry item("refs", "k", kArticle);
    EXPECT_THROW((void)item.GetValue(-1), std::out_of_range);
    EXPECT_THROW((void)item.GetValue(39), std::out_of_range);
    EXPECT_THROW(item.SetField(39, "x", true), std::out_of_range);
    EXPECT_THROW((void)item.GetField(-1), std::out_of_range);
}

TEST(BibTexEntry, SetFieldStoresAlwaysAndReportsWhetherTheTypeUsesTheField) {
    CBibTexStringTable strings;
    CActiveStringTableScope scope(&strings);
    const struct {
        int type;
        int field;
        const char* text;
        bool raw;
        const char* stored;
        bool used;
    } cases[] = {
        {kArticle, kFieldAuthor, "Smith, J.", false, "{Smith, J.}", true},
        {kArticle, kFieldYear, "2000", false, "2000", true},
        {kArticle, kFieldMonth, "jan", false, "jan", true},
        {kArticle, kFieldUrl, "http://x", false, "{http://x}", false},
        {kArticle, kFieldTitle, "\"Quoted\"", true, "\"Quoted\"", true},
        {kArticle, kFieldAbstract, "bare words", true, "bare words", false},
        {kArticle, kFieldTitle, "{Braced}", false, "{{Braced}}", true},
        {kManual, kFieldKey, "k", false, "{k}", false},
        {kPatent, kFieldTitle, "A Patent", false, "{A Patent}", false},
        {kArticle, 38, "spare", true, "spare", false},
    };
    for (const auto& c : cases) {
        CBibTexEntry item("refs", "k", c.type);
        EXPECT_EQ(item.SetField(c.field, c.text, c.raw), c.used) << c.text;
        EXPECT_EQ(item.GetValue(c.field), c.stored) << c.text;
    }
}

TEST(BibTexEntry, SettingAnEmptyValueUnsetsTheField) {
    CBibTexEntry item("refs", "k", kArticle);
    item.SetField(kFieldTitle, "T", false);
    item.SetField(kFieldTitle, "", false);
    EXPECT_EQ(item.GetValue(kFieldTitle), "");
    EXPECT_EQ(item.FormatText(), "@article{k\n}\n\n");
}

TEST(BibTexEntry, GetFieldStripsOnePairOfDelimiters) {
    CBibTexEntry item("refs", "k", kArticle);
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"{{a}}", "{a}"},
        {"\"q\"", "q"},
        {"2000", "2000"},
        {"jan # feb", "jan # feb"},
        // Delimiters that do not enclose the whole value stay.
        {"{a} and {b}", "{a} and {b}"},
        {"\"A\" # \"B\"", "\"A\" # \"B\""},
        {"", ""},
    };
    for (const auto& c : cases) {
        item.SetField(kFieldNote, c.stored, true);
        EXPECT_EQ(item.GetField(kFieldNote), c.shown) << c.stored;
    }
}

TEST(BibTexEntry, HasValueMatchesWholeValueTextsOnly) {
    CBibTexEntry item("refs", "k", kArticle);
    item.SetField(kFieldMonth, "jan # feb", true);
    item.SetField(kFieldTitle, "{T}", true);
    item.SetField(kFieldYear, "2000", true);
    const struct {
        const char* text;
        bool expected;
    } cases[] = {
        {"jan", false}, {"jan # feb", true}, {"{T}", true}, {"T", false},
        {"{t}", false}, {"2000", true},      {"", false}, // unset fields are no reference
    };
    for (const auto& c : cases) {
        EXPECT_EQ(item.HasValue(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(BibTexEntry, ReplaceValue) {
    const struct {
        const char* oldText;
        const char* newText;
        const char* journal;
        const char* note;
        const char* series;
    } cases[] = {
        {"jacm", "{Journal of the ACM}", "{Journal of the ACM}", "{Journal of the ACM}",
         "jacm # \" 3\""},
        {"jacm", "acmj", "acmj", "acmj", "jacm # \" 3\""},
        {"jacm", "", "", "", "jacm # \" 3\""},             // resolving to nothing unsets
        {"", "{Filled}", "jacm", "jacm", "jacm # \" 3\""}, // unset fields stay unset
        {"JACM", "x", "jacm", "jacm", "jacm # \" 3\""},
    };
    for (const auto& c : cases) {
        CBibTexEntry item("refs", "k", kArticle);
        item.SetField(kFieldJournal, "jacm", true);
        item.SetField(kFieldNote, "jacm", true);
        item.SetField(31, "jacm # \" 3\"", true); // series
        item.ReplaceValue(c.oldText, c.newText);
        EXPECT_EQ(item.GetValue(kFieldJournal), c.journal) << c.oldText << "->" << c.newText;
        EXPECT_EQ(item.GetValue(kFieldNote), c.note);
        EXPECT_EQ(item.GetValue(31), c.series);
        EXPECT_EQ(item.GetValue(kFieldTitle), "");
    }
}

TEST(BibTexEntry, TextFormIsExact) {
    CBibTexEntry item("refs", "smith2000", kArticle);
    // Set out of order: the text is in catalogue order.
    item.SetField(kFieldYear, "2000", true);
    item.SetField(kFieldTitle, "{On Things}", true);
    item.SetField(kFieldAuthor, "{Smith, J.}", true);
    item.SetField(38, "never written", true);
    EXPECT_EQ(item.FormatText(), "@article{smith2000,\n"
                                 "  author = {Smith, J.},\n"
                                 "  title = {On Things},\n"
                                 "  year = 2000\n"
                                 "}\n"
                                 "\n");
    std::string out = "stale text";
    item.FormatText(out);
    EXPECT_EQ(out.substr(0, 19), "@article{smith2000,");

    std::string appended = "head\n";
    item.AppendText(appended);
    EXPECT_EQ(appended, "head\n" + item.FormatText());
}

TEST(BibTexEntry, TextFormOfEveryTypeUsesTheLowerCaseName) {
    const struct {
        int type;
        const char* expected;
    } cases[] = {
        {7, "@inproceedings{k\n}\n\n"},
        {15, "@unpublished{k\n}\n\n"},
        {kPatent, "@patent{k\n}\n\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CBibTexEntry("f", "k", c.type).FormatText(), c.expected);
    }
    CBibTexEntry full("f", "", kArticle);
    full.SetField(0, "a", true);
    full.SetField(kFieldCount - 1, "y", true);
    EXPECT_EQ(full.FormatText(), "@article{,\n  abstract = a,\n  year = y\n}\n\n");
}

TEST(BibTexEntry, RecordLayout) {
    CBibTexEntry item("refs", "smith2000", kArticle);
    item.SetField(kFieldYear, "2000", true);
    CBibTexEntry copy(item);

    std::string expected = "\x04refs\x09smith2000" + std::string("\0\0\0\0", 4) + "\x26" +
                           std::string(1, '\0'); // 38 values
    expected += std::string(37, '\0');           // 37 empty values
    expected += "\x04"
                "2000"; // year, index 37
    CArchive out;
    copy.Serialize(out);
    EXPECT_EQ(out.Buffer(), expected);

    CArchive outNew;
    item.Serialize(outNew);
    std::string expectedNew = expected;
    expectedNew[19] = '\x27'; // 39 values
    expectedNew += '\0';      // the empty spare value
    EXPECT_EQ(outNew.Buffer(), expectedNew);

    for (const std::string& bytes : {expected, expectedNew}) {
        CArchive in(bytes);
        CBibTexEntry read;
        read.Serialize(in);
        EXPECT_EQ(read, item);
        EXPECT_EQ(read.GetValueCount(), bytes == expected ? 38 : 39);
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(BibTexEntry, ShortAndLongRecordsKeepTheirValues) {
    // Two values only: padded to 38 slots.
    std::string shortRecord = std::string("\x01"
                                          "f\x01k") +
                              std::string("\0\0\0\0", 4) + std::string("\x02\0", 2) +
                              "\x03{a}\x01x";
    CArchive in(shortRecord);
    CBibTexEntry item;
    item.Serialize(in);
    EXPECT_EQ(item.GetValueCount(), 38);
    EXPECT_EQ(item.GetValue(0), "{a}");
    EXPECT_EQ(item.GetValue(1), "x");
    EXPECT_EQ(item.GetValue(37), "");

    // 40 values: kept for the project file, never written as text.
    std::string longRecord = std::string("\x01"
                                         "f\x01k") +
                             std::string("\0\0\0\0", 4) + std::string("\x28\0", 2) +
                             std::string(39, '\0') + "\x02zz";
    CArchive inLong(longRecord);
    CBibTexEntry wide;
    wide.Serialize(inLong);
    EXPECT_EQ(wide.GetValueCount(), 40);
    EXPECT_EQ(wide.GetValue(39), "zz");
    EXPECT_EQ(wide.FormatText(), "@article{k\n}\n\n");
    CArchive out;
    wide.Serialize(out);
    EXPECT_EQ(out.Buffer(), longRecord);
}

} // namespace
