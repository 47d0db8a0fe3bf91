// Exports of real bibliographies: every line end is CR LF, and the real
// bibtex program accepts what we write.
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "project/QVNDoc.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

std::string Corpus(const std::string& name) {
    return std::string(QVN_CORPUS_DIR) + "/" + name;
}

// The first line a shell command prints, or "" when it fails.
std::string FirstLineOf(const std::string& command) {
    std::string out;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        if (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            out = buffer;
        }
        ::pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) {
        out.pop_back();
    }
    return out;
}

class ExportCorpusTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(QVN_CORPUS_DIR)) {
            GTEST_SKIP() << "the corpus of .bib files is not at " << QVN_CORPUS_DIR;
        }
    }
    void Import(const std::vector<std::string>& names) {
        doc.StartProject({"Corpus", dir.Path(), "strings.bib"});
        std::vector<std::string> paths;
        for (const std::string& name : names) {
            paths.push_back(name.front() == '/' ? name : Corpus(name));
        }
        const ImportResult result = doc.ImportFiles(paths);
        ASSERT_TRUE(result.unreadable.empty());
        ASSERT_GT(doc.GetItems().GetTotalCount(), 0);
    }
    // Exports every row with comments and the main file.
    void ExportAll() {
        MultiExportOptions options{
            dir.Path(), std::vector<bool>(doc.GetMultiExportRows().size(), true), true, true};
        ASSERT_TRUE(doc.MultiExport(options)) << ui.messages.back().text;
    }

    TempDir dir;
    ScriptedUi ui;
    CQVNDoc doc{&ui};
};

TEST_F(ExportCorpusTest, EveryLineEndIsCrLf) {
    // Multi-line values, CR LF sources, parentheses, long abstracts.
    Import({"bbt--paren-entries-873.bib", "topp--geom.bib", "bibtexparser--traps.bib",
            "bibtexparser--multiline_comments.bib", "bbt--mendeley-export.bib",
            "biber--definitions.bib"});
    ExportAll();
    doc.GetSettings().SetLocation(dir.File("all"));
    fs::create_directory(dir.File("all"));
    ASSERT_TRUE(doc.OnBibTexSaveAll());
    ASSERT_TRUE(doc.SingleExport({"topp--geom", dir.File("single.bib"), true, true}));
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
        if (entry.is_regular_file()) {
            ++files;
            EXPECT_TRUE(HasOnlyCrLf(ReadBytes(entry.path().string()))) << entry.path();
        }
    }
    EXPECT_GE(files, 10);
}

TEST_F(ExportCorpusTest, BibtexAcceptsTheMultiExport) {
    if (FirstLineOf("command -v bibtex").empty()) {
        GTEST_SKIP() << "bibtex is not installed (texlive-binaries)";
    }
    if (FirstLineOf("kpsewhich plain.bst").empty()) {
        GTEST_SKIP() << "plain.bst is not installed (texlive-base)";
    }
    // Strings defined in one file and used in another; a table of 10 843
    // strings, many of them concatenations, several brace groups or names of
    // other strings; long abstracts; UTF-8 keys; author lists over several
    // lines; entries in parentheses. (The large BibDesk file holds keys that
    // differ in letter case only, which BibTeX refuses in the original too.)
    fs::create_directory(dir.File("in"));
    const std::string uses = dir.File("in/uses.bib");
    WriteBytes(uses, "@book{usesAlias, author = {A. Uthor}, title = {T}, year = 1996,\n"
                     "  publisher = acisp96pub}\n");
    Import({"biber--definitions.bib", "biber--papers.bib", "cryptobib--abbrev0.bib",
            "bbt--mendeley-export.bib", "autocomplete--PaglioneBibTeX.bib",
            "tidy--orcid-russian-citations.bib", "citationjs--syntax.bib",
            "php--string-var-with-special-char.bib", "bbt--jabref51-groups-1641.bib",
            "akhirsch--lz.bib", "bbt--paren-entries-873.bib", uses});
    ExportAll();

    // An .aux file that cites every key, over the files that main.tex names
    // (the strings file first, so that the strings are defined before use).
    std::string aux = "\\relax\n";
    std::vector<std::string> keys;
    doc.GetItems().ForEachItem([&](const CBibTexEntry& item) {
        keys.push_back(item.GetKey());
        aux += "\\citation{" + item.GetKey() + "}\n";
    });
    const std::string mainTex = ReadBytes(dir.File("main.tex"));
    const std::size_t from = mainTex.find("\\bibliography{");
    ASSERT_NE(from, std::string::npos);
    const std::size_t to = mainTex.find('}', from);
    const std::string bibdata = mainTex.substr(from + 14, to - from - 14);
    ASSERT_EQ(bibdata.rfind("strings,", 0), 0u) << bibdata;
    aux += "\\bibstyle{plain}\n\\bibdata{" + bibdata + "}\n";
    WriteBytes(dir.File("test.aux"), aux);

    const int status = std::system(
        ("cd '" + dir.Path() + "' && openout_any=a bibtex test >bibtex.out 2>&1").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    const std::string blg = ReadBytes(dir.File("test.blg"));
    // The only errors are the cross references to proceedings that the
    // personal bibliography cites but does not hold (7 in its own file).
    int crossReferences = 0;
    for (std::size_t at = blg.find("A bad cross reference"); at != std::string::npos;
         at = blg.find("A bad cross reference", at + 1)) {
        ++crossReferences;
    }
    EXPECT_EQ(crossReferences, 7) << blg;
    EXPECT_NE(blg.find("(There were 7 error messages)"), std::string::npos) << blg;
    EXPECT_LE(WEXITSTATUS(status), 2) << ReadBytes(dir.File("bibtex.out"));
    // Author lists over several lines keep a blank between their lines.
    EXPECT_EQ(blg.find("Too many commas"), std::string::npos) << blg;
    const std::string bbl = ReadBytes(dir.File("test.bbl"));
    int missing = 0;
    for (const std::string& key : keys) {
        if (bbl.find("\\bibitem{" + key + "}") == std::string::npos && ++missing <= 5) {
            ADD_FAILURE() << "not in the .bbl: " << key;
        }
    }
    EXPECT_EQ(missing, 0);
    EXPECT_GT(keys.size(), 3500u);
    // A string that names another string is expanded by BibTeX.
    const std::size_t alias = bbl.find("\\bibitem{usesAlias}");
    ASSERT_NE(alias, std::string::npos);
    EXPECT_NE(bbl.find("Springer Berlin Heidelberg, Germany", alias), std::string::npos)
        << bbl.substr(alias, 300);
}

} // namespace
