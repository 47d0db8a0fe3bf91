// The names the program may write under, and the strings file name rule
// that the wizard, the settings dialog and the command-line tool share.
#include "project/ProjectRules.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(ProjectRules, FileNamesAndStringsFileNames) {
    const struct {
        std::string name;
        bool fileName;    // IsValidFileName
        bool stringsFile; // IsValidStringsFileName
    } cases[] = {
        {"strings.bib", true, true},
        {"x.bib", true, true},        // five characters
        {".bib", true, false},        // four
        {"Strings.BIB", true, true},  // the extension in any letter case
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

} // namespace
