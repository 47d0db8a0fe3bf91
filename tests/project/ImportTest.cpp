// Importing .bib files into the project: merge rules, summary lines, the
// question about the log and the log file itself.
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "model/FileIO.h"
#include "project/QVNDoc.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace fs = std::filesystem;
using testsupport::HintRecorder;

namespace {

class ImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.AddObserver(&hints);
        doc.StartProject({"P", dir, "strings.bib"});
        doc.SetModifiedFlag(false);
        hints.hints.clear();
    }

    std::string Write(const std::string& name, const std::string& text) {
        return folder.Write(name, text);
    }
    void Import(std::vector<std::string> paths) {
        ui.openFileAnswers.push_back(std::move(paths));
        doc.OnImportBibTex();
    }

    testsupport::TempDir folder;
    std::string dir = folder.Path();
    ScriptedUi ui;
    CQVNDoc doc{&ui};
    HintRecorder hints;
};

const char* const kRefs = "@string{jacm = \"Journal of the ACM\"}\n"
                          "@article{smith2000,\n  author = {Smith, J.},\n  journal = jacm,\n"
                          "  year = 2000\n}\n";

TEST_F(ImportTest, OpenDialogRequest) {
    Import({});
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const FileDialogRequest& r = ui.fileRequests[0];
    EXPECT_EQ(r.filter, "BibTeX files (*.bib)|*.bib|All files (*.*)|*.*||");
    EXPECT_EQ(r.defaultExtension, "bib");
    EXPECT_EQ(r.initialName, "*.bib");
    EXPECT_TRUE(r.multiSelect);
    // Cancelled: nothing happens.
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(hints.hints.empty());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(ImportTest, CleanImportShowsOnlyTheTotal) {
    Import({Write("refs.bib", kRefs)});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Import with 0 errors finished.");
    EXPECT_EQ(ui.messages[0].caption, "");
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(hints.Kinds(), std::vector<UpdateHint>{UpdateHint::Bulk});
    EXPECT_TRUE(doc.IsModified());
    const CBibTexEntry* item = doc.GetItems().Lookup("refs", "smith2000");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetValue(kFieldJournal), "jacm");
    EXPECT_EQ(item->GetValueCount(), 38);
    // Strings are merged without their delimiters.
    EXPECT_EQ(*doc.GetStrings().FindString("jacm"), "Journal of the ACM");
}

TEST_F(ImportTest, StringsKeepDelimitersThatDoNotEncloseTheWholeValue) {
    Import({Write("s.bib", "@string{t = \"IEEE\" # \" Trans.\"}\n"
                           "@string{i = {IEEE} {INFOCOM}}\n"
                           "@string{q = \"Journal {of} Things\"}\n")});
    const CBibTexStringTable& strings = doc.GetStrings();
    EXPECT_EQ(*strings.FindString("t"), "\"IEEE\" # \" Trans.\"");
    EXPECT_EQ(*strings.FindString("i"), "{IEEE} {INFOCOM}");
    EXPECT_EQ(*strings.FindString("q"), "Journal {of} Things");
    // And they are written back as BibTeX reads them.
    EXPECT_EQ(strings.FormatStrings(), "@string{t = \"IEEE\" # \" Trans.\"}\n"
                                       "@string{i = {{IEEE} {INFOCOM}}}\n"
                                       "@string{q = {Journal {of} Things}}\n");
    std::string value;
    ASSERT_TRUE(doc.LookupString("i", value));
    EXPECT_EQ(value, "{IEEE} {INFOCOM}");
}

// A string whose value is a name stays a name; a name in delimiters stays
// text, so the exports tell them apart.
TEST_F(ImportTest, StringsNamingStringsStayNames) {
    Import({Write("s.bib", "@string{springer = \"Springer\"}\n@string{pub = springer}\n"
                           "@string{lit = {springer}}\n@string{m = {jan}}\n@string{n = jan}\n"
                           "@string{plain = {Plain}}\n@string{kept = \"{IEEE}\"}\n")});
    const CBibTexStringTable& strings = doc.GetStrings();
    EXPECT_EQ(*strings.FindString("springer"), "Springer");
    EXPECT_EQ(*strings.FindString("pub"), "springer");
    EXPECT_EQ(*strings.FindString("lit"), "{springer}");
    EXPECT_EQ(*strings.FindString("m"), "{jan}");
    EXPECT_EQ(*strings.FindString("n"), "jan");
    EXPECT_EQ(*strings.FindString("plain"), "Plain");
    // Its braces protect the letters: they are not taken for delimiters.
    EXPECT_EQ(*strings.FindString("kept"), "\"{IEEE}\"");
}

// A .bib file named like a device gives its items to a file save all can
// write, and the user is told which.
TEST_F(ImportTest, FileNameNoFileMayCarryIsReplacedWithAWord) {
    const std::string path = Write("con.bib", kRefs);
    Import({path});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Import with 0 errors finished.\n\nFile '" + path +
                  "': 1 file, 1 strings, 0 errors.\n"
                  "    - The items go to the BibTeX file '_con': 'con' cannot be a file name.");
    EXPECT_NE(doc.GetItems().Lookup("_con", "smith2000"), nullptr);
    EXPECT_FALSE(doc.HasFile("con"));
}

// What the reader left out (names BibTeX could not read either) is named in
// the message at the end of the import and in the log, under the file's
// summary line.
TEST_F(ImportTest, WhatWasLeftOutIsTold) {
    const std::string clean = Write("clean.bib", kRefs);
    const std::string other = Write("other.bib", "@online{o, title = {T}}\n@comment{c}\n"
                                                 "@9type{t, note = {n}}\n"
                                                 "@misc{m, 9doi = {1}, doi = {2}, note = {n}}\n");
    Import({clean, other});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Import with 0 errors finished.\n\n"
                                   "File '" +
                                       other +
                                       "': 1 file, 0 strings, 0 errors.\n"
                                       "    - Left out 1 entries of unknown types: 9type 1.\n"
                                       "    - Left out 1 values of unknown fields: 9doi 1.");
    EXPECT_EQ(doc.GetItems().FindKey("o")->GetTypeName(), "online");
    EXPECT_EQ(doc.GetItems().FindKey("m")->GetNamedValue("doi"), "{2}");
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::Ok);

    const std::string bad = Write("bad.bib", "junk\n@misc{m2, 9doi = {1}}\n");
    const std::string log = (fs::path(dir) / "QVNImport.log").string();
    ui.messages.clear();
    ui.answers.push_back(MsgResult::Yes);
    ui.saveFileAnswers.push_back(log);
    Import({bad});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Import with 1 errors finished.\n\nFile '" + bad +
                                       "': 1 file, 0 strings, 1 errors.\n"
                                       "    - Left out 1 values of unknown fields: 9doi 1.\n\n"
                                       "Do you want to create a log file?");
    EXPECT_EQ(qvn::ReadWholeFile(log),
              "Quorvane Import Log File\r\n=========================\r\n\r\n"
              "File '" +
                  bad +
                  "': 1 file, 0 strings, 1 errors.\r\n"
                  "    - Import Error in line 1: '@' expected (File: " +
                  bad +
                  ", Line: junk...).\r\n"
                  "    - Left out 1 values of unknown fields: 9doi 1.\r\n");
}

TEST_F(ImportTest, ImportingTwiceSuffixesKeysButNotStrings) {
    doc.AddString("jacm", "{J. ACM}", false);
    const std::string path = Write("refs.bib", kRefs);
    Import({path});
    Import({path});
    EXPECT_EQ(doc.GetStrings().GetCount(), 1);
    EXPECT_EQ(*doc.GetStrings().FindString("jacm"), "{J. ACM}"); // project's value stays
    EXPECT_NE(doc.GetItems().Lookup("refs", "smith2000"), nullptr);
    EXPECT_NE(doc.GetItems().Lookup("refs", "smith2000a"), nullptr);
    EXPECT_TRUE(doc.GetItems().IsConsistent());
}

TEST_F(ImportTest, UnreadableFileGivesAZeroSummaryAndStillMarksModified) {
    const std::string good = Write("refs.bib", kRefs);
    const std::string missing = (fs::path(dir) / "missing.bib").string();
    const ImportResult result = doc.ImportFiles({good, missing});
    ASSERT_EQ(result.logLines.size(), 2u);
    EXPECT_EQ(result.logLines[0], "File '" + good + "': 1 file, 1 strings, 0 errors.");
    EXPECT_EQ(result.logLines[1], "File '" + missing + "': 0 file, 0 strings, 0 errors.");
    EXPECT_EQ(result.unreadable.size(), 1u);

    doc.SetModifiedFlag(false);
    Import({missing});
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(hints.hints.back().hint, UpdateHint::Bulk);
}

TEST_F(ImportTest, ErrorsOfferTheLogFile) {
    const std::string path = Write(
        "bad.bib", "free text\nmore text\n@book{b, title = {T}}\n@string{s = 1}\n@string{s = 2}\n");
    const std::string log = (fs::path(dir) / "QVNImport.log").string();
    ui.answers.push_back(MsgResult::Yes);
    ui.saveFileAnswers.push_back(log);
    Import({path});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Import with 2 errors finished.Do you want to create a log file?");
    EXPECT_EQ(ui.messages[0].caption, "Import errors");
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::None);
    const FileDialogRequest& save = ui.fileRequests.back();
    EXPECT_EQ(save.filter, "BibTeX files (*.log)|*.log||");
    EXPECT_EQ(save.initialName, "QVNImport.log");
    EXPECT_TRUE(save.overwritePrompt);
    const std::string expected =
        "Quorvane Import Log File\r\n=========================\r\n\r\n"
        "File '" +
        path +
        "': 1 file, 1 strings, 2 errors.\r\n"
        "    - Import Error in line 1: '@' expected (File: " +
        path +
        ", Line: free text...).\r\n"
        "    - Could not add string '@string{s = 2}'. Key is already in use.\r\n";
    EXPECT_EQ(qvn::ReadWholeFile(log), expected);
}

TEST_F(ImportTest, NoLogWhenTheUserSaysNo) {
    const std::string path = Write("bad.bib", "junk\n");
    ui.answers.push_back(MsgResult::No);
    Import({path});
    EXPECT_EQ(ui.fileRequests.size(), 1u); // only the open dialog
    EXPECT_TRUE(doc.IsModified());
}

} // namespace
