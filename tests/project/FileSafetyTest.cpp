// Keeping the project file safe: the content signature, the lock beside the
// project file, changes other programs make to the file, the backup on each
// save and the recovery copy that survives a crash of the program.
#include "ForkedChild.h"
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "model/FileIO.h"
#include "model/FileSignature.h"
#include "platform/ChildTask.h"
#include "project/CommandIds.h"
#include "project/LockFile.h"
#include "project/QVNDoc.h"
#include "project/RecoveryCopy.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;
using namespace testsupport;
using std::chrono::milliseconds;

namespace {

// --- The content signature ---------------------------------------------------

TEST(FileSignature, HashMatchesThePublishedXxh64Values) {
    // Reference values of XXH64 with seed 0.
    EXPECT_EQ(qvn::ContentHash(""), 0xEF46DB3751D8E999ULL);
    EXPECT_EQ(qvn::ContentHash("a"), 0xD24EC4F1A98C6E5BULL);
    EXPECT_EQ(qvn::ContentHash("abc"), 0x44BC2CF5AD770999ULL);
    // Long enough for the four-lane loop.
    EXPECT_EQ(qvn::ContentHash(std::string(100, 'x')), 0x92F0DE5A88A3C094ULL);
}

TEST(FileSignature, BytesInPiecesHashAsAWhole) {
    std::string bytes;
    for (int i = 0; i < 1000; ++i) {
        bytes += static_cast<char>(i * 7919 % 251);
    }
    for (const std::size_t size : {0, 1, 31, 32, 33, 64, 100, 1000}) {
        const std::string_view whole = std::string_view(bytes).substr(0, size);
        for (const std::size_t piece : {1, 3, 8, 31, 32, 33, 1000}) {
            qvn::CContentHasher hasher;
            for (std::size_t at = 0; at < size; at += piece) {
                hasher.Update(whole.substr(at, piece));
            }
            EXPECT_EQ(hasher.Finish(), qvn::ContentHash(whole)) << size << " in " << piece;
        }
    }
    TempDir dir;
    EXPECT_EQ(CFileSignature::OfFile(dir.Write("f", bytes)), CFileSignature::Of(bytes));
}

TEST(FileSignature, TellsContentsApart) {
    const std::string base(4096, 'q');
    std::string sameSize = base;
    sameSize[2048] = 'r';
    std::string swapped = base;
    swapped[0] = 'x';
    swapped[4095] = 'x';
    std::string swappedBack = base;
    swappedBack[0] = 'x';
    swappedBack[4095] = 'x';
    EXPECT_EQ(CFileSignature::Of(base), CFileSignature::Of(std::string(4096, 'q')));
    EXPECT_NE(CFileSignature::Of(base), CFileSignature::Of(sameSize));
    EXPECT_NE(CFileSignature::Of(base), CFileSignature::Of(base + "q"));
    EXPECT_EQ(CFileSignature::Of(swapped), CFileSignature::Of(swappedBack));
    const CFileSignature s = CFileSignature::Of(sameSize);
    EXPECT_EQ(CFileSignature::FromText(s.ToText()), s);
    for (const char* bad : {"", "12", "12 zz", "x 1f", "12 1f ", "-1 1f"}) {
        EXPECT_FALSE(CFileSignature::FromText(bad).has_value()) << bad;
    }
}

// --- The lock file -----------------------------------------------------------

TEST(LockFile, HolderIsReadAndTheFileGoesWithTheLock) {
    TempDir dir;
    const std::string path = CLockFile::PathFor(dir.File("p.qvp"));
    EXPECT_EQ(qvn::NameOfPath(path), ".p.qvp.lock");
    CLockFile first(path);
    ASSERT_EQ(first.TryLock("quorvane"), CLockFile::Status::Acquired);
    CLockFile second(path);
    ASSERT_EQ(second.TryLock("quorvane-cli"), CLockFile::Status::Held);
    EXPECT_EQ(second.Holder().pid, qvn::CurrentProcessId());
    EXPECT_EQ(second.Holder().program, "quorvane");
    EXPECT_EQ(second.Holder().host, qvn::HostName());
    EXPECT_TRUE(second.Holder().IsThisProcess());
    first.Unlock();
    EXPECT_FALSE(qvn::PathExists(path));
    EXPECT_EQ(second.TryLock("quorvane-cli"), CLockFile::Status::Acquired);
}

TEST(LockFile, EveryWayToTheFileMeetsTheSameLock) {
    TempDir dir;
    const std::string real = dir.File("p.qvp");
    WriteBytes(real, "");
    fs::create_symlink(real, dir.File("link.qvp"));
    EXPECT_EQ(CLockFile::PathFor(dir.File("link.qvp")), CLockFile::PathFor(real));
    EXPECT_EQ(CLockFile::PathFor(dir.Path() + "/./p.qvp"), CLockFile::PathFor(real));
}

TEST(LockFile, StaleLocksOfDeadProcessesAreTakenOverSilently) {
    TempDir dir;
    const std::string path = CLockFile::PathFor(dir.File("p.qvp"));
    // A program that held the lock and was killed: its file stays behind.
    {
        ForkedChild holder([&] {
            static CLockFile lock(path);
            return lock.TryLock("quorvane") == CLockFile::Status::Acquired;
        });
        ASSERT_TRUE(holder.WaitReady());
        CLockFile probe(path);
        ASSERT_EQ(probe.TryLock("quorvane"), CLockFile::Status::Held);
        EXPECT_EQ(probe.Holder().pid, holder.Pid());
        EXPECT_FALSE(probe.Holder().IsThisProcess());
        holder.Kill();
    }
    ASSERT_TRUE(qvn::PathExists(path));
    CLockFile next(path);
    EXPECT_EQ(next.TryLock("quorvane"), CLockFile::Status::Acquired);
    EXPECT_EQ(CLockFile::ReadHolder(next.Descriptor()).pid, qvn::CurrentProcessId());

    // A lock file that names a process but is held by nobody.
    next.Unlock();
    WriteBytes(path, "999999\nquorvane\nelsewhere\n");
    CLockFile again(path);
    EXPECT_EQ(again.TryLock("quorvane"), CLockFile::Status::Acquired);
}

TEST(LockFile, AFolderThatTakesNoLockIsReported) {
    TempDir dir;
    CLockFile lock(CLockFile::PathFor(dir.File("missing/p.qvp")));
    EXPECT_EQ(lock.TryLock("quorvane"), CLockFile::Status::Unavailable);
    EXPECT_FALSE(lock.IsLocked());
}

// --- The document ------------------------------------------------------------

class FileSafetyTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.File("p.qvp");
        CQVNDoc writer;
        writer.StartProject({"P", dir.Path(), "strings.bib"});
        writer.AddString("jrnl", "old", false);
        ASSERT_TRUE(writer.SaveProject(path));
        original = qvn::ReadWholeFile(path);
    }
    // Opens the project in `doc` (which becomes the first request's new
    // project first, as after start-up).
    void Open() {
        doc.OnFileNew();
        ASSERT_TRUE(doc.OpenProject(path));
        ui.messages.clear();
    }
    // Another program writes the project file: the same bytes with the
    // string's value changed, keeping the size and the time stamps.
    void ChangeBehindTheBack(const std::string& from = "old", const std::string& to = "new") {
        struct stat before {};
        ASSERT_EQ(::stat(path.c_str(), &before), 0);
        std::string bytes = qvn::ReadWholeFile(path);
        const std::size_t at = bytes.find(from);
        ASSERT_NE(at, std::string::npos);
        bytes.replace(at, from.size(), to);
        WriteBytes(path, bytes);
        const timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    std::string StringValue() {
        std::string value;
        doc.LookupString("jrnl", value);
        return value;
    }

    TempDir dir;
    std::string path;
    std::string original;
    ScriptedUi ui;
    CQVNDoc doc{&ui};
};

constexpr const char* kOutsideChange =
    "The project file has been changed by another program. Reload it (your unsaved changes are "
    "lost), save yours over it, or cancel?";

TEST_F(FileSafetyTest, SavingAfterAnOutsideChangeAsks) {
    struct Case {
        MsgResult answer;
        bool saved;
        const char* valueAfter; // in the document
        const char* fileHas;    // the string's value in the file
        bool modifiedAfter;
    };
    const Case cases[] = {
        {MsgResult::Reload, false, "new", "new", false},
        {MsgResult::SaveOver, true, "mine", "mine", false},
        {MsgResult::Cancel, false, "mine", "new", true},
    };
    for (const Case& c : cases) {
        WriteBytes(path, original);
        ScriptedUi caseUi;
        CQVNDoc window(&caseUi);
        window.OnFileNew();
        ASSERT_TRUE(window.OpenProject(path));
        window.AddString("jrnl", "mine", true);
        ChangeBehindTheBack();
        caseUi.answers.push_back(c.answer);
        EXPECT_EQ(window.OnFileSave(), c.saved);
        ASSERT_FALSE(caseUi.messages.empty());
        EXPECT_EQ(caseUi.messages.front().text, kOutsideChange);
        EXPECT_EQ(caseUi.messages.front().buttons, MsgButtons::ReloadSaveOverCancel);
        std::string value;
        window.LookupString("jrnl", value);
        EXPECT_EQ(value, c.valueAfter);
        EXPECT_EQ(window.IsModified(), c.modifiedAfter);
        CQVNDoc reader;
        ASSERT_TRUE(reader.OpenProject(path));
        std::string inFile;
        reader.LookupString("jrnl", inFile);
        EXPECT_EQ(inFile, c.fileHas);
        if (c.saved) {
            // The other program's version is the backup.
            EXPECT_NE(qvn::ReadWholeFile(CQVNDoc::BackupPathFor(path)).find("new"),
                      std::string::npos);
        }
        window.SetModifiedFlag(false);
    }
}

TEST_F(FileSafetyTest, OwnSavesAndUntouchedFilesAskNothing) {
    Open();
    doc.AddString("more", "x", false);
    ASSERT_TRUE(doc.OnFileSave());
    doc.AddString("again", "y", false);
    ASSERT_TRUE(doc.OnFileSave());
    doc.CheckForOutsideChange();
    EXPECT_TRUE(ui.messages.empty());
    // A file deleted behind the back is simply written again.
    fs::remove(path);
    doc.AddString("last", "z", false);
    EXPECT_TRUE(doc.OnFileSave());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FileSafetyTest, FocusReloadsAnUnmodifiedProjectAndAsksOtherwise) {
    Open();
    ChangeBehindTheBack();
    doc.CheckForOutsideChange();
    EXPECT_TRUE(ui.messages.empty()) << "nothing of the user's is at stake";
    EXPECT_EQ(StringValue(), "new");
    EXPECT_FALSE(doc.IsModified());

    doc.AddString("jrnl", "mine", true);
    ChangeBehindTheBack("new", "two");
    ui.answers.push_back(MsgResult::Cancel);
    doc.CheckForOutsideChange();
    ASSERT_EQ(ui.Texts(), std::vector<std::string>{kOutsideChange});
    // Left for now: not asked again on every focus, but before saving.
    doc.CheckForOutsideChange();
    EXPECT_EQ(ui.messages.size(), 1u);
    ui.answers.push_back(MsgResult::SaveOver);
    EXPECT_TRUE(doc.OnFileSave());
    EXPECT_EQ(ui.messages.size(), 2u);
    // A new change asks again; Reload takes it.
    ChangeBehindTheBack("mine", "mond");
    doc.AddString("other", "v", false);
    ui.answers.push_back(MsgResult::Reload);
    doc.CheckForOutsideChange();
    EXPECT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(StringValue(), "mond");
    EXPECT_FALSE(doc.GetStrings().HasString("other"));
}

TEST_F(FileSafetyTest, AnUnreadableChangeNeverCostsTheProject) {
    Open();
    doc.AddString("mine", "kept", false);
    WriteBytes(path, original.substr(0, original.size() / 2));
    ui.answers.push_back(MsgResult::Reload);
    doc.CheckForOutsideChange();
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(ui.messages.back().text.find("cannot be read"), std::string::npos);
    EXPECT_TRUE(doc.IsProjectActive());
    EXPECT_TRUE(doc.GetStrings().HasString("mine"));
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(FileSafetyTest, EachSaveKeepsThePreviousFileAsBackup) {
    Open();
    const std::string backup = CQVNDoc::BackupPathFor(path);
    EXPECT_EQ(qvn::NameOfPath(backup), "p.qvp.bak");
    doc.AddString("a", "1", false);
    ASSERT_TRUE(doc.OnFileSave());
    EXPECT_EQ(qvn::ReadWholeFile(backup), original);
    const std::string second = qvn::ReadWholeFile(path);
    doc.AddString("b", "2", false);
    ASSERT_TRUE(doc.OnFileSave());
    EXPECT_EQ(qvn::ReadWholeFile(backup), second);

    // Turned off: the backup stays as it was.
    doc.SetKeepBackup(false);
    doc.AddString("c", "3", false);
    ASSERT_TRUE(doc.OnFileSave());
    EXPECT_EQ(qvn::ReadWholeFile(backup), second);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FileSafetyTest, ABackupThatCannotBeWrittenIsReportedAfterTheSave) {
    Open();
    fs::create_directory(CQVNDoc::BackupPathFor(path));
    doc.AddString("a", "1", false);
    ASSERT_TRUE(doc.OnFileSave());
    EXPECT_FALSE(doc.IsModified());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text.rfind("The project has been saved, but its backup " +
                                            CQVNDoc::BackupPathFor(path) + " could not be written",
                                        0),
              0u)
        << ui.messages[0].text;
}

// --- A project held open by another program ------------------------------------

// Another Quorvane holding the project open.
struct OtherWindow {
    explicit OtherWindow(const std::string& project)
        : child([project] {
              static CLockFile lock(CLockFile::PathFor(project));
              return lock.TryLock("quorvane") == CLockFile::Status::Acquired;
          }) {}
    ForkedChild child;
};

TEST_F(FileSafetyTest, AHeldProjectOpensReadOnlyOrNotAtAll) {
    OtherWindow other(path);
    ASSERT_TRUE(other.child.WaitReady());
    const std::string question = "'p.qvp' is open in another Quorvane window (process " +
                                 std::to_string(other.child.Pid()) + " on " + qvn::HostName() +
                                 ").\nOpen it read-only?";

    doc.OnFileNew();
    ui.answers.push_back(MsgResult::Cancel);
    EXPECT_FALSE(doc.OnFileOpen(path));
    ASSERT_EQ(ui.Texts(), std::vector<std::string>{question});
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::ReadOnlyCancel);
    EXPECT_FALSE(doc.IsProjectActive());

    ui.answers.push_back(MsgResult::ReadOnly);
    ASSERT_TRUE(doc.OnFileOpen(path));
    EXPECT_TRUE(doc.IsReadOnly());
    EXPECT_EQ(doc.GetTitle(), "p");
    // Every change is refused; looking, searching and exporting stay.
    EXPECT_FALSE(doc.AddString("x", "y", false));
    EXPECT_FALSE(doc.AddItem(std::make_unique<CBibTexEntry>("f", "k", 0)));
    EXPECT_FALSE(doc.AddFile("f"));
    EXPECT_FALSE(doc.IsModified());
    bool handled = false;
    for (int id : {ID_FILE_SAVE, ID_NEW_STRING, ID_BIBTEX_IMPORT, ID_EDIT_REPLACE,
                   ID_PROJECT_SETTINGS, ID_DELETE_ALL_STRINGS, ID_NEW_BIBTEX_ITEM}) {
        EXPECT_FALSE(doc.IsCommandEnabled(id, handled)) << id;
        EXPECT_TRUE(CQVNDoc::IsEditingCommand(id)) << id;
    }
    for (int id : {ID_FILE_SAVE_AS, ID_SEARCH, ID_BIBTEX_SAVE_ALL, ID_BIBTEX_SAVE_AS}) {
        EXPECT_TRUE(doc.IsCommandEnabled(id, handled)) << id;
    }
    // Save goes to Save As; the other window's file cannot be the target.
    ui.saveFileAnswers.push_back(path);
    EXPECT_FALSE(doc.OnFileSave());
    EXPECT_EQ(ui.fileRequests.back().initialName, path);
    EXPECT_NE(ui.messages.back().text.find("cannot be saved there"), std::string::npos);
    EXPECT_EQ(qvn::ReadWholeFile(path), original);

    // Saved under another name, the project is this window's own.
    const std::string copy = dir.File("copy.qvp");
    ui.saveFileAnswers.push_back(copy);
    ASSERT_TRUE(doc.OnFileSave());
    EXPECT_FALSE(doc.IsReadOnly());
    EXPECT_TRUE(doc.AddString("x", "y", false));
    EXPECT_TRUE(qvn::PathExists(CLockFile::PathFor(copy)));
}

TEST_F(FileSafetyTest, AProjectLeftByADeadProgramOpensWithoutAWord) {
    {
        OtherWindow other(path);
        ASSERT_TRUE(other.child.WaitReady());
        other.child.Kill();
    }
    ASSERT_TRUE(qvn::PathExists(CLockFile::PathFor(path)));
    Open();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(doc.IsReadOnly());
    // Closing the project lets the lock go.
    doc.OnFileNew();
    EXPECT_FALSE(qvn::PathExists(CLockFile::PathFor(path)));
}

// --- Recovery copies ---------------------------------------------------------

class RecoveryTest : public FileSafetyTest {
protected:
    void SetUp() override {
        FileSafetyTest::SetUp();
        folder = dir.File("recovery");
        doc.SetRecoveryFolder(folder);
        doc.SetRecoveryTiming(milliseconds(0), milliseconds(0));
    }
    // Writes the document's recovery copy and waits until it is on disk.
    static std::string WriteCopy(CQVNDoc& d) {
        d.MaintainRecoveryCopy();
        return d.WaitForRecoveryCopy() ? d.GetRecoveryCopyPath() : std::string();
    }
    std::string folder;
};

TEST_F(RecoveryTest, ACopyIsWrittenForUnsavedChangesOnlyAndGoesWithThem) {
    Open();
    doc.MaintainRecoveryCopy();
    EXPECT_TRUE(doc.GetRecoveryCopyPath().empty()) << "nothing unsaved";
    doc.AddString("a", "1", false);
    const std::string copy = WriteCopy(doc);
    ASSERT_FALSE(copy.empty());
    EXPECT_EQ(qvn::ReadWholeFile(copy), doc.SaveToBytes()) << "the project file's own format";

    // Not written again before the interval has passed.
    doc.SetRecoveryTiming(milliseconds(0), milliseconds(3600000));
    doc.AddString("b", "2", false);
    doc.MaintainRecoveryCopy();
    doc.WaitForRecoveryCopy();
    EXPECT_NE(qvn::ReadWholeFile(copy), doc.SaveToBytes());
    // Nor before editing has paused.
    doc.SetRecoveryTiming(milliseconds(3600000), milliseconds(0));
    doc.MaintainRecoveryCopy();
    doc.WaitForRecoveryCopy();
    EXPECT_NE(qvn::ReadWholeFile(copy), doc.SaveToBytes());

    // A save removes it; so does closing.
    ASSERT_TRUE(doc.OnFileSave());
    EXPECT_FALSE(qvn::PathExists(copy));
    EXPECT_TRUE(fs::is_empty(folder));
    doc.SetRecoveryTiming(milliseconds(0), milliseconds(0));
    doc.AddString("c", "3", false);
    ASSERT_FALSE(WriteCopy(doc).empty());
    ui.answers.push_back(MsgResult::No); // "Save changes to p?"
    doc.OnFileNew();
    EXPECT_TRUE(fs::is_empty(folder));
}

// A program that opened the project, changed it, wrote its recovery copy
// and was killed.
void CrashWithUnsavedChanges(const std::string& path, const std::string& folder,
                             const std::string& value) {
    ForkedChild crashed([&] {
        static ScriptedUi childUi;
        static CQVNDoc child(&childUi);
        child.SetRecoveryFolder(folder);
        child.SetRecoveryTiming(milliseconds(0), milliseconds(0));
        child.OnFileNew();
        if (!child.OpenProject(path) || !child.AddString("jrnl", value, true)) {
            return false;
        }
        child.MaintainRecoveryCopy();
        return child.WaitForRecoveryCopy();
    });
    ASSERT_TRUE(crashed.WaitReady());
    crashed.Kill();
}

TEST_F(RecoveryTest, ChangesOfACrashedProgramAreOfferedAndRestored) {
    CrashWithUnsavedChanges(path, folder, "unsaved");
    // The next start offers them.
    doc.OnFileNew();
    ui.answers.push_back(MsgResult::Yes);
    ASSERT_TRUE(doc.OfferRecovery());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(std::regex_match(
        ui.messages[0].text,
        std::regex("Quorvane found unsaved changes to 'p' from "
                   "[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}\\. Restore them\\?")))
        << ui.messages[0].text;
    EXPECT_EQ(ui.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(StringValue(), "unsaved");
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.IsProjectActive());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_EQ(doc.GetTitle(), "p");
    EXPECT_FALSE(doc.IsReadOnly());
    EXPECT_EQ(qvn::ReadWholeFile(path), original) << "nothing is saved before the user saves";
    // Saving writes the restored changes and removes the copy.
    ASSERT_TRUE(doc.OnFileSave());
    EXPECT_TRUE(fs::is_empty(folder));
    CQVNDoc reader;
    ASSERT_TRUE(reader.OpenProject(path));
    std::string value;
    reader.LookupString("jrnl", value);
    EXPECT_EQ(value, "unsaved");
}

TEST_F(RecoveryTest, OpeningTheProjectOffersItsCopyAndNoDiscardsIt) {
    CrashWithUnsavedChanges(path, folder, "unsaved");
    doc.OnFileNew();
    ui.answers.push_back(MsgResult::No);
    ASSERT_TRUE(doc.OpenProject(path));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].text.find("unsaved changes to 'p'"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(StringValue(), "old");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.OfferRecovery());
    EXPECT_EQ(ui.messages.size(), 1u) << "asked once";
}

TEST_F(RecoveryTest, CopiesOfRunningProgramsAreNotOffered) {
    CQVNDoc running(&ui);
    running.SetRecoveryFolder(folder);
    running.SetRecoveryTiming(milliseconds(0), milliseconds(0));
    running.OnFileNew();
    ASSERT_TRUE(running.OpenProject(path));
    running.AddString("a", "b", false);
    ASSERT_FALSE(WriteCopy(running).empty());
    doc.OnFileNew();
    EXPECT_FALSE(doc.OfferRecovery());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(running.GetRecoveryCopyPath().empty());
}

TEST_F(RecoveryTest, ARestoredProjectStillNoticesAChangeMadeAfterTheCrash) {
    CrashWithUnsavedChanges(path, folder, "unsaved");
    ChangeBehindTheBack("old", "new");
    doc.OnFileNew();
    ui.answers = {MsgResult::Yes, MsgResult::Cancel};
    ASSERT_TRUE(doc.OfferRecovery());
    EXPECT_FALSE(doc.OnFileSave());
    EXPECT_EQ(ui.messages.back().text, kOutsideChange);
}

TEST_F(RecoveryTest, AnUntitledProjectIsRestoredUntitled) {
    ForkedChild crashed([&] {
        static ScriptedUi childUi;
        static CQVNDoc child(&childUi);
        child.SetRecoveryFolder(folder);
        child.SetRecoveryTiming(milliseconds(0), milliseconds(0));
        child.StartProject({"Fresh", dir.Path(), "strings.bib"});
        child.AddString("s", "v", false);
        child.MaintainRecoveryCopy();
        return child.WaitForRecoveryCopy();
    });
    ASSERT_TRUE(crashed.WaitReady());
    crashed.Kill();
    doc.OnFileNew();
    ui.answers.push_back(MsgResult::Yes);
    ASSERT_TRUE(doc.OfferRecovery());
    EXPECT_NE(ui.messages[0].text.find("'Untitled'"), std::string::npos);
    EXPECT_EQ(doc.GetTitle(), "Untitled");
    EXPECT_TRUE(doc.GetPathName().empty());
    EXPECT_EQ(doc.GetSettings().GetName(), "Fresh");
    EXPECT_TRUE(doc.GetStrings().HasString("s"));
}

TEST(RecoveryTime, IsShownInLocalTime) {
    const char* old = std::getenv("TZ");
    const std::string saved = old != nullptr ? old : "";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    EXPECT_EQ(qvn::FormatLocalTime(0), "1970-01-01 00:00");
    EXPECT_EQ(qvn::FormatLocalTime(1700000000), "2023-11-14 22:13");
    if (old != nullptr) {
        ::setenv("TZ", saved.c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}

} // namespace
