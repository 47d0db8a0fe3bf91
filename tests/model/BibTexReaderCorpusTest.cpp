// Every real .bib file of the shared corpus is read without a crash, and what
// was read is a fixed point: its items and strings written as .bib text read
// back to the same keys, types, values and strings.
#include "model/BibTexReader.h"
#include "model/BibTexReaderTestUtil.h"
#include "model/Catalogue.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> files;
    const std::filesystem::path root(QVN_CORPUS_DIR);
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        return files;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".bib") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The text form of a string puts a value in braces unless it stands in one
// pair of delimiters, is a concatenation, or names another string or a month.
std::string WrittenValue(const CBibTexStringTable& strings, const std::string& abbreviation,
                         const std::string& value) {
    const bool name = value != abbreviation && !value.empty() &&
                      value.find_first_of(" \"#%'(),={}") == std::string::npos &&
                      (strings.HasString(value) || CTexObject::IsMonthName(value));
    return CTexObject::IsOneGroup(value) || CTexObject::IsConcatenation(value) || name
               ? value
               : "{" + value + "}";
}

TEST(BibTexReaderCorpus, EveryFileReadsAndRoundTrips) {
    const std::vector<std::string> files = CorpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no .bib files found under " << QVN_CORPUS_DIR;
    }
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        CBibTexReader first(path);
        ASSERT_EQ(first.ReadFile(), 1);
        ASSERT_TRUE(first.GetItems().IsConsistent());

        std::string text = first.GetStrings().FormatStrings();
        first.GetItems().ForEachItem([&](const CBibTexEntry& item) { item.AppendText(text); });

        for (const bool asFile : {true, false}) {
            SCOPED_TRACE(asFile ? "read as file" : "read in memory");
            CBibTexReader second;
            if (asFile) {
                second.ReadFileContent(text);
            } else {
                second.ReadText(text);
            }
            EXPECT_TRUE(second.GetErrors().empty());
            EXPECT_EQ(readertest::DescribeItems(second.GetItems()),
                      readertest::DescribeItems(first.GetItems()));
            std::vector<std::string> expectedStrings;
            for (const auto& [abbreviation, value] : first.GetStrings()) {
                expectedStrings.push_back(abbreviation + "=" +
                                          WrittenValue(first.GetStrings(), abbreviation, value));
            }
            EXPECT_EQ(readertest::DescribeStrings(second.GetStrings()), expectedStrings);
        }
    }
}

// A file read from disk a few bytes at a time gives what its whole bytes
// give: items field for field, strings, blocks, errors with their lines.
TEST(BibTexReaderCorpus, EveryFileReadsInPiecesAsWhole) {
    for (const std::string& path : CorpusFiles()) {
        const readertest::Reading whole = readertest::ReadBibFile(path, 0);
        ASSERT_EQ(whole.result, 1) << path;
        // A few bytes at a time only where that stays quick.
        const std::size_t bytes = std::filesystem::file_size(path);
        for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{64},
                                        std::size_t{4096}, CBibTexReader::kPieceSize}) {
            if (bytes / piece < 300000) {
                SCOPED_TRACE(path + " in pieces of " + std::to_string(piece));
                readertest::ExpectSameReading(readertest::ReadBibFile(path, piece), whole);
            }
        }
    }
}

// What real files bring, file by file: each test reads one file of the
// corpus and checks what the issue of that kind of text was.
class ReaderCorpusFile : public ::testing::Test {
protected:
    void Read(const std::string& name) {
        path = std::string(QVN_CORPUS_DIR) + "/" + name;
        if (!std::filesystem::exists(path)) {
            GTEST_SKIP() << "not in the corpus: " << path;
        }
        reader = std::make_unique<CBibTexReader>(path);
        ASSERT_EQ(reader->ReadFile(), 1);
        ASSERT_TRUE(reader->GetItems().IsConsistent());
    }
    std::string Value(const std::string& key, int field) const {
        const CBibTexEntry* item = reader->GetItems().FindKey(key);
        return item == nullptr ? "<no item " + key + ">" : std::string(item->GetValue(field));
    }
    std::string String(const std::string& abbreviation) const {
        const std::string* value = reader->GetStrings().FindString(abbreviation);
        return value == nullptr ? "<no string " + abbreviation + ">" : *value;
    }
    std::string path;
    std::unique_ptr<CBibTexReader> reader;
};

// An item never closed (KahnBeat66, an author value without its brace) is
// an error with its line, and the 4 000 items behind it are read; a key that
// runs into the first field (no comma behind KiliEtal13) is an error too, and
// the item keeps its key and its fields.
TEST_F(ReaderCorpusFile, UnclosedItemAndKeyWithoutComma) {
    Read("large/contextlab--cdl.bib");
    const CBibTexReader& r = *reader;
    EXPECT_EQ(r.GetErrors(),
              (std::vector<std::string>{
                  "Import Error in line 3720: ',' expected (File: " + path + ", Field: Volume).",
                  "Import Error in line 10222: ',' expected (File: " + path + ", Key: KiliEtal13).",
                  "Import Error in line 10354: ',' expected (File: " + path + ", Key: GoddBadd75).",
                  "Import Error in line 18991: '}' expected (File: " + path + ")."}));
    // 5 784 entries of catalogue types (grep of the "@type{" lines) less the
    // one never closed.
    EXPECT_EQ(r.GetItems().GetTotalCount(), 5783);
    EXPECT_EQ(r.GetItems().FindKey("KahnBeat66"), nullptr);
    EXPECT_EQ(Value("KahnEtal67", kFieldAuthor), "{Kahneman, D. and Beatty, J. and Pollack, I.}");
    EXPECT_EQ(Value("KiliEtal13", kFieldAuthor),
              "{K{\\i}l{\\i}\\c{c}, A. and Criss, A. H. and Howard, M. W.}");
    EXPECT_EQ(Value("LongKaha19", FindField("volume")), "{29}");
    EXPECT_EQ(Value("LongKaha19", kFieldPages), "{252--259}");
    EXPECT_EQ(r.GetStrings().GetCount(), 53);
}

// The lines of a value are joined with one blank; no stored value of any
// corpus file holds a tab or a line break.
TEST_F(ReaderCorpusFile, LinesOfAValueAreJoinedWithOneBlank) {
    Read("akhirsch--lz.bib");
    EXPECT_EQ(Value("10.1007/978-3-662-44584-6_29", kFieldAuthor),
              "\"Bocchi, Laura and Yang, Weizhen and Yoshida, Nobuko\"");
    EXPECT_EQ(Value("10.1007/978-3-662-44584-6_29", kFieldEditor),
              "\"Baldan, Paolo and Gorla, Daniele\"");
    for (const std::string& file : CorpusFiles()) {
        CBibTexReader each(file);
        each.ReadFile();
        each.GetItems().ForEachItem([&](const CBibTexEntry& item) {
            const auto check = [&](std::string_view value) {
                EXPECT_EQ(value.find_first_of("\t\r\n"), std::string::npos)
                    << file << ": " << item.GetKey() << ": " << value;
            };
            item.ForEachValue([&](int, std::string_view value) { check(value); });
            item.ForEachOtherField([&](std::string_view, std::string_view value) { check(value); });
        });
        for (const auto& [abbreviation, value] : each.GetStrings()) {
            EXPECT_EQ(value.find_first_of("\t\r\n"), std::string::npos) << file << ": " << value;
        }
    }
}

// Values of several parts joined with '#', in any mix, and with commas in
// their quotes, are kept whole.
TEST_F(ReaderCorpusFile, ValuesAreKeptWholeAsBibTeXReadsThem) {
    Read("bbt--paren-entries-873.bib");
    EXPECT_EQ(Value("VelosoPollackCox:98", kFieldAuthor),
              "{Manuela M. Veloso and } # MPOLLACK # { and Michael T. Cox}");
    EXPECT_EQ(Value("VelosoPollackCox:98", kFieldTitle),
              "{Rationale-based monitoring for planning in dynamic environments}");
    EXPECT_EQ(Value("VelosoPollackCox:98", kFieldPages), "{171--179}");

    Read("cryptobib--abbrev0.bib");
    EXPECT_EQ(String("acisp96month"), "jun # \"~24--26,\"");
    EXPECT_EQ(String("acisp96pub"), "springer_berlin_heidelberg");
}

// Entries in parentheses are read as BibTeX reads them, and a @Comment line
// without delimiters ends with its line: every entry of a catalogue type is
// read (988 by grep: 594 of them in parentheses).
TEST_F(ReaderCorpusFile, ParenthesesAndCommentLines) {
    Read("bbt--paren-entries-873.bib");
    EXPECT_EQ(reader->GetItems().GetTotalCount(), 988);
    // Eight lines of free text between entries (names, "# Old cite key",
    // rules of hyphens), each reported once.
    EXPECT_EQ(reader->GetErrorCount(), 8);
    for (const std::string& error : reader->GetErrors()) {
        EXPECT_NE(error.find("'@' expected"), std::string::npos) << error;
    }
    EXPECT_EQ(Value("Schubert:76", kFieldAuthor), "{Lenhart K. Schubert}"); // behind a @Comment
    // The 30 @comment texts are kept with the file, each whole.
    const std::vector<CBibTexBlock>* blocks =
        reader->GetItems().GetBlocks(CBibTexReader::FileNameFromPath(path));
    ASSERT_NE(blocks, nullptr);
    EXPECT_EQ(blocks->size(), 30u);
    for (const CBibTexBlock& block : *blocks) {
        EXPECT_EQ(block.kind, CBibTexBlock::Kind::Comment);
        EXPECT_EQ(block.text.find('\n'), std::string::npos) << block.text;
    }
    EXPECT_TRUE(reader->GetStats().leftOutTypes.empty());
}

// A string whose value names another string is written bare, so BibTeX
// expands it: 809 of the strings of this table are such names.
TEST_F(ReaderCorpusFile, StringsNamingStringsAreWrittenBare) {
    Read("cryptobib--abbrev0.bib");
    const std::string text = reader->GetStrings().FormatStrings();
    EXPECT_NE(text.find("@string{acisp96pub = springer_berlin_heidelberg}\n"), std::string::npos);
    EXPECT_NE(text.find("@string{springer_berlin_heidelberg = \"Springer Berlin Heidelberg, "
                        "Germany\"}\n"),
              std::string::npos);
    int bare = 0;
    for (const auto& [abbreviation, value] : reader->GetStrings()) {
        if (text.find("@string{" + abbreviation + " = " + value + "}\n") != std::string::npos &&
            value.find_first_of("\"{# ") == std::string::npos && !CTexObject::IsNumber(value)) {
            ++bare;
        }
    }
    EXPECT_EQ(bare, 809);
}

} // namespace
