#include "model/BibTexReader.h"

#include "TestSupport.h"
#include "model/BibTexReaderTestUtil.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using readertest::DescribeItems;
using readertest::DescribeStrings;
using Lines = std::vector<std::string>;

namespace {

// Input → items, strings and error messages.
struct ReadCase {
    const char* name;
    std::string input;
    Lines items;
    Lines strings;
    Lines errors;
};

void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << c.name;
}

void ExpectResult(const CBibTexReader& reader, const ReadCase& c) {
    EXPECT_EQ(DescribeItems(reader.GetItems()), c.items);
    EXPECT_EQ(DescribeStrings(reader.GetStrings()), c.strings);
    EXPECT_EQ(reader.GetErrors(), c.errors);
    EXPECT_EQ(reader.GetItems().GetFileCount(), c.items.empty() ? 0 : 1);
    EXPECT_TRUE(reader.GetItems().IsConsistent());
}

// ---------------------------------------------------------------------------
// In-memory text: one text for the collector, line number 0.

const ReadCase kTextCases[] = {
    {"HeadCaseAndFieldCase",
     "@Article{Smith99,\n  Title = {On Things},\n  year = 2000\n}",
     {"article/Smith99: title={On Things}; year=2000"},
     {},
     {}},
    {"LeadingBlankLinesAreTrimmed", "\n\n   @misc{a, note = {x}}\n", {"misc/a: note={x}"}, {}, {}},
    {"BlanksAroundTypeKeyAndName",
     "@ ARTICLE { K ,  TITLE  =  {X} }",
     {"article/K: title={X}"},
     {},
     {}},
    {"NestedBracesAndEscapedBraces",
     "@misc{k, note = {A {\\\"o} B}, title = {a\\}b\\{c}}",
     {"misc/k: note={A {\\\"o} B}; title={a\\}b\\{c}"},
     {},
     {}},
    {"LineBreaksAndTabsBecomeOneBlank",
     "@misc{k, note = {line one\n\tline two}, title = \"x\r\ny\", "
     "author = {A \n B\tand\t\tC}}",
     {"misc/k: author={A B and C}; note={line one line two}; title=\"x y\""},
     {},
     {}},
    // A bare value ends at its comma; the text behind it is no field name.
    {"BareValueEndsAtFirstComma",
     "@article{k, pages = 1,2, title = {T}, year = 1999}",
     {"article/k: pages=1; title={T}; year=1999"},
     {},
     {"Import Error in line 0: '=' expected (File: )."}},
    {"ConcatenationIsKeptWhole",
     "@misc{k, title = \"A\" # \"B\", note = {Manuela M. Veloso and } # MPOLLACK # { and M. Cox}, "
     "month = jan # \", 2001\", year = 2001}",
     {"misc/k: month=jan # \", 2001\"; note={Manuela M. Veloso and } # MPOLLACK # { and M. Cox}; "
      "title=\"A\" # \"B\"; year=2001"},
     {},
     {}},
    {"FieldWithoutCommaBeforeTheNext",
     "@misc{k, volume = {29} pages = {252--259}, note = {A} and B = C, year = 2019}",
     {"misc/k: note={A} and B = C; pages={252--259}; volume={29}; year=2019"},
     {},
     {"Import Error in line 0: ',' expected (File: , Field: volume)."}},
    {"TextBehindAClosingDelimiterIsKept",
     "@misc{k, note = {A} and {B}, title = \"T\" 2, year = 2001}",
     {"misc/k: note={A} and {B}; title=\"T\" 2; year=2001"},
     {},
     {}},
    {"ConcatenationStartingBareIsKeptWhole",
     "@misc{k, month = jan # \" 1\", year = 2000}",
     {"misc/k: month=jan # \" 1\"; year=2000"},
     {},
     {}},
    // Written items without fields have no comma behind the key.
    {"HeadWithoutCommaKeepsItsKey", "@misc{onlykey}@misc{ }", {"misc/onlykey:", "misc/:"}, {}, {}},
    {"CommaInsideBracesDoesNotEndBareValue",
     "@misc{k, author = FREED # { and Bonasso, R.}, title = {T}}",
     {"misc/k: author=FREED # { and Bonasso, R.}; title={T}"},
     {},
     {}},
    {"QuoteInsideBracesDoesNotEndQuotedValue",
     "@misc{k, author = \"Emin G{\\\"u}n Sirer\", year = 1}",
     {"misc/k: author=\"Emin G{\\\"u}n Sirer\"; year=1"},
     {},
     {}},
    {"KeyEndsAtCommaBlankOrClosingDelimiter",
     "@misc{a:b-c_d/e.f, note = {x}}@misc(p(1), note = {y})@misc(q)\n@misc{r}",
     {"misc/a:b-c_d/e.f: note={x}", "misc/p(1): note={y}", "misc/q:", "misc/r:"},
     {},
     {}},
    {"KeyRunningIntoAFieldIsReportedAndTheFieldsKept",
     "@article{KiliEtal13\n\tAuthor = {K{\\i}l{\\i}\\c{c}, A.}, year = 2013}",
     {"article/KiliEtal13: author={K{\\i}l{\\i}\\c{c}, A.}; year=2013"},
     {},
     {"Import Error in line 0: ',' expected (File: , Key: KiliEtal13)."}},
    {"ParenthesesDelimitItemsStringsAndPreambles",
     "@String(mar = \"march\")\n@preamble( \"x\" # mar )\n@article(tes,\n  title = {A (b) c},\n"
     "  note = \"x) y\",\n  month = mar\n)\n@misc{b, title = {T}}",
     {"article/tes: month=mar; note=\"x) y\"; title={A (b) c}", "misc/b: title={T}"},
     {"mar=\"march\""},
     {}},
    {"CommentEndsWhereBibTeXEndsIt",
     "@Comment Len Schubert\n@article(a, title = {A})\n@COMMENT{x, {y}}\n@misc{b, note = {n}}\n"
     "@comment(z) @misc{c, note = {m}}",
     {"article/a: title={A}", "misc/b: note={n}", "misc/c: note={m}"},
     {},
     {}},
    {"LaterFieldOfSameNameWins", "@misc{a, note = {1}, NOTE = {2}}", {"misc/a: note={2}"}, {}, {}},
    {"OtherFieldKeptAfterTheCatalogueFields",
     "@misc{a, foo = {bar}, note = {n}, trailing = }",
     {"misc/a: note={n}; foo={bar}"},
     {},
     {}},
    {"EmptyBareValueLeavesFieldUnset",
     "@misc{a, note = , year = 2000,}",
     {"misc/a: year=2000"},
     {},
     {}},
    {"DuplicateKeysGetALetter",
     "@misc{k, note = {1}}\n@book{k, title = {2}}\n@misc{k, note = {3}}",
     {"misc/k: note={1}", "book/ka: title={2}", "misc/kb: note={3}"},
     {},
     {}},
    {"KeysAreCaseSensitive",
     "@misc{Smith, note = {1}}@misc{smith, note = {2}}",
     {"misc/Smith: note={1}", "misc/smith: note={2}"},
     {},
     {}},
    {"StringsKeepTheirValueText",
     "@string{IEEE = {Institute}}\n@STRING { ab = \"Q\" }\n@String{x = jan # \" 1\"}",
     {},
     {"IEEE={Institute}", "ab=\"Q\"", "x=jan # \" 1\""},
     {}},
    {"DuplicateStringKeepsFirstAndLogsWholeText",
     "@string{IEEE = {First}}\n@STRING{IEEE = \"Second\"}\n@misc{a, note = IEEE}",
     {"misc/a: note=IEEE"},
     {"IEEE={First}"},
     {"Could not add string '@STRING{IEEE = \"Second\"}'. Key is already in use."}},
    {"OtherTypesKeptCommentAndPreambleAreNoItems",
     "@comment{hello, world}\n@preamble{\"\\newcommand\"}\n@online{x, title = {T}}\n"
     "@book{b, title = {T}}",
     {"online/x: title={T}", "book/b: title={T}"},
     {},
     {}},
    {"FreeTextIsReportedAndSkipped",
     "@misc{a, note = {x}}\njunk\n@misc{b, note = {y}}",
     {"misc/a: note={x}", "misc/b: note={y}"},
     {},
     {"Import Error in line 0: '@' expected (File: , Line: junk...)."}},
    {"ClosingBraceBeforeOpeningOne",
     "@misc{a, note = {x}} @misc} @misc{b, note = {y}}",
     {"misc/a: note={x}", "misc/b: note={y}"},
     {},
     {"Import Error in line 0: '{' expected (File: )."}},
    {"CommentBehindAnItem",
     "@misc{a, note = {x}} % comment\n@misc{b, note = {y}}",
     {"misc/a: note={x}", "misc/b: note={y}"},
     {},
     {}},
    {"PercentInsideValueIsText", "@misc{a, note = {50% off}}", {"misc/a: note={50% off}"}, {}, {}},
    {"UnfinishedItemIsReported",
     "@misc{a, note = {x}",
     {},
     {},
     {"Import Error in line 0: '}' expected (File: )."}},
    {"TextEndingInsideAHead",
     "@misc{a, note = {x}} @misc{b,",
     {"misc/a: note={x}"},
     {},
     {"Import Error in line 0: '}' expected (File: )."}},
    {"TextEndingBehindAName",
     "@misc{b, note",
     {},
     {},
     {"Import Error in line 0: '}' expected (File: )."}},
    {"TextEndingAtTheType", "@misc", {}, {}, {"Import Error in line 0: '{' expected (File: )."}},
    {"AtSignAlone", "@", {}, {}, {"Import Error in line 0: entry type expected (File: )."}},
    {"NulByteIsOrdinaryText",
     std::string("@misc{a, note = {x\0y}}", 22),
     {std::string("misc/a: note={x\0y}", 18)},
     {},
     {}},
};

class ReaderTextTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReaderTextTest, ReadsItemsStringsAndErrors) {
    const ReadCase& c = GetParam();
    CBibTexReader reader;
    ASSERT_EQ(reader.ReadText(c.input), 1);
    ExpectResult(reader, c);
    EXPECT_EQ(reader.GetLineNumber(), 0);
    reader.GetItems().ForEachItem(
        [](const CBibTexEntry& item) { EXPECT_EQ(item.GetFileName(), "Default"); });
}

INSTANTIATE_TEST_SUITE_P(BibTexReader, ReaderTextTest, ::testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// File content: split into lines, each trimmed and joined to the pending text.

const ReadCase kFileCases[] = {
    {"ExportHeaderOfCommentLines",
     "% This file was created by Quorvane\n%% second header line\n\n@misc{a,\n  note = {x}\n}\n",
     {"misc/a: note={x}"},
     {},
     {}},
    {"TwoLinesOfFreeTextGiveOneError",
     "free text one\nfree text two\n@misc{a, note = {x}}\n",
     {"misc/a: note={x}"},
     {},
     {"Import Error in line 1: '@' expected (File: refs.bib, Line: free text ...)."}},
    {"LinesOfAValueJoinedWithOneBlank",
     "@misc{a,\n  title = {A long and\n     title},\n  author = \"Bocchi, Laura\n  and Yang, "
     "W.\"\n}\n",
     {"misc/a: author=\"Bocchi, Laura and Yang, W.\"; title={A long and title}"},
     {},
     {}},
    {"ItemClosedOnTheLineWhereTheNextBegins",
     "@misc{a,\n  note = {x}} @book{b,\n  title = {T}\n}\n",
     {"misc/a: note={x}", "book/b: title={T}"},
     {},
     {}},
    {"CommentLinesInsideAnItem",
     "@misc{a,\n   % note = {hidden},\n  note = {shown}\n}\n",
     {"misc/a: note={shown}"},
     {},
     {}},
    {"EmailAddressWhileSkippingIsNoHead",
     "junk line\ncontact me at someone@example.org\n@book{b,\n  title = {T}\n}\n"
     "@misc{c, note = {n}}\n",
     {"book/b: title={T}", "misc/c: note={n}"},
     {},
     {"Import Error in line 1: '@' expected (File: refs.bib, Line: junk line...)."}},
    {"ItemBehindFreeTextOnTheSameLine",
     "junk\nmore @misc{a, note = {x}}\n",
     {"misc/a: note={x}"},
     {},
     {"Import Error in line 1: '@' expected (File: refs.bib, Line: junk...)."}},
    {"TextBehindClosingBrace",
     "@misc{a, note = {x}} trailing\n@misc{b, note = {y}}\n",
     {"misc/a: note={x}", "misc/b: note={y}"},
     {},
     {"Import Error in line 1: '@' expected (File: refs.bib, Line: trailing...)."}},
    {"ClosingBraceBeforeOpeningOne",
     "@misc}\n@misc{a, note = {x}}\n",
     {"misc/a: note={x}"},
     {},
     {"Import Error in line 1: '{' expected (File: refs.bib)."}},
    {"CommentBehindClosingBraceIsDropped",
     "@misc{a, note = {x}} % trailing comment\n@misc{b,\n note = {y}}\n% last\n",
     {"misc/a: note={x}", "misc/b: note={y}"},
     {},
     {}},
    {"BrokenHeadBehindClosingBraceReportedOnce",
     "@misc{a, note = {x}}@oops}\n@misc{b, note = {y}}\n@misc{c, note = {z}}\n",
     {"misc/a: note={x}", "misc/b: note={y}", "misc/c: note={z}"},
     {},
     {"Import Error in line 1: '{' expected (File: refs.bib)."}},
    {"BrokenHeadOnLastLineReportedOnce",
     "@misc{a, note = {x}}@oops}",
     {"misc/a: note={x}"},
     {},
     {"Import Error in line 1: '{' expected (File: refs.bib)."}},
    {"DuplicateStringLoggedWithJoinedText",
     "@string{IEEE = {A}}\n@string{IEEE =\n  {B}}\n",
     {},
     {"IEEE={A}"},
     {"Could not add string '@string{IEEE = {B}}'. Key is already in use."}},
    {"FieldWithoutCommaAtTheEndOfItsLine",
     "@article{LongKaha19,\n  Volume = {29}\n  Pages = {252--259},\n}\n",
     {"article/LongKaha19: pages={252--259}; volume={29}"},
     {},
     {"Import Error in line 2: ',' expected (File: refs.bib, Field: Volume)."}},
    // Values keep their braces paired, so that they can be written in braces.
    {"UnpairedBraceInParentheses",
     "@misc(k, note = x}, year = 1)\n@misc(j, } title = {T})\n",
     {"misc/k: note=x; year=1", "misc/j: title={T}"},
     {},
     {"Import Error in line 1: name expected (File: refs.bib).",
      "Import Error in line 2: name expected (File: refs.bib)."}},
    // Reading goes on at the next line that starts an entry.
    {"ItemNeverClosedIsReportedAndTheNextRead",
     "@misc{a, note = {x}}\n@misc{b, note = {y}\n  @misc{c, note = {z}}\n@book(d, title = {T}\n"
     "@misc{e,\n  author = {Kahneman, D. and Beatty, J.,\n  year = {1966},\n}\n\n@misc{f}\n",
     {"misc/a: note={x}", "misc/c: note={z}", "misc/f:"},
     {},
     {"Import Error in line 2: '}' expected (File: refs.bib).",
      "Import Error in line 4: ')' expected (File: refs.bib).",
      "Import Error in line 5: '}' expected (File: refs.bib)."}},
    {"ManyItemsOnOneLine",
     "@misc{a, note = {1}}@misc{b, note = {2}} @misc{c, note = {3}}\n",
     {"misc/a: note={1}", "misc/b: note={2}", "misc/c: note={3}"},
     {},
     {}},
    {"ByteOrderMarkSkipped", "\xEF\xBB\xBF@misc{a, note = {x}}\n", {"misc/a: note={x}"}, {}, {}},
    {"QuotedTextKeepsUtf8Characters",
     "Gr\xC3\xBC\xC3\x9F"
     "e aus M\xC3\xBCnchen\n",
     {},
     {},
     {"Import Error in line 1: '@' expected (File: refs.bib, Line: Gr\xC3\xBC\xC3\x9F"
      "e aus ...)."}},
    {"NulBytesAreText",
     std::string("\0junk\n@misc{a, note = {x\0y}}\n", 29),
     {std::string("misc/a: note={x\0y}", 18)},
     {},
     {"Import Error in line 1: '@' expected (File: refs.bib, Line: " + std::string("\0junk", 5) +
      "...)."}},
};

class ReaderFileContentTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReaderFileContentTest, ReadsItemsStringsAndErrors) {
    const ReadCase& c = GetParam();
    CBibTexReader reader("refs.bib");
    ASSERT_EQ(reader.ReadFileContent(c.input), 1);
    ExpectResult(reader, c);
    reader.GetItems().ForEachItem(
        [](const CBibTexEntry& item) { EXPECT_EQ(item.GetFileName(), "refs"); });
}

INSTANTIATE_TEST_SUITE_P(BibTexReader, ReaderFileContentTest, ::testing::ValuesIn(kFileCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The same lines give the same result and line numbers with every line end.
TEST(BibTexReaderLineEnds, LfCrLfAndLoneCrEndLines) {
    const Lines lines = {"% header",   "@misc{a,", "  note = {x}", "}",
                         "stray text", "@book{b,", "title = {T}}"};
    for (const std::string eol : {"\n", "\r\n", "\r"}) {
        for (const bool finalEnd : {true, false}) {
            std::string content;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                content += lines[i];
                if (i + 1 < lines.size() || finalEnd) {
                    content += eol;
                }
            }
            CBibTexReader reader("x.bib");
            reader.ReadFileContent(content);
            SCOPED_TRACE(testing::Message() << "line end " << int(eol.back()) << finalEnd);
            EXPECT_EQ(DescribeItems(reader.GetItems()),
                      (Lines{"misc/a: note={x}", "book/b: title={T}"}));
            EXPECT_EQ(
                reader.GetErrors(),
                Lines{"Import Error in line 5: '@' expected (File: x.bib, Line: stray text...)."});
            EXPECT_EQ(reader.GetLineNumber(), 7);
        }
    }
}

TEST(BibTexReaderLineEnds, EmptyLinesCountButDoNothing) {
    CBibTexReader reader("x.bib");
    reader.ReadFileContent("\n\r\n\r\n   \n\t\n");
    EXPECT_EQ(reader.GetLineNumber(), 5);
    EXPECT_TRUE(reader.GetErrors().empty());
    EXPECT_EQ(reader.GetState(), CBibTexReader::kExpectItem);
}

// ---------------------------------------------------------------------------
// Files on disk.

TEST(BibTexReaderFile, ReadsFileBytesAsTheyAre) {
    testsupport::TempDir folder;
    // UTF-8, a stray Latin-1 byte and a NUL byte are all kept as they are.
    const std::string value = "{Gr\xC3\xBC\xC3\x9F"
                              "e \xB5 " +
                              std::string(1, '\0') + "x}";
    const auto lines = [&](const std::string& eol) {
        return "@misc{a," + eol + "  note = " + value + eol + "}" + eol;
    };
    struct Row {
        const char* name;
        std::string bytes;
    };
    const Row rows[] = {
        {"crlf.bib", lines("\r\n")},
        {"bom.bib", "\xEF\xBB\xBF" + lines("\r\n")},
        {"lf.bib", lines("\n")},
        {"cr.bib", lines("\r")},
    };
    for (const Row& row : rows) {
        CBibTexReader reader(folder.Write(row.name, row.bytes));
        ASSERT_EQ(reader.ReadFile(), 1) << row.name;
        const std::string fileName =
            std::string(row.name).substr(0, std::string(row.name).size() - 4);
        EXPECT_EQ(DescribeItems(reader.GetItems()), Lines{"misc/a: note=" + value}) << row.name;
        EXPECT_NE(reader.GetItems().Lookup(fileName, "a"), nullptr) << row.name;
        EXPECT_TRUE(reader.GetErrors().empty()) << row.name;
        EXPECT_EQ(reader.GetLineNumber(), 3) << row.name;
    }
}

TEST(BibTexReaderFile, UnopenableSourceGivesMinusOneAndReadsNothing) {
    testsupport::TempDir folder;
    // The memory of this process cannot be read at its start: a read error.
    for (const std::string& path : {folder.Path() + "/missing.bib", folder.Path(), std::string(),
                                    std::string("a\0b", 3), std::string("/proc/self/mem")}) {
        CBibTexReader reader(path);
        EXPECT_EQ(reader.ReadFile(), -1) << path;
        EXPECT_FALSE(reader.GetOpenError().empty()) << path;
        EXPECT_EQ(reader.GetItems().GetFileCount(), 0);
        EXPECT_TRUE(reader.GetErrors().empty());
        EXPECT_EQ(reader.GetLineNumber(), 0);
        EXPECT_EQ(FormatImportSummary(path, reader),
                  Lines{"File '" + path + "': 0 file, 0 strings, 0 errors."});
    }
}

TEST(BibTexReaderFile, EmptyTextReadsTheSourceFile) {
    testsupport::TempDir folder;
    CBibTexReader reader(folder.Write("papers.bib", "x\n@misc{a, note = {x}}\n"));
    EXPECT_EQ(reader.ReadText(""), 1);
    EXPECT_EQ(DescribeItems(reader.GetItems()), Lines{"misc/a: note={x}"});
    EXPECT_EQ(reader.GetLineNumber(), 2);
    EXPECT_EQ(reader.GetErrorCount(), 1);
    EXPECT_EQ(CBibTexReader(folder.Path() + "/none.bib").ReadText(""), -1);
}

TEST(BibTexReaderFile, ErrorListStartsEmptyForEachRead) {
    CBibTexReader reader("x.bib");
    reader.ReadFileContent("junk\n");
    ASSERT_EQ(reader.GetErrorCount(), 1);
    reader.ReadFileContent("@misc{a, note = {x}}\n");
    EXPECT_EQ(reader.GetErrorCount(), 0);
    EXPECT_EQ(reader.GetLineNumber(), 1);
}

// A file is read in pieces that end before a line that begins an entry; a
// piece boundary anywhere gives what the whole file gives. Besides the
// inputs above: pieces ending inside an entry never closed, right after an
// '@', inside CR LF or a UTF-8 character, inside a @comment or free text.
TEST(BibTexReaderFile, PiecesOfAnySizeReadAsTheWhole) {
    std::vector<std::string> inputs = {
        "@misc{a, note = {one\ntwo\n@misc{b, note = {x}}\n",
        "@misc{a, note = {x\n@ not a head\n}}\n@misc{b}\n",
        "@comment{x\n@misc{b}\n@comment(x\n y)\n@Comment line\n@misc{c}\n",
        "@\n@misc{a}\n@ % c\n  @misc{b}\n@misc\n{c}\n@misc{d\n@misc{e}",
        "@misc{a,\r\n note = {x\r\n}\r\n\r\n@misc{b}\r\n junk\r\n@misc{c}\r\n",
        "@misc{a, note = {x}\r@misc{b}\r@string{s = \"y\"\r@misc{c}",
        "@misc{a, note = {Gr\xC3\xBC\xC3\x9F\xE2\x82\xAC}}\n \xC3\xBC\xE2\x82\xAC\xC3\xBC\xC3\xBC "
        "\xC3\xBC\xC3\xBC\xC3\xBC\xC3\xBC\n@misc{b}",
        "@misc{a, note = {x}}\n@misc{b, note = {y\n",
        "\xEF\xBB\xBF@misc{a}\n@misc{b}",
        "junk\nmore junk\n  @misc{a}\nx@misc{b}\n% end",
        "@string{a = {1}}\n@string{a =\n {2}}\n@misc{k, note = a # {x}}\n",
        "@misc{a, note = {x\xB5}}\n" + std::string(1, '\0') + "junk\n@misc{b, note = {\0}}\n",
        "@preamble{\"x\"}\n\t @misc (a, note = {)})\n@misc(b, note = x\n @book{c}",
    };
    for (const ReadCase& c : kFileCases) {
        inputs.push_back(c.input);
    }
    for (const ReadCase& c : kTextCases) {
        inputs.push_back(c.input);
    }
    testsupport::TempDir folder;
    for (const std::string& input : inputs) {
        const std::string path = folder.Write("refs.bib", input);
        const readertest::Reading whole = readertest::ReadBibFile(path, 0);
        for (std::size_t piece = 1; piece <= input.size() + 1; ++piece) {
            SCOPED_TRACE(testing::Message() << input << " in pieces of " << piece);
            readertest::ExpectSameReading(readertest::ReadBibFile(path, piece), whole);
        }
    }
}

// The progress tells the bytes of the whole file, and Cancel stops reading,
// whatever the pieces.
TEST(BibTexReaderFile, ProgressAndCancelInPieces) {
    std::string text;
    for (int i = 0; i < 30000; ++i) {
        text += "@misc{k" + std::to_string(i) + ",\n  note = {" + std::string(60, 'x') + "}\n}\n";
    }
    testsupport::TempDir folder;
    const std::string path = folder.Write("big.bib", text);
    const readertest::Reading whole = readertest::ReadBibFile(path, 0);
    ASSERT_EQ(whole.progress.size(), 3u);
    EXPECT_EQ(whole.progress.back().second, text.size());
    for (const std::size_t piece : {std::size_t{1000}, std::size_t{65536}}) {
        readertest::ExpectSameReading(readertest::ReadBibFile(path, piece), whole);
        const readertest::Reading cancelled = readertest::ReadBibFile(path, piece, 2);
        EXPECT_TRUE(cancelled.cancelled);
        EXPECT_EQ(cancelled.progress, (std::vector<std::pair<std::size_t, std::size_t>>(
                                          whole.progress.begin(), whole.progress.begin() + 2)));
        EXPECT_LT(cancelled.items.size(), whole.items.size());
    }
}

// ---------------------------------------------------------------------------
// Collector states and what was dropped silently.

TEST(BibTexReaderStates, StateAfterReading) {
    struct Row {
        const char* text;
        int state;
    };
    const Row rows[] = {
        {"@misc{a, note = {x}}", CBibTexReader::kExpectItem},
        {"@misc{a, note = {x}", CBibTexReader::kInItem},
        {"junk", CBibTexReader::kSkipping},
        {"@misc}", CBibTexReader::kSkipping},
    };
    for (const Row& row : rows) {
        CBibTexReader reader;
        reader.ReadText(row.text);
        EXPECT_EQ(reader.GetState(), row.state) << row.text;
    }
}

TEST(BibTexReaderStates, EachReadStartsAfresh) {
    CBibTexReader reader("x.bib");
    reader.ReadFileContent("junk\n");
    ASSERT_EQ(reader.GetState(), CBibTexReader::kSkipping);
    reader.ReadText("@misc{a, note = {x}}");
    EXPECT_EQ(DescribeItems(reader.GetItems()), Lines{"misc/a: note={x}"});
    EXPECT_TRUE(reader.GetErrors().empty());
    EXPECT_EQ(reader.GetState(), CBibTexReader::kExpectItem);
}

// Types and fields outside the catalogue, @comment and @preamble are kept;
// what BibTeX could not read either is counted by name, and the import log
// says so under the file's summary line.
TEST(BibTexReaderStats, TellsWhatWasLeftOut) {
    std::string text =
        "@comment{x}\n@Comment a line\n@preamble{\"y\"}\n@online{o, title = {T}}\n"
        "@misc{a, Doi = {1}, 9pages = 2, doi = {3}, note = {n}, empty = , 9Pages = 4}\n"
        "@9type{b, note = {4}}\n@misc{open, doi = {5}\n";
    for (int i = 0; i < 28; ++i) {
        text += "@misc{k, note = {" + std::to_string(i) + "}}\n";
    }
    CBibTexReader reader("x.bib");
    reader.ReadFileContent(text);
    using Tally = CBibTexReaderStats::Tally;
    const CBibTexReaderStats& stats = reader.GetStats();
    EXPECT_EQ(stats.leftOutTypes, (Tally{{"9type", 1}}));
    // Empty values lose nothing; the item never closed is an error instead.
    EXPECT_EQ(stats.leftOutFields, (Tally{{"9pages", 2}}));
    EXPECT_EQ(stats.unaddedKeys, (Tally{{"k", 1}})); // k, ka .. kz, then no letter is left
    EXPECT_EQ(reader.GetItems().GetTotalCount(), 29);
    EXPECT_EQ(DescribeItems(reader.GetItems())[0], "online/o: title={T}");
    EXPECT_EQ(DescribeItems(reader.GetItems())[1], "misc/a: note={n}; doi={3}");
    const std::vector<CBibTexBlock>* blocks = reader.GetItems().GetBlocks("x");
    ASSERT_NE(blocks, nullptr);
    EXPECT_EQ(*blocks,
              (std::vector<CBibTexBlock>{{CBibTexBlock::Kind::Comment, "@comment{x}"},
                                         {CBibTexBlock::Kind::Comment, "@Comment a line"},
                                         {CBibTexBlock::Kind::Preamble, "@preamble{\"y\"}"}}));
    EXPECT_EQ(FormatImportSummary("x.bib", reader),
              (Lines{"File 'x.bib': 1 file, 0 strings, 1 errors.",
                     "    - Import Error in line 7: '}' expected (File: x.bib).",
                     "    - Left out 1 entries of unknown types: 9type 1.",
                     "    - Left out 2 values of unknown fields: 9pages 2.",
                     "    - Left out 1 items whose key could not be made unique: k 1."}));
}

// ---------------------------------------------------------------------------
// The item and string rules on their own.

TEST(BibTexReaderParseItem, ItemRule) {
    struct Row {
        const char* text;
        const char* expected; // null: not an item
    };
    const Row rows[] = {
        {"@Article{Smith99, Title = {X}}", "article/Smith99: title={X}"},
        {"  @misc{k, title = {a\\}b}}\n", "misc/k: title={a\\}b}"},
        {"@misc{k, title = {A {\\\"o} B}}", "misc/k: title={A {\\\"o} B}"},
        {"@misc{k, title = {unclosed, year = 2000}", nullptr},
        {"@misc{k, title = \"unclosed, year = 2000}", nullptr},
        {"@misc{k, note = {x},}", "misc/k: note={x}"},
        {"@misc{k, title = \"a { b\", year = 1}", "misc/k: title=\"a { b\"; year=1"},
        {"@misc{k, note = {x} junk, year = 1}", "misc/k: note={x} junk; year=1"},
        {"@misc{k}", "misc/k:"},
        {"@misc{ k x }", "misc/k:"},
        {"@misc{}", "misc/:"},
        {"@misc{k, x}", "misc/k:"},
        {"@string{a = b}", nullptr},
        {"@comment{k, note = {x}}", nullptr},
        {"@foo{k, title = {x}}", "foo/k: title={x}"},
        {"@two words{k, title = {x}}", nullptr},
        {"@{k, title = {x}}", nullptr},
        {"no at sign", nullptr},
        {"@misc(k, title = {x})", "misc/k: title={x}"},
        {"@misc{k, title = {x}} trailing text", "misc/k: title={x}"},
        {"x@misc{k, title = {x}}", nullptr},
        {"", nullptr},
    };
    for (const Row& row : rows) {
        const auto item = CBibTexReader::ParseItem("refs", row.text);
        if (row.expected == nullptr) {
            EXPECT_EQ(item, nullptr) << row.text;
            continue;
        }
        ASSERT_NE(item, nullptr) << row.text;
        EXPECT_EQ(readertest::Describe(*item), row.expected) << row.text;
        EXPECT_EQ(item->GetFileName(), "refs");
    }
}

TEST(BibTexReaderParseItem, CountsUnknownFields) {
    int unknown = 0;
    const auto item = CBibTexReader::ParseItem(
        "f", "@misc{k, 9a = {1}, note = {n}, 9x = {x.pdf}, doi = {d}}", &unknown);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(unknown, 2);
    EXPECT_EQ(readertest::Describe(*item), "misc/k: note={n}; doi={d}");
}

TEST(BibTexReaderParseString, StringRule) {
    struct Row {
        const char* text;
        bool isString;
        const char* abbreviation;
        const char* value;
    };
    const Row rows[] = {
        {"@string{IEEE = {Institute}}", true, "IEEE", "{Institute}"},
        {"@STRING { ab = \"Q\" }", true, "ab", "\"Q\""},
        {"@String{x = jan # \" 1\"}", true, "x", "jan # \" 1\""},
        {"@string{x = {a} # {b}}", true, "x", "{a} # {b}"},
        {"@string{x = 2000}", true, "x", "2000"},
        {"@string{x = a = b}", true, "x", "a = b"},
        {"@String(mar = \"march\")", true, "mar", "\"march\""},
        {"@string{acisp96pub =            springer_berlin_heidelberg}", true, "acisp96pub",
         "springer_berlin_heidelberg"},
        {"@string{x = {a\n\tb}}", true, "x", "{a b}"},
        {"@string{x = }", true, "x", ""},
        {"@string{noequals}", false, "", ""},
        {"@stringx{a = b}", false, "", ""},
        {"@misc{a, note = b}", false, "", ""},
        {"string{a = b}", false, "", ""},
        {"", false, "", ""},
    };
    for (const Row& row : rows) {
        std::string abbreviation = "old";
        std::string value = "old";
        EXPECT_EQ(CBibTexReader::ParseString(row.text, abbreviation, value), row.isString)
            << row.text;
        EXPECT_EQ(abbreviation, row.abbreviation) << row.text;
        EXPECT_EQ(value, row.value) << row.text;
    }
}

TEST(BibTexReaderFileName, FromPath) {
    const std::pair<const char*, const char*> rows[] = {
        {"", "Default"},
        {"C:\\refs\\my.papers.bib", "my.papers"},
        {"refs.bib", "refs"},
        {"my.refs", "my"},
        {"Thesis", "Thesis"},
        {"/home/ann/lit/refs.bib", "refs"},
        {"C:\\work/lit\\x.y.bib", "x.y"},
        {"C:\\refs.d\\file", "file"},
        {"/home/ann/refs.d/file", "file"},
        {".bib", "Default"},
        {"lit/", "Default"},
    };
    for (const auto& [path, name] : rows) {
        EXPECT_EQ(CBibTexReader::FileNameFromPath(path), name) << path;
    }
    CBibTexReader reader("Thesis chapters.v2");
    reader.ReadText("@misc{a}");
    EXPECT_EQ((*reader.GetItems().Files().begin()).first, "Thesis chapters");
}

// ---------------------------------------------------------------------------
// The import log's lines.

TEST(BibTexReaderImportLog, SummaryAndErrorLines) {
    CBibTexReader reader("C:\\papers\\refs.bib");
    reader.ReadFileContent("@string{a = {A}}\n@string{a = {B}}\n@misc{k, note = {x}}\nbad\n");
    EXPECT_EQ(FormatImportSummary("C:\\papers\\refs.bib", reader),
              (Lines{"File 'C:\\papers\\refs.bib': 1 file, 1 strings, 2 errors.",
                     "    - Could not add string '@string{a = {B}}'. Key is already in use.",
                     "    - Import Error in line 4: '@' expected (File: C:\\papers\\refs.bib, "
                     "Line: bad...)."}));
    EXPECT_EQ(FormatImportTotal(0), "Import with 0 errors finished.");
    EXPECT_EQ(FormatImportTotal(612), "Import with 612 errors finished.");
}

// ---------------------------------------------------------------------------
// Size limits: nothing recursive, nothing quadratic.

TEST(BibTexReaderLimits, DeeplyNestedBraces) {
    constexpr std::size_t kDepth = 100000;
    const std::string value = std::string(kDepth, '{') + "x" + std::string(kDepth, '}');
    const std::string text = "@misc{deep, note = " + value + ", year = 2001}";
    CBibTexReader memory;
    memory.ReadText(text);
    CBibTexReader file("deep.bib");
    file.ReadFileContent(text + "\n");
    for (const CBibTexReader* reader : {&memory, &file}) {
        const CBibTexEntry* item = reader->GetItems().FindKey("deep");
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->GetValue(kFieldNote), value);
        EXPECT_EQ(item->GetValue(kFieldYear), "2001");
    }
}

TEST(BibTexReaderLimits, VeryLongLines) {
    // One value of 4 MB, and 40 000 items on one line of 2.7 MB.
    const std::string longValue = "{" + std::string(4 << 20, 'a') + "}";
    std::string manyItems;
    for (int i = 0; i < 40000; ++i) {
        manyItems += "@misc{k" + std::to_string(i) + ", note = {some text here}} ";
    }
    manyItems += "@misc{last, note = " + longValue + "}";
    for (const bool asFile : {false, true}) {
        CBibTexReader reader("long.bib");
        if (asFile) {
            reader.ReadFileContent(manyItems + "\n% done\n");
        } else {
            reader.ReadText(manyItems);
        }
        EXPECT_EQ(reader.GetItems().GetTotalCount(), 40001) << asFile;
        ASSERT_NE(reader.GetItems().FindKey("k39999"), nullptr);
        ASSERT_NE(reader.GetItems().FindKey("last"), nullptr);
        EXPECT_EQ(reader.GetItems().FindKey("last")->GetValue(kFieldNote), longValue);
        EXPECT_TRUE(reader.GetErrors().empty());
    }
}

TEST(BibTexReaderLimits, ItemSpanningManyLines) {
    // With each kind of line end; a file of lone CRs has no LF at all.
    for (const std::string eol : {"\n", "\r\n", "\r"}) {
        std::string content = "@misc{big," + eol + "  note = {";
        for (int i = 0; i < 200000; ++i) {
            content += "word" + eol;
        }
        content += "}" + eol + "}" + eol;
        CBibTexReader reader("x.bib");
        reader.ReadFileContent(content);
        const CBibTexEntry* item = reader.GetItems().FindKey("big");
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->GetValue(kFieldNote).size(), 200000u * 5 + 2); // "word " each
        EXPECT_EQ(reader.GetLineNumber(), 200003);
    }
}

} // namespace
