// TeX value text shown as readable text, and the folded form typed words are
// matched against.
#include "model/TexText.h"

#include "model/BibTexReader.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Case {
    const char* tex;
    const char* text;
};

TEST(TexText, AccentsInEveryNotation) {
    const Case cases[] = {
        {"M{\\\"u}ller", "Müller"},
        {"M\\\"{u}ller", "Müller"},
        {"M\\\"uller", "Müller"},
        {"M{\\\" u}ller", "Müller"},
        {"Jos\\'e", "José"},
        {"Jos\\'{e}", "José"},
        {"\\`a la", "à la"},
        {"\\^o", "ô"},
        {"\\~n", "ñ"},
        {"\\=a", "ā"},
        {"\\.z", "ż"},
        {"Fran\\c{c}ois", "François"},
        {"Fran\\c cois", "François"},
        {"\\v{S}koda \\v s", "Škoda š"},
        {"Erd\\H{o}s", "Erdős"},
        {"\\k{a}", "ą"},
        {"\\r{u}", "ů"},
        {"\\u{g}", "ğ"},
        {"\\'{\\i}", "í"},
        {"\\\"\\i", "ï"},
        {"{\\'I}", "Í"},
        // No letter of its own: the letter and a combining mark.
        {"\\d{m}", "m\xCC\xA3"},
        {"\\t{oo}", "o\xCD\xA1o"},
        {"\\\"{q}", "q\xCC\x88"},
        // Nothing to put the accent on: the sign.
        {"\\~{}user", "~user"},
        {"\\^{}", "^"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qvn::TexToText(c.tex), c.text) << c.tex;
    }
}

TEST(TexText, SpecialLettersSignsDashesAndBraces) {
    const Case cases[] = {
        {"Gau\\ss", "Gauß"},
        {"Gau{\\ss}ian", "Gaußian"},
        {"\\O{}stergaard \\o", "Østergaard ø"},
        {"\\aa ngstr\\\"om", "ångström"},
        {"\\AA{}", "Å"},
        // A blank after a command's name ends the name and is not shown.
        {"\\ae\\ \\AE \\oe\\ \\OE", "æ Æœ Œ"},
        {"\\L{}ukasiewicz \\l", "Łukasiewicz ł"},
        {"pages 10--20", "pages 10–20"},
        {"yes---no", "yes—no"},
        {"a-b", "a-b"},
        {"D.~E. Knuth", "D.\u00A0E. Knuth"},
        {"R\\&D 5\\% \\$3 a\\_b \\#1", "R&D 5% $3 a_b #1"},
        {"\\{x\\}", "{x}"},
        {"{The {TeX}book}", "The TeXbook"},
        {"J.\\,R.\\,R.", "J. R. R."},
        {"plain text", "plain text"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qvn::TexToText(c.tex), c.text) << c.tex;
    }
}

TEST(TexText, MathAndUnknownCommandsStayAsWritten) {
    const Case cases[] = {
        {"The $O(n^{2})$ bound", "The $O(n^{2})$ bound"},
        {"$$x--y$$ -- z", "$$x--y$$ – z"},
        {"open $x", "open $x"},
        {"\\emph{Nat\\\"urlich}", "\\emph{Natürlich}"},
        {"\\url{a_b}{c}", "\\url{a_b}{c}"},
        {"line\\\\break", "line\\\\break"},
        {"trailing \\", "trailing \\"},
        {"\\\"", "\\\""},
        {"\\c", "\\c"},
        {"\\\"{unclosed", "\\\"unclosed"},
        {"stray } brace", "stray } brace"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qvn::TexToText(c.tex), c.text) << c.tex;
    }
}

TEST(TexText, HostileTextEndsAndKeepsForeignBytes) {
    std::string deep;
    for (int i = 0; i < 20000; ++i) {
        deep += "\\\"{";
    }
    deep += "u";
    deep += std::string(20000, '}');
    const std::string shown = qvn::TexToText(deep);
    EXPECT_FALSE(shown.empty());
    std::string open(200000, '{');
    open += "\\\"{";
    EXPECT_EQ(qvn::TexToText(open), "\\\"");
    // Windows-1252 bytes pass through; so does a lone lead byte.
    EXPECT_EQ(qvn::TexToText("M\xFCller {\xC3}"), "M\xFCller \xC3");
    EXPECT_EQ(qvn::TexToText("\\\"\xFC"), "\xFC\xCC\x88");
}

TEST(TexText, FoldingMatchesWhatReadersTakeForTheSameWord) {
    const Case cases[] = {
        {"Müller", "muller"},
        {"MÜLLER", "muller"},
        {"Gauß", "gauss"},
        {"Østergaard", "ostergaard"},
        {"Łukasiewicz", "lukasiewicz"},
        {"Æsop", "aesop"},
        {"Ångström", "angstrom"},
        {"Škoda", "skoda"},
        {"m\xCC\xA3", "m"},
        {"10–20—30", "10-20-30"},
        {"D.\u00A0E.", "d. e."},
        {"ΕΛΛΆΔΑ", "ελλάδα"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qvn::FoldText(c.tex), c.text) << c.tex;
    }
    EXPECT_EQ(qvn::FoldTex("M{\\\"u}ller"), qvn::FoldText("Müller"));
    EXPECT_EQ(qvn::FoldTex("{\\O}stergaard"), "ostergaard");
}

// Every value of the real files converts, and the accents they write in TeX
// come out as letters.
TEST(TexText, CorpusValuesConvert) {
    const std::filesystem::path root(QVN_CORPUS_DIR);
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        GTEST_SKIP() << "no corpus under " << QVN_CORPUS_DIR;
    }
    int values = 0;
    int umlauts = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".bib") {
            continue;
        }
        CBibTexReader reader(entry.path().string());
        reader.ReadFile();
        reader.GetItems().ForEachItem([&](const CBibTexEntry& item) {
            item.ForEachValue([&](int, std::string_view value) {
                ++values;
                const std::string text = qvn::TexToText(value);
                qvn::FoldText(text);
                for (const char* written : {"{\\\"u}", "\\\"{u}", "{\\\"o}", "\\\"{o}"}) {
                    if (value.find(written) != std::string_view::npos) {
                        ++umlauts;
                        EXPECT_EQ(text.find(written), std::string::npos) << value;
                        EXPECT_TRUE(text.find("ü") != std::string::npos ||
                                    text.find("ö") != std::string::npos)
                            << value;
                    }
                }
                if (value.find_first_of("\\$") == std::string_view::npos &&
                    CTexObject::HasBalancedBraces(value)) {
                    EXPECT_EQ(text.find_first_of("{}"), std::string::npos) << value;
                }
            });
        });
    }
    EXPECT_GT(values, 1000);
    EXPECT_GT(umlauts, 10);
}

} // namespace
