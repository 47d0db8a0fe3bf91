// Names a project file carries are not trusted: a project whose strings file
// or BibTeX file names the program must not write under opens with safe
// names, says which, and then writes nothing but .bib files (and main.tex).
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "model/FileIO.h"
#include "project/QVNDoc.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

// Replaces every stored string `from` of a project file by `to` (both
// shorter than 255 bytes), so that any bytes can stand where a name goes.
std::string Craft(std::string bytes, const std::string& from, const std::string& to) {
    const std::string stored = static_cast<char>(from.size()) + from;
    const std::string crafted = static_cast<char>(to.size()) + to;
    for (std::size_t pos; (pos = bytes.find(stored)) != std::string::npos;) {
        bytes.replace(pos, stored.size(), crafted);
    }
    return bytes;
}

TEST(UntrustedNames, BadNamesAreReplacedOnOpenAndNeverWrittenUnder) {
    struct Case {
        const char* kind;
        std::string stringsFile, file;         // as the project file holds them
        std::string safeStringsFile, safeFile; // after opening
    };
    const std::vector<Case> cases = {
        {"extension", "evil.desktop", "refs", "strings.bib", "refs"},
        {"separator", "sub/s.bib", "../evil", "strings.bib", ".._evil"},
        {"dot dot", "..", "..\\win", "strings.bib", ".._win"},
        {"NUL", std::string("a\0b.bib", 7), std::string("nul\0x", 5), "strings.bib", "nul_x"},
        {"device name", "con.bib", "aux", "strings.bib", "_aux"},
        {"empty", "", "", "strings.bib", "New File"},
        {"forbidden and control", "a:b.bib", "a\tb\x1b[2J", "strings.bib", "a_b__2J"},
        {"taken", "x.txt", "strings", "strings (1).bib", "strings"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        TempDir dir;
        TempDir out;
        CQVNDoc source;
        source.StartProject({"P", dir.Path(), "STRINGSNAME"});
        source.AddString("x", "{[Desktop Entry]}", false);
        source.AddItem(std::make_unique<CBibTexEntry>("FILENAME", "k1", 0));
        source.AddItem(std::make_unique<CBibTexEntry>("good", "k2", 0));
        const std::string path = dir.File("p.qvp");
        qvn::WriteFileAtomically(
            path,
            Craft(Craft(source.SaveToBytes(), "STRINGSNAME", c.stringsFile), "FILENAME", c.file));

        ScriptedUi ui;
        CQVNDoc doc(&ui);
        doc.SetFileLocking(false);
        doc.NewProject();
        ASSERT_TRUE(doc.OpenProject(path));
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(doc.GetSettings().GetStringsFile(), c.safeStringsFile);
        EXPECT_TRUE(doc.HasFile(c.safeFile));
        EXPECT_EQ(doc.GetItems().GetFileCount(), 2);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
        const std::string& text = ui.messages[0].text;
        EXPECT_NE(text.find("'" + c.safeStringsFile + "'"), std::string::npos) << text;
        EXPECT_EQ(text.find('\x1b'), std::string::npos) << "control characters are shown escaped";

        const auto sorted = [](std::vector<std::string> names) {
            std::sort(names.begin(), names.end());
            return names;
        };
        EXPECT_TRUE(doc.OnBibTexSaveAll());
        EXPECT_EQ(dir.Names(),
                  sorted({"good.bib", "p.qvp", c.safeFile + ".bib", c.safeStringsFile}));
        EXPECT_TRUE(doc.MultiExport({out.Path(), {true, true, true}, false, true}));
        EXPECT_EQ(out.Names(),
                  sorted({"good.bib", "main.tex", c.safeFile + ".bib", c.safeStringsFile}));
        EXPECT_TRUE(doc.SingleExport({c.safeFile, out.File("single.bib"), false, true}));
        EXPECT_FALSE(doc.SingleExport({c.safeFile, out.File("single.desktop"), false, true}));
        EXPECT_FALSE(fs::exists(out.File("single.desktop")));
    }
}

// Another program writes bad names into the open project's file: the
// reload repairs them as an open does.
TEST(UntrustedNames, AReloadAfterAnOutsideChangeReplacesBadNames) {
    TempDir dir;
    const std::string path = dir.File("p.qvp");
    ScriptedUi ui;
    CQVNDoc doc(&ui);
    doc.SetFileLocking(false);
    doc.NewProject();
    doc.StartProject({"P", dir.Path(), "strings.bib"});
    ASSERT_TRUE(doc.SaveProject(path));
    qvn::WriteFileAtomically(path, Craft(doc.SaveToBytes(), "strings.bib", "evil.desktop"));

    doc.CheckForOutsideChange();
    EXPECT_EQ(doc.GetSettings().GetStringsFile(), "strings.bib");
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("'evil.desktop' is now 'strings.bib'"), std::string::npos);
}

} // namespace
