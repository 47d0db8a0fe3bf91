// The project document's life cycle, import and model operations, driven by a
// scripted user-interaction host.
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "model/FileIO.h"
#include "project/CommandIds.h"
#include "project/QVNDoc.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { doc.AddObserver(&recorder); }
    // A document after start-up: the first new-project request has been made.
    void StartUp() { doc.OnFileNew(); }
    void MakeActive(const std::string& name = "P") {
        ui.wizardAnswers.push_back(NewProjectValues{name, dir.Path(), "strings.bib"});
        doc.OnFileNew();
    }

    ScriptedUi ui;
    CQVNDoc doc{&ui};
    HintRecorder recorder;
    TempDir dir;
};

TEST_F(DocumentTest, FirstNewRequestNeverRunsTheWizard) {
    StartUp();
    EXPECT_EQ(ui.wizardRuns, 0);
    EXPECT_FALSE(doc.IsProjectActive());
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    EXPECT_EQ(doc.GetSettings().GetProjectName(), "< unnamed >");
    MakeActive("Thesis");
    EXPECT_EQ(ui.wizardRuns, 1);
    EXPECT_TRUE(doc.IsProjectActive());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetSettings().GetName(), "Thesis");
    EXPECT_EQ(doc.GetSettings().GetLocation(), dir.Path());
}

TEST_F(DocumentTest, CancelledWizardLeavesAnEmptyInactiveProject) {
    StartUp();
    MakeActive();
    doc.AddString("a", "b", false);
    ui.answers.push_back(MsgResult::No); // "Save changes to Untitled?"
    doc.OnFileNew();                     // wizard cancelled: no answer queued
    EXPECT_EQ(ui.messages.back().text, "Save changes to Untitled?");
    EXPECT_FALSE(doc.IsProjectActive());
    EXPECT_TRUE(doc.IsProjectEmpty());
    bool handled = false;
    EXPECT_FALSE(doc.IsCommandEnabled(ID_BIBTEX_IMPORT, handled));
    EXPECT_TRUE(handled);
    EXPECT_FALSE(doc.IsCommandEnabled(ID_NEW_BIBTEX_ITEM, handled));
}

TEST_F(DocumentTest, CancelInTheSavePromptKeepsTheProject) {
    StartUp();
    MakeActive();
    doc.AddString("a", "b", false);
    ui.answers.push_back(MsgResult::Cancel);
    EXPECT_FALSE(doc.OnFileNew());
    EXPECT_TRUE(doc.IsProjectActive());
    EXPECT_EQ(doc.GetStrings().GetCount(), 1);
}

TEST_F(DocumentTest, StartedWithAFileTheFirstNewEmptiesWithoutWizard) {
    const std::string path = dir.File("p.qvp");
    {
        CQVNDoc other;
        other.StartProject({"Saved", dir.Path(), "strings.bib"});
        ASSERT_TRUE(other.SaveProject(path));
    }
    ASSERT_TRUE(doc.OnFileOpen(path));
    EXPECT_TRUE(doc.IsProjectActive());
    doc.OnFileNew();
    EXPECT_EQ(ui.wizardRuns, 0);
    EXPECT_FALSE(doc.IsProjectActive());
    doc.OnFileNew();
    EXPECT_EQ(ui.wizardRuns, 1);
}

TEST_F(DocumentTest, SaveAndOpenRoundTrip) {
    StartUp();
    MakeActive("");
    doc.AddString("jacm", "Journal of the ACM", false);
    auto item = std::make_unique<CBibTexEntry>("refs", "smith2000", 0);
    item->SetField(kFieldJournal, "jacm", true);
    doc.AddItem(std::move(item));
    const std::string path = dir.File("thesis.qvp");
    ui.saveFileAnswers.push_back(path);
    ASSERT_TRUE(doc.OnFileSave());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "thesis");
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(ui.recentFiles.back(), path);
    EXPECT_EQ(ui.fileRequests.back().filter, "Quorvane Project (*.qvp)|*.qvp||");

    CQVNDoc reread(&ui);
    ASSERT_TRUE(reread.OpenProject(path));
    EXPECT_TRUE(reread.IsProjectActive());
    EXPECT_FALSE(reread.IsModified());
    // Saved without a name: the title at the time of saving was stored.
    EXPECT_EQ(reread.GetSettings().GetProjectName(), "Untitled");
    EXPECT_EQ(reread.GetItems().Lookup("refs", "smith2000")->GetValue(kFieldJournal), "jacm");
    EXPECT_EQ(reread.SaveToBytes(), qvn::ReadWholeFile(path));
}

TEST_F(DocumentTest, EmptyLocationBecomesTheProjectFolderAfterReading) {
    CQVNDoc saved;
    saved.StartProject({"P", "", "strings.bib"});
    const std::string path = dir.File("p.qvp");
    ASSERT_TRUE(saved.SaveProject(path));
    // The file keeps the empty location; memory has the folder.
    EXPECT_EQ(saved.GetSettings().GetLocation(), dir.Path());
    ASSERT_TRUE(doc.OpenProject(path));
    EXPECT_EQ(doc.GetSettings().GetLocation(), dir.Path());
    EXPECT_EQ(doc.GetLocationText(), dir.Path());
}

TEST_F(DocumentTest, OpeningAnEmptyFileGivesAnActiveEmptyProject) {
    const std::string path = dir.File("empty.qvp");
    WriteBytes(path, "");
    ASSERT_TRUE(doc.OpenProject(path));
    EXPECT_TRUE(doc.IsProjectActive());
    EXPECT_TRUE(doc.IsProjectEmpty());
    EXPECT_EQ(doc.GetSettings().GetLocation(), "");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DocumentTest, OpenFailures) {
    StartUp();
    MakeActive("Current");
    doc.AddString("keep", "me", false);
    doc.SetModifiedFlag(false);

    // A file that cannot be opened: the current project stays as it was.
    EXPECT_FALSE(doc.OnFileOpen(dir.File("missing.qvp")));
    EXPECT_EQ(ui.messages.back().text, dir.File("missing.qvp") + " was not found.");
    EXPECT_TRUE(doc.IsProjectActive());
    EXPECT_EQ(doc.GetStrings().GetCount(), 1);
    EXPECT_FALSE(doc.IsModified());

    // A folder in place of a project file.
    EXPECT_FALSE(doc.OnFileOpen(dir.Path()));
    EXPECT_EQ(ui.messages.back().text, "Failed to open document.");
    EXPECT_EQ(doc.GetStrings().GetCount(), 1);

    // A file that does not fit the layout: message, then the new-project
    // wizard; cancelling it leaves an empty inactive project.
    const std::string bad = dir.File("bad.qvp");
    WriteBytes(bad, "\x05\x00garbage");
    const int wizardRuns = ui.wizardRuns;
    EXPECT_FALSE(doc.OnFileOpen(bad));
    EXPECT_EQ(ui.messages.back().text, "Unexpected file format.");
    EXPECT_EQ(ui.wizardRuns, wizardRuns + 1);
    EXPECT_FALSE(doc.IsProjectActive());
    EXPECT_TRUE(doc.IsProjectEmpty());
    EXPECT_EQ(doc.GetTitle(), "Untitled");
}

TEST_F(DocumentTest, FailedSaveKeepsTheOldFileAndTheModifiedFlag) {
    StartUp();
    MakeActive();
    const std::string path = dir.File("p.qvp");
    ASSERT_TRUE(doc.SaveProject(path));
    const std::string before = qvn::ReadWholeFile(path);
    // A full disk: a file size limit makes the write fail half way.
    for (int i = 0; i < 2000; ++i) {
        doc.AddString("s" + std::to_string(i), std::string(100, 'v'), false);
    }
    {
        FileSizeLimit limit(4096);
        EXPECT_FALSE(doc.OnFileSave());
    }
    EXPECT_EQ(ui.messages.back().text, "Disk full while accessing " + path + ".");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(qvn::ReadWholeFile(path), before);
    // Besides the project only its lock: the failed save replaced nothing,
    // so it kept no backup, and no temporary file is left behind.
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{".p.qvp.lock", "p.qvp"}));
}

TEST_F(DocumentTest, SavingIntoAMissingFolderFails) {
    StartUp();
    MakeActive();
    const std::string path = dir.File("missing/p.qvp");
    EXPECT_FALSE(doc.SaveProject(path));
    EXPECT_EQ(ui.messages.back().text, path + " was not found.");
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocumentTest, SavingOverAFolderFails) {
    StartUp();
    MakeActive();
    const std::string folder = dir.File("folder.qvp");
    fs::create_directory(folder);
    EXPECT_FALSE(doc.SaveProject(folder));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(DocumentTest, ModelOperationsMarkModifiedOnlyOnSuccess) {
    StartUp();
    MakeActive();
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(doc.DeleteItem("absent"));
    EXPECT_FALSE(doc.RemoveFile("absent"));
    EXPECT_FALSE(doc.AddItem(std::unique_ptr<CBibTexEntry>()));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.AddItem(std::make_unique<CBibTexEntry>("f", "k", 0)));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.AddString("s", "v", false));
    doc.SetModifiedFlag(false);
    EXPECT_FALSE(doc.AddString("s", "w", false));
    EXPECT_FALSE(doc.IsModified());
    recorder.hints.clear();
    EXPECT_TRUE(doc.RemoveFile("f"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(recorder.Kinds(), std::vector<UpdateHint>{UpdateHint::Change});
}

TEST_F(DocumentTest, ChangeItemKeyKeepsTheItemAndRefusesDuplicates) {
    StartUp();
    MakeActive();
    doc.AddItem(std::make_unique<CBibTexEntry>("a", "k1", 0));
    doc.AddItem(std::make_unique<CBibTexEntry>("b", "k2", 0));
    CBibTexEntry* item = doc.GetItems().FindKey("k1");
    EXPECT_FALSE(doc.ChangeItemKey(item, "k2"));
    EXPECT_TRUE(doc.ChangeItemKey(item, "new"));
    EXPECT_EQ(doc.GetItems().Lookup("a", "new"), item);
    EXPECT_TRUE(doc.GetItems().IsConsistent());
}

TEST_F(DocumentTest, SearchesNeverReachDeletedItems) {
    StartUp();
    MakeActive();
    for (const char* key : {"a1", "a2", "a3"}) {
        auto item = std::make_unique<CBibTexEntry>("f", key, 0);
        item->SetField(kFieldTitle, "{Smith}", true);
        doc.AddItem(std::move(item));
    }
    doc.AddItem(std::make_unique<CBibTexEntry>("g", "b1", 0));
    auto search = std::make_unique<CSearch>(&doc.GetItems(), "", true);
    search->AddField(kFieldTitle);
    ASSERT_EQ(search->Run(), 4);
    CSearch* kept = doc.GetSearches().Append(std::move(search));
    const std::string label = kept->GetLabel();
    doc.DeleteItem("a2");
    EXPECT_EQ(kept->GetResultCount(), 3);
    doc.RemoveFile("g");
    EXPECT_EQ(kept->GetResultCount(), 2);
    EXPECT_TRUE(doc.GetSearches().IsConsistent());
    EXPECT_EQ(kept->GetLabel(), label);
    ui.answers.push_back(MsgResult::No);
    doc.OnFileNew();
    EXPECT_EQ(doc.GetSearches().GetCount(), 0);
}

TEST_F(DocumentTest, StatusTexts) {
    StartUp();
    MakeActive();
    doc.AddFile("a");
    doc.AddFile("b");
    EXPECT_EQ(doc.GetFileCountText(), "\t2 files");
    EXPECT_EQ(doc.GetLocationText(), dir.Path());
    doc.GetSettings().SetLastExportFolder("/export");
    EXPECT_EQ(doc.GetLocationText(), "/export");
}

TEST_F(DocumentTest, ClearContentsResetsEverythingAndSendsHint4) {
    StartUp();
    MakeActive();
    doc.AddString("a", "b", false);
    doc.AddItem(std::make_unique<CBibTexEntry>("f", "k", 0));
    doc.GetSettings().SetLastExportFolder("/x");
    recorder.hints.clear();
    doc.ClearContents();
    EXPECT_TRUE(doc.IsProjectEmpty());
    EXPECT_FALSE(doc.IsProjectActive());
    EXPECT_EQ(doc.GetSettings(), CProjectSettings());
    EXPECT_EQ(recorder.Kinds(), std::vector<UpdateHint>{UpdateHint::Contents});
}

TEST_F(DocumentTest, UpdatesSkipTheSender) {
    HintRecorder other;
    doc.AddObserver(&other);
    doc.UpdateAllViews(&recorder, UpdateHint::Columns);
    EXPECT_TRUE(recorder.hints.empty());
    EXPECT_EQ(other.Kinds(), std::vector<UpdateHint>{UpdateHint::Columns});
}

} // namespace
