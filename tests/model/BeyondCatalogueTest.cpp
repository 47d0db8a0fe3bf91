// What a .bib file holds beyond the catalogue: fields and entry types outside
// it, @preamble and @comment. Items keep them, copies carry them, the text
// form writes them, the map keeps blocks with their file.
#include "model/BibTexMap.h"
#include "model/BibTexReader.h"
#include "model/BibTexReaderTestUtil.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kArticle = 0;
constexpr int kMisc = 10;

std::vector<std::string> OtherFields(const CBibTexEntry& item) {
    std::vector<std::string> out;
    item.ForEachOtherField([&](std::string_view name, std::string_view value) {
        out.push_back(std::string(name) + "=" + std::string(value));
    });
    return out;
}

using Strings = std::vector<std::string>;

TEST(BeyondCatalogue, OtherFieldsKeepTheirOrderAndTheLastValueWins) {
    CBibTexEntry item("refs", "k", kArticle);
    item.SetOtherField("doi", "{10.1/x}");
    item.SetOtherField("date-added", "{2020-01-01}");
    item.SetOtherField("File", "{:a.pdf:PDF}");
    EXPECT_EQ(OtherFields(item),
              (Strings{"doi={10.1/x}", "date-added={2020-01-01}", "File={:a.pdf:PDF}"}));
    // Compared ignoring case; the later one takes the place of the first.
    item.SetOtherField("DOI", "{10.2/y}");
    EXPECT_EQ(OtherFields(item),
              (Strings{"DOI={10.2/y}", "date-added={2020-01-01}", "File={:a.pdf:PDF}"}));
    EXPECT_EQ(item.FindOtherField("file"), 2);
    EXPECT_EQ(item.GetNamedValue("doi"), "{10.2/y}");
    // An empty value removes the field, as for catalogue fields.
    item.SetOtherField("date-added", "");
    EXPECT_TRUE(item.RemoveOtherField("FILE"));
    EXPECT_FALSE(item.RemoveOtherField("file"));
    EXPECT_EQ(OtherFields(item), (Strings{"DOI={10.2/y}"}));
    // Catalogue values are untouched by all this, and the other way round.
    item.SetField(kFieldTitle, "{T}", true);
    item.SetField(kFieldTitle, "", true);
    EXPECT_EQ(OtherFields(item), (Strings{"DOI={10.2/y}"}));
}

TEST(BeyondCatalogue, NamedFieldsGoToTheCatalogueSlotWhenTheCatalogueKnowsTheName) {
    CBibTexStringTable strings;
    CActiveStringTableScope scope(&strings);
    CBibTexEntry item("refs", "k", kArticle);
    item.SetNamedField("URL", "http://x", false);
    item.SetNamedField("eprint", "2101.00001", false);
    item.SetNamedField("pmid", "12345", false);
    EXPECT_EQ(item.GetValue(kFieldUrl), "{http://x}");
    EXPECT_EQ(OtherFields(item), (Strings{"eprint={2101.00001}", "pmid=12345"}));
    EXPECT_EQ(item.GetNamedValue("url"), "{http://x}");
    EXPECT_EQ(item.GetNamedValue("missing"), "");
}

TEST(BeyondCatalogue, TextFormWritesOtherFieldsAfterTheCatalogueFields) {
    CBibTexEntry item("refs", "smith2000", kArticle);
    item.SetOtherField("doi", "{10.1/x}");
    item.SetField(kFieldYear, "2000", true);
    item.SetOtherField("Pmid", "42");
    item.SetField(kFieldAuthor, "{Smith, J.}", true);
    EXPECT_EQ(item.FormatText(), "@article{smith2000,\n"
                                 "  author = {Smith, J.},\n"
                                 "  year = 2000,\n"
                                 "  doi = {10.1/x},\n"
                                 "  Pmid = 42\n"
                                 "}\n\n");
}

TEST(BeyondCatalogue, EntryTypesOutsideTheCatalogueAreKeptInLowerCase) {
    const struct {
        const char* name;
        bool accepted;
        int type;
        const char* written;
    } cases[] = {
        {"Online", true, CBibTexEntry::kOtherType, "online"},
        {"web_page", true, CBibTexEntry::kOtherType, "web_page"},
        {"ARTICLE", true, kArticle, "article"},
        {"string", false, kMisc, "misc"},
        {"Preamble", false, kMisc, "misc"},
        {"comment", false, kMisc, "misc"},
        {"two words", false, kMisc, "misc"},
        {"1st", false, kMisc, "misc"},
        {"", false, kMisc, "misc"},
    };
    for (const auto& c : cases) {
        CBibTexEntry item("refs", "k", kMisc);
        EXPECT_EQ(item.SetTypeName(c.name), c.accepted) << c.name;
        EXPECT_EQ(item.GetType(), c.type) << c.name;
        EXPECT_EQ(item.GetTypeName(), c.written) << c.name;
        EXPECT_EQ(item.FormatText(), std::string("@") + c.written + "{k\n}\n\n") << c.name;
    }
    // A catalogue type set later drops the other name.
    CBibTexEntry item("refs", "k", kMisc);
    item.SetTypeName("dataset");
    EXPECT_TRUE(item.HasOtherType());
    item.SetType(kArticle);
    EXPECT_FALSE(item.HasOtherType());
    EXPECT_EQ(item.GetTypeName(), "article");
}

TEST(BeyondCatalogue, NamesBibTexCanRead) {
    const struct {
        const char* name;
        bool valid;
    } cases[] = {
        {"doi", true},     {"date-added", true}, {"bdsk-url-1", true},
        {"field_x", true}, {"a.b:c", true},      {"\xC3\xA9t\xC3\xA9", true},
        {"", false},       {"9lives", false},    {"two words", false},
        {"a=b", false},    {"a,b", false},       {"a{b", false},
        {"a}b", false},    {"a\"b", false},      {"a#b", false},
        {"a%b", false},    {"a@b", false},       {"a'b", false},
        {"a(b", false},    {"a)b", false},       {"tab\there", false},
        {"nl\nx", false},  {"del\x7F", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsBibTexName(c.name), c.valid) << c.name;
    }
}

TEST(BeyondCatalogue, CopiesAndStringRulesCoverOtherFields) {
    CBibTexEntry item("refs", "k", kMisc);
    item.SetTypeName("software");
    item.SetOtherField("journaltitle", "jacm");
    item.SetOtherField("shortjournal", "jacm");
    item.SetOtherField("version", "{2.1}");
    item.SetField(kFieldNote, "jacm", true);

    const CBibTexEntry copy(item);
    EXPECT_EQ(copy, item);
    EXPECT_EQ(copy.GetTypeName(), "software");
    EXPECT_EQ(OtherFields(copy), OtherFields(item));

    // A string referenced only from an other field is in use, and renaming
    // or resolving it reaches that field.
    CBibTexEntry onlyOther("refs", "o", kArticle);
    onlyOther.SetOtherField("journaltitle", "jacm");
    EXPECT_TRUE(onlyOther.HasValue("jacm"));
    item.ReplaceValue("jacm", "acmj");
    EXPECT_EQ(OtherFields(item),
              (Strings{"journaltitle=acmj", "shortjournal=acmj", "version={2.1}"}));
    EXPECT_EQ(item.GetValue(kFieldNote), "acmj");
    item.ReplaceValue("acmj", ""); // resolving to nothing unsets them
    EXPECT_EQ(OtherFields(item), (Strings{"version={2.1}"}));
    EXPECT_EQ(item.GetValue(kFieldNote), "");
}

TEST(BeyondCatalogue, BlocksStayWithTheirFile) {
    CBibTexMap map;
    map.AddBlock("refs", {CBibTexBlock::Kind::Preamble, "@preamble{\"\\newcommand{\\x}{}\"}"});
    map.AddBlock("refs", {CBibTexBlock::Kind::Comment, "@comment{jabref-meta: x;}"});
    EXPECT_TRUE(map.HasFile("refs")); // a file of blocks alone exists
    ASSERT_TRUE(map.Add(std::make_unique<CBibTexEntry>("other", "k", kArticle)));
    EXPECT_EQ(map.GetBlockCount(), 2);

    ASSERT_TRUE(map.RenameFile("refs", "renamed"));
    EXPECT_EQ(map.GetBlocks("refs"), nullptr);
    ASSERT_NE(map.GetBlocks("renamed"), nullptr);
    EXPECT_EQ(map.GetBlocks("renamed")->size(), 2u);
    EXPECT_TRUE(map.IsConsistent());

    // Moving or copying items never moves blocks.
    CBibTexEntry* item = map.FindKey("k");
    ASSERT_TRUE(map.MoveItem(item, "renamed"));
    CBibTexMap copies;
    std::vector<CBibTexEntry*> added;
    copies.CopyAllFrom(map, added);
    EXPECT_FALSE(copies.HasBlocks());

    ASSERT_TRUE(map.RemoveFile("renamed"));
    EXPECT_FALSE(map.HasBlocks());
    EXPECT_TRUE(map.IsConsistent());
}

TEST(BeyondCatalogue, MergingAFileTwiceKeepsEachBlockOnce) {
    CBibTexMap project;
    for (int round = 0; round < 2; ++round) {
        CBibTexReader reader("refs.bib");
        reader.ReadFileContent("@preamble{\"\\def\\a{A}\"}\n"
                               "@comment{groups}\n"
                               "@online{k, url = {http://x}, urldate = {2020}}\n");
        project.MoveAllFrom(reader.GetItems(), [](CBibTexEntry&) {});
    }
    ASSERT_NE(project.GetBlocks("refs"), nullptr);
    EXPECT_EQ(project.GetBlocks("refs")->size(), 2u);
    EXPECT_EQ(readertest::DescribeItems(project),
              (Strings{"online/k: url={http://x}; urldate={2020}",
                       "online/ka: url={http://x}; urldate={2020}"}));
    EXPECT_TRUE(project.IsConsistent());
}

TEST(BeyondCatalogue, TheReaderKeepsWhatBibTexReads) {
    CBibTexReader reader("mendeley.bib");
    reader.ReadFileContent("@PREAMBLE{ \"\\newcommand{\\noopsort}[1]{}\" }\n"
                           "@Comment{jabref-meta: databaseType:bibtex;}\n"
                           "@web_page{page1,\n"
                           "  title = {A page},\n"
                           "  Mendeley-Tags = {x},\n"
                           "  DOI = {10.1/a},\n"
                           "  doi = {10.1/b}\n"
                           "}\n"
                           "@article{a1, author = {A}, bad name = {dropped}, year = 2000}\n");
    EXPECT_TRUE(reader.GetErrors().empty());
    EXPECT_EQ(readertest::DescribeItems(reader.GetItems()),
              (Strings{"web_page/page1: title={A page}; Mendeley-Tags={x}; doi={10.1/b}",
                       "article/a1: author={A}; year=2000"}));
    const std::vector<CBibTexBlock>* blocks = reader.GetItems().GetBlocks("mendeley");
    ASSERT_NE(blocks, nullptr);
    ASSERT_EQ(blocks->size(), 2u);
    EXPECT_EQ((*blocks)[0].kind, CBibTexBlock::Kind::Preamble);
    EXPECT_EQ((*blocks)[0].text, "@PREAMBLE{ \"\\newcommand{\\noopsort}[1]{}\" }");
    EXPECT_EQ((*blocks)[1].kind, CBibTexBlock::Kind::Comment);
    // What BibTeX cannot read either is still dropped, and counted.
    EXPECT_EQ(reader.GetStats().unknownFields, 1);
    EXPECT_EQ(reader.GetStats().unknownTypes, 0);
}

} // namespace
