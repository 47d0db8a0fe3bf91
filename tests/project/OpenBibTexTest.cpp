// Starting from a .bib file instead of a project: the defaults the new
// project takes, the import, and where its first save goes.
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "model/FileIO.h"
#include "project/QVNDoc.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace fs = std::filesystem;

namespace {

const char* const kRefs = "@string{jacm = \"Journal of the ACM\"}\n"
                          "@article{smith2000,\n  author = {Smith, J.},\n  journal = jacm,\n"
                          "  year = 2000\n}\n";

class OpenBibTexTest : public ::testing::Test {
protected:
    void SetUp() override { doc.NewProject(); }

    std::string Write(const std::string& name, const std::string& text) {
        return folder.Write(name, text);
    }
    std::vector<std::string> Listing() const { return folder.Names(); }

    testsupport::TempDir folder;
    std::string dir = folder.Path();
    ScriptedUi ui;
    CQVNDoc doc{&ui};
};

TEST(BibTexPath, DefaultsComeFromTheFile) {
    struct Case {
        std::string path;
        NewProjectValues expected;
    };
    const std::string cwd = fs::current_path().string();
    const std::vector<Case> cases = {
        {"/home/ann/refs.bib", {"refs", "/home/ann", "refs-strings.bib"}},
        {"/home/ann/My Thesis.BIB", {"My Thesis", "/home/ann", "My Thesis-strings.bib"}},
        {"/home/ann/v1.2.bib", {"v1.2", "/home/ann", "v1.2-strings.bib"}},
        {"refs.bib", {"refs", cwd, "refs-strings.bib"}},
        {"sub/../refs.bib", {"refs", cwd, "refs-strings.bib"}},
    };
    for (const Case& c : cases) {
        const NewProjectValues values = CQVNDoc::ValuesForBibTexFile(c.path);
        EXPECT_EQ(values.name, c.expected.name) << c.path;
        EXPECT_EQ(values.location, c.expected.location) << c.path;
        EXPECT_EQ(values.stringsFileName, c.expected.stringsFileName) << c.path;
    }
    EXPECT_TRUE(CQVNDoc::IsBibTexPath("/a/refs.Bib"));
    EXPECT_FALSE(CQVNDoc::IsBibTexPath("/a/refs.qvp"));
    EXPECT_FALSE(CQVNDoc::IsBibTexPath(".bib"));
}

TEST_F(OpenBibTexTest, OpenDialogTakesABibFileAndMakesAnUnsavedProjectOfIt) {
    const std::string refs = Write("refs.bib", kRefs);
    const std::vector<std::string> before = Listing();
    ui.openFileAnswers.push_back({refs});
    ASSERT_TRUE(doc.OnFileOpen());
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].filter,
              "Quorvane projects and BibTeX files (*.qvp;*.bib)|*.qvp;*.bib|"
              "Quorvane Project (*.qvp)|*.qvp|BibTeX files (*.bib)|*.bib||");

    EXPECT_TRUE(doc.IsProjectActive());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), "");
    EXPECT_EQ(doc.GetTitle(), "refs");
    EXPECT_EQ(doc.GetSettings().GetProjectName(), "refs");
    EXPECT_EQ(doc.GetSettings().GetLocation(), dir);
    EXPECT_EQ(doc.GetSettings().GetStringsFile(), "refs-strings.bib");
    // The import, with its summary, as File > BibTeX format > Open does it.
    ASSERT_NE(doc.GetItems().Lookup("refs", "smith2000"), nullptr);
    EXPECT_EQ(*doc.GetStrings().FindString("jacm"), "Journal of the ACM");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Import with 0 errors finished.");
    EXPECT_EQ(ui.recentFiles.back(), refs);
    // Nothing is written beside the user's file before a save.
    EXPECT_EQ(Listing(), before);

    // The first save proposes the project file beside the .bib file.
    const std::string project = (fs::path(dir) / "refs.qvp").string();
    ui.saveFileAnswers.push_back(project);
    ASSERT_TRUE(doc.OnFileSave());
    EXPECT_EQ(ui.fileRequests.back().initialName, project);
    EXPECT_EQ(doc.GetPathName(), project);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(qvn::ReadWholeFile(refs), kRefs) << "the user's file is left as it was";

    CQVNDoc reread;
    ASSERT_TRUE(reread.OpenProject(project));
    EXPECT_EQ(reread.GetSettings().GetProjectName(), "refs");
    EXPECT_NE(reread.GetItems().Lookup("refs", "smith2000"), nullptr);
}

TEST_F(OpenBibTexTest, AModifiedProjectIsOfferedForSavingFirst) {
    doc.StartProject({"thesis", dir, "strings.bib"});
    const std::string refs = Write("refs.bib", kRefs);
    ui.answers.push_back(MsgResult::Cancel);
    EXPECT_FALSE(doc.OnFileOpen(refs));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Save changes to Untitled?");
    EXPECT_EQ(doc.GetSettings().GetProjectName(), "thesis");
    EXPECT_TRUE(doc.GetItems().Lookup("refs", "smith2000") == nullptr);
}

TEST_F(OpenBibTexTest, AFileThatCannotBeReadChangesNothing) {
    doc.StartProject({"thesis", dir, "strings.bib"});
    doc.SetModifiedFlag(false);
    const std::string refs = Write("refs.bib", kRefs);
    const std::string missing = (fs::path(dir) / "missing.bib").string();
    EXPECT_FALSE(doc.OpenBibTexFiles({refs, missing}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, missing + " was not found.");
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(doc.GetSettings().GetProjectName(), "thesis");
    EXPECT_EQ(doc.GetItems().GetFileCount(), 0);
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
