// The names the program may write under, the strings file name rule that
// the wizard, the settings dialog and the command-line tool share, the names
// of BibTeX files and the check of citation keys.
#include "project/ProjectRules.h"

#include "model/BibTexMap.h"
#include "project/ProjectSettings.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>

namespace {

TEST(ProjectRules, FileNamesAndStringsFileNames) {
    const struct {
        std::string name;
        bool fileName;    // IsValidFileName
        bool stringsFile; // IsValidStringsFileName
    } cases[] = {
        {"strings.bib", true, true},
        {"x.bib", true, true},       // five characters
        {".bib", true, false},       // four
        {"Strings.BIB", true, true}, // the extension in any letter case
        {"strings", true, false},
        {"strings.bib.txt", true, false},
        {"evil.desktop", true, false},
        {"my strings (v2).bib", true, true},
        {"sub/strings.bib", false, false},
        {"sub\\strings.bib", false, false},
        {"../strings.bib", false, false},
        {"..", false, false},
        {".", false, false},
        {"", false, false},
        {std::string("a\0b.bib", 7), false, false},
        {"line\nbreak.bib", false, false},
        {"a:b.bib", false, false},
        {"a#b.bib", false, false},
        {"acute\xC2\xB4.bib", false, false},
        {"con.bib", false, false},
        {"NUL.bib", false, false},
        {"Com1.bib", false, false},
        {"lpt9", false, false},
        {"com0.bib", true, true},
        {"console.bib", true, true},
        {"conference.bib", true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidFileName(c.name), c.fileName) << c.name;
        EXPECT_EQ(IsValidStringsFileName(c.name), c.stringsFile) << c.name;
    }
}

TEST(ProjectRules, BibTexFileNames) {
    // Empty is left to the dialogs' own message.
    for (const char* legal : {"refs", "New File (1)", "v1.2", "my refs", "..", ""}) {
        EXPECT_TRUE(IsLegalBibTexFileName(legal)) << legal;
    }
    // The file is written as the name plus ".bib": "con.bib" is a device.
    for (const char* illegal :
         {"a/b", "a\\b", "a:b", "a#b", "acute\xC2\xB4", "con", "Aux.old", "a\x7f"}) {
        EXPECT_FALSE(IsLegalBibTexFileName(illegal)) << illegal;
    }

    // The strings file is written beside the BibTeX files under its stored
    // name, and by the multi-export with ".bib" added.
    CProjectSettings settings;
    settings.SetStringsFile("strings.bib");
    EXPECT_TRUE(IsReservedBibTexFileName(settings, "strings"));
    EXPECT_FALSE(IsReservedBibTexFileName(settings, "Strings"));
    EXPECT_FALSE(IsReservedBibTexFileName(settings, "strings.bib"));
    settings.SetStringsFile("abbrev");
    EXPECT_TRUE(IsReservedBibTexFileName(settings, "abbrev"));
    EXPECT_FALSE(IsReservedBibTexFileName(settings, "strings"));
}

TEST(ProjectRules, NewBibTexFileNamesAreFreeInTheProjectAndAmongTheTakenOnes) {
    CBibTexMap items;
    EXPECT_EQ(NewBibTexFileName(items), "New File");
    items.AddFile("New File");
    items.AddFile("New File (2)");
    EXPECT_EQ(NewBibTexFileName(items), "New File (1)");
    const std::set<std::string> pending = {"New File (1)", "New File (3)"};
    EXPECT_EQ(
        NewBibTexFileName(items, [&](const std::string& name) { return pending.contains(name); }),
        "New File (4)");
}

TEST(ProjectRules, RenameProblemTexts) {
    EXPECT_EQ(RenameFileProblemText(RenameFileResult::Renamed, "a", "b"), "");
    EXPECT_EQ(RenameFileProblemText(RenameFileResult::Illegal, "refs", "a/b"),
              "File 'refs' cannot be renamed to 'a/b'.\nIllegal file name.");
    EXPECT_EQ(RenameFileProblemText(RenameFileResult::InUse, "refs", "books"),
              "File 'refs' cannot be renamed to 'books'.\nThere is already a file with this "
              "name\nin your project.");
    EXPECT_EQ(RenameFileProblemText(RenameFileResult::Failed, "refs", ""),
              "File 'refs' cannot be renamed to ''.");
}

TEST(ProjectRules, CitationKeys) {
    CBibTexMap items;
    ASSERT_TRUE(items.Add(std::make_unique<CBibTexEntry>("books", "knuth1984", 0)));
    const struct {
        const char* key;
        KeyProblem problem;
        const char* holder;
    } cases[] = {
        {"smith2000", KeyProblem::None, ""},
        {"Knuth1984", KeyProblem::None, ""}, // keys are case-sensitive
        {"knuth1984", KeyProblem::Duplicate, "books"},
        {"", KeyProblem::Empty, ""},
        {"smith 2000", KeyProblem::Illegal, ""},
        {"a,b", KeyProblem::Illegal, ""},
        {"a{b", KeyProblem::Illegal, ""},
        {"knuth1984 ", KeyProblem::Illegal, ""}, // illegal before duplicate
    };
    for (const auto& c : cases) {
        const KeyCheck check = CheckItemKey(items, c.key);
        EXPECT_EQ(check.problem, c.problem) << c.key;
        EXPECT_EQ(check.holderFile, c.holder) << c.key;
    }
    EXPECT_EQ(IllegalKeyMessage().rfind("Please do not use one of the folling characters in\nthe "
                                        "reference's name: ",
                                        0),
              0u);
}

} // namespace
