#include "model/Catalogue.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<int> ToVector(std::span<const int> list) {
    return {list.begin(), list.end()};
}

std::vector<std::string> IgnoredFieldNames(int type) {
    std::vector<std::string> names;
    for (int field = 0; field < kFieldCount; ++field) {
        if (!IsListedField(type, field, true)) {
            names.emplace_back(FieldName(field));
        }
    }
    return names;
}

TEST(Catalogue, FindEntryTypeIgnoresCaseButNotBlanks) {
    const struct {
        const char* name;
        int expected;
    } cases[] = {
        {"article", 0},    {"Article", 0},       {"ARTICLE", 0},
        {"book", 1},       {"InProceedings", 7}, {"unpublished", 15},
        {"PhDThesis", 12}, {"string", -1},       {"comment", -1},
        {"preamble", -1},  {" article", -1},     {"article ", -1},
        {"", -1},          {"articles", -1},     {"artic", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindEntryType(c.name), c.expected) << c.name;
    }
}

TEST(Catalogue, FindFieldIgnoresCase) {
    const struct {
        const char* name;
        int expected;
    } cases[] = {
        {"URL", 35},  {"url", 35},   {"key", 17},          {"abstract", 0},
        {"Year", 37}, {"month", 22}, {"howPublished", 12}, {"nosuch", -1},
        {"", -1},     {"ur", -1},    {" url", -1},         {"citationkey", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindField(c.name), c.expected) << c.name;
    }
}

TEST(Catalogue, NamesAreLowerCaseAsciiAndFoundAgain) {
    for (int type = 0; type < kEntryTypeCount; ++type) {
        const std::string_view name = EntryTypeName(type);
        EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](char c) {
            return c >= 'a' && c <= 'z';
        })) << name;
        EXPECT_EQ(FindEntryType(name), type) << name; // no duplicate names
    }
    for (int field = 0; field < kFieldCount; ++field) {
        const std::string_view name = FieldName(field);
        EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](char c) {
            return c >= 'a' && c <= 'z';
        })) << name;
        EXPECT_EQ(FindField(name), field) << name;
    }
}

TEST(Catalogue, DescriptionsKeepTheirExactText) {
    // Trailing blanks, inner quotation marks and typos are part of the texts.
    EXPECT_EQ(EntryTypeDescription(1), "A book with an explicit publisher. ");
    EXPECT_EQ(EntryTypeDescription(7), "An article in a conference proceedings.  ");
    EXPECT_EQ(EntryTypeDescription(11), "A patent.");
    EXPECT_EQ(FieldDescription(3), "An annotation. It is not used by he standard bibliography "
                                   "styles, but may be used by others that produce an annotated "
                                   "bibliography.");
    EXPECT_EQ(FieldDescription(10),
              "The edition of a book - for example \"Second\". Notice that it is in capitals.");
    EXPECT_EQ(FieldDescription(34),
              "The type of technical report - for example, \"Research Note\".");
    EXPECT_EQ(FieldDescription(31).substr(0, 9), "Then name");
}

TEST(Catalogue, RequirementListsKeepTheirOrder) {
    const struct {
        int type;
        std::vector<int> required;
        std::vector<int> optional;
    } cases[] = {
        // article: author, journal, title, year | volume, number, pages, month, note, key
        {0, {4, 16, 33, 37}, {36, 25, 27, 22, 24, 17}},
        // inbook: author, editor, title, chapter, pages, publisher, year
        {5, {4, 11, 33, 6, 27, 29, 37}, {36, 31, 1, 10, 22, 24, 17}},
        // inproceedings: editor, pages, organization, publisher, address, month, note, key
        {7, {4, 33, 5, 37}, {11, 27, 26, 29, 1, 22, 24, 17}},
        // manual: author, organization, address, edition, month, year, note (no key)
        {8, {33}, {4, 26, 1, 10, 22, 37, 24}},
        {10, {}, {4, 33, 12, 22, 37, 24, 17}},
        {11, {}, {}},
        {14, {4, 33, 13, 37}, {34, 25, 1, 22, 24, 17}},
        {15, {4, 33, 24}, {22, 37, 17}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToVector(RequiredFields(c.type)), c.required) << EntryTypeName(c.type);
        EXPECT_EQ(ToVector(OptionalFields(c.type)), c.optional) << EntryTypeName(c.type);
    }
}

TEST(Catalogue, EveryTypeListsValidFieldsAtMostOnce) {
    for (int type = 0; type < kEntryTypeCount; ++type) {
        std::set<int> seen;
        for (auto list : {RequiredFields(type), OptionalFields(type)}) {
            for (int field : list) {
                EXPECT_GE(field, 0);
                EXPECT_LT(field, kFieldCount);
                EXPECT_TRUE(seen.insert(field).second)
                    << FieldName(field) << " listed twice for " << EntryTypeName(type);
            }
        }
    }
}

TEST(Catalogue, InproceedingsListsPublisherOnceAsOptional) {
    EXPECT_FALSE(IsListedField(7, kFieldPublisher, false));
    EXPECT_TRUE(IsListedField(7, kFieldPublisher, true));
}

TEST(Catalogue, IgnoredFieldsOfArticleInFieldOrder) {
    const std::vector<std::string> expected = {
        "abstract",    "address",   "affiliation",  "annote",   "booktitle", "chapter",
        "contents",    "copyright", "crossref",     "edition",  "editor",    "howpublished",
        "institution", "isbn",      "issn",         "keywords", "language",  "lccn",
        "location",    "mrnumber",  "organization", "price",    "publisher", "school",
        "series",      "size",      "type",         "url"};
    EXPECT_EQ(IgnoredFieldNames(0), expected);
}

TEST(Catalogue, IgnoredFieldsOfPatentAndManual) {
    EXPECT_EQ(IgnoredFieldNames(11).size(), static_cast<std::size_t>(kFieldCount));
    const auto manual = IgnoredFieldNames(8);
    EXPECT_NE(std::find(manual.begin(), manual.end(), "key"), manual.end());
}

TEST(Catalogue, IsFieldUsed) {
    const struct {
        int type;
        int field;
        bool expected;
    } cases[] = {
        {0, kFieldAuthor, true},                               // required
        {0, kFieldKey, true},                                  // optional
        {0, kFieldUrl, false},                                 // listed for no type
        {8, kFieldKey, false},                                 // manual has no key
        {8, kFieldNote, true},      {10, kFieldAuthor, true},  // misc: optional only
        {10, kFieldJournal, false}, {16, kFieldAuthor, false}, // type out of range
        {-1, kFieldAuthor, false},  {1000, kFieldAuthor, false}, {0, -1, false},
        {0, kFieldCount, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsFieldUsed(c.type, c.field), c.expected) << c.type << "/" << c.field;
    }
    for (int field = 0; field < kFieldCount; ++field) {
        EXPECT_FALSE(IsFieldUsed(11, field)) << "patent uses " << FieldName(field);
    }
    EXPECT_TRUE(RequiredFields(10).empty()); // misc has no required field
}

TEST(Catalogue, TableReadsRejectInvalidIndices) {
    EXPECT_THROW((void)EntryTypeName(kEntryTypeCount), std::out_of_range);
    EXPECT_THROW((void)EntryTypeName(-1), std::out_of_range);
    EXPECT_THROW((void)FieldName(kFieldCount), std::out_of_range);
    EXPECT_THROW((void)FieldDescription(-1), std::out_of_range);
    EXPECT_THROW((void)RequiredFields(16), std::out_of_range);
}

} // namespace
