#include "model/FileIO.h"

#include "TestSupport.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>

namespace {

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

TEST(FileIO, JoinPath) {
    const struct {
        const char* folder;
        const char* name;
        const char* expected;
    } cases[] = {
        {"a", "b", "a/b"},    {"a/", "b", "a/b"},       {"", "b", "b"},
        {"a\\", "b", "a\\b"}, {"/", "b.bib", "/b.bib"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qvn::JoinPath(c.folder, c.name), c.expected);
    }
}

TEST(FileIO, FolderAndNameOfPathAcceptBothSeparators) {
    const struct {
        const char* path;
        const char* folder;
        const char* name;
    } cases[] = {
        {"/home/u/refs.bib", "/home/u", "refs.bib"},
        {"C:\\bib\\refs.bib", "C:\\bib", "refs.bib"},
        {"a\\b/c", "a\\b", "c"},
        {"refs.bib", "", "refs.bib"},
        {"/refs.bib", "", "refs.bib"},
        {"dir/", "dir", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qvn::FolderOfPath(c.path), c.folder) << c.path;
        EXPECT_EQ(qvn::NameOfPath(c.path), c.name) << c.path;
    }
}

TEST(FileIO, IsSafeFileName) {
    const struct {
        std::string name;
        bool expected;
    } cases[] = {
        {"refs", true},   {"New File (1)", true},
        {"..refs", true}, {"refs..", true},
        {" ", true},      {"", false},
        {".", false},     {"..", false},
        {"a/b", false},   {"../evil", false},
        {"a\\b", false},  {std::string("a\0b", 3), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qvn::IsSafeFileName(c.name), c.expected) << c.name;
    }
}

TEST(FileIO, PathExistsAndIsDirectory) {
    TempDir folder;
    WriteBytes(folder.File("f"), "x");
    EXPECT_TRUE(qvn::PathExists(folder.File("f")));
    EXPECT_FALSE(qvn::IsDirectory(folder.File("f")));
    EXPECT_TRUE(qvn::IsDirectory(folder.Path()));
    EXPECT_FALSE(qvn::PathExists(folder.File("missing")));
    EXPECT_FALSE(qvn::PathExists(""));
    EXPECT_FALSE(qvn::PathExists(std::string("f\0x", 3)));
}

TEST(FileIO, WriteCreatesAndReplacesWithoutLeftovers) {
    TempDir folder;
    const std::string path = folder.File("refs.bib");
    qvn::WriteFileAtomically(path, "first");
    EXPECT_EQ(ReadBytes(path), "first");
    const std::string binary("a\0b\r\n", 5);
    qvn::WriteFileAtomically(path, binary);
    EXPECT_EQ(ReadBytes(path), binary);
    qvn::WriteFileAtomically(path, "");
    EXPECT_EQ(ReadBytes(path), "");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"refs.bib"});
}

TEST(FileIO, WriteKeepsThePermissionsOfTheFileItReplaces) {
    TempDir folder;
    const std::string path = folder.File("refs.bib");
    WriteBytes(path, "old");
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    qvn::WriteFileAtomically(path, "new");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(FileIO, WriteThroughASymbolicLinkReplacesItsTarget) {
    TempDir folder;
    const std::string target = folder.File("master.bib");
    const std::string link = folder.File("refs.bib");
    WriteBytes(target, "old");
    std::filesystem::create_symlink(target, link);
    qvn::WriteFileAtomically(link, "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(target), "new");
}

TEST(FileIO, ABackupLinkNamesThePreviousFileAndNothingElse) {
    namespace fs = std::filesystem;
    TempDir folder;
    const std::string project = folder.File("p.qvp");
    const std::string backup = folder.File("p.qvp.bak");
    WriteBytes(project, "first");
    WriteBytes(backup, "older");
    ASSERT_TRUE(qvn::LinkAsBackup(project, backup));
    qvn::WriteFileAtomically(project, "second");
    EXPECT_EQ(ReadBytes(backup), "first");
    EXPECT_EQ(ReadBytes(project), "second");
    EXPECT_EQ(folder.Names().size(), 2u); // no temporary name is left

    // Links on either side are followed, and stay links.
    const std::string real = folder.File("real.qvp");
    const std::string realBackup = folder.File("kept.bak");
    WriteBytes(real, "through a link");
    fs::create_symlink(real, folder.File("l.qvp"));
    fs::create_symlink(realBackup, folder.File("l.qvp.bak"));
    ASSERT_TRUE(qvn::LinkAsBackup(folder.File("l.qvp"), folder.File("l.qvp.bak")));
    EXPECT_TRUE(fs::is_symlink(folder.File("l.qvp.bak")));
    EXPECT_EQ(ReadBytes(realBackup), "through a link");

    // A backup that is already a second name of the project file (a save
    // failed after the link was made) stays so, and no name is left over.
    fs::remove(backup);
    fs::create_hard_link(project, backup);
    ASSERT_TRUE(qvn::LinkAsBackup(project, backup));
    EXPECT_EQ(ReadBytes(backup), "second");
    EXPECT_EQ(folder.Names().size(), 6u);

    // No previous file: nothing to keep, nothing changes.
    EXPECT_FALSE(qvn::LinkAsBackup(folder.File("none.qvp"), backup));
    EXPECT_EQ(ReadBytes(backup), "second");
    // A folder where the backup goes is an error naming it.
    fs::create_directory(folder.File("d.bak"));
    EXPECT_THROW(qvn::LinkAsBackup(project, folder.File("d.bak")), qvn::CFileError);
}

TEST(FileIO, WriteAcceptsTheLongestFileName) {
    TempDir folder;
    const std::string path = folder.File(std::string(251, 'n') + ".bib"); // 255 bytes
    qvn::WriteFileAtomically(path, "x");
    EXPECT_EQ(ReadBytes(path), "x");
    EXPECT_EQ(folder.Names().size(), 1u);
}

TEST(FileIO, WriteFailuresNameThePathAndTheCause) {
    TempDir folder;
    const std::string cases[] = {
        folder.File("missing/refs.bib"), // folder does not exist
        folder.Path(),                   // a folder, not a file
        "",
        std::string("a\0b", 3),
    };
    for (const std::string& path : cases) {
        try {
            qvn::WriteFileAtomically(path, "x");
            ADD_FAILURE() << "no error for " << path;
        } catch (const qvn::CFileError& error) {
            EXPECT_EQ(error.Path(), path);
            EXPECT_FALSE(error.Cause().empty());
        }
    }
    EXPECT_EQ(folder.Names(), std::vector<std::string>{});
}

TEST(FileIO, UnwritableFolderLeavesTheExistingFileIntact) {
    TempDir folder;
    const std::string path = folder.File("refs.bib");
    WriteBytes(path, "precious");
    testsupport::UnwritableFolder guard(folder.Path());
    if (!guard.Active()) {
        GTEST_SKIP() << "cannot make a folder unwritable here";
    }
    EXPECT_THROW(qvn::WriteFileAtomically(path, "replacement"), qvn::CFileError);
    EXPECT_EQ(ReadBytes(path), "precious");
}

// A write that fails halfway (as on a full disk) keeps the old file and
// leaves no temporary file behind.
TEST(FileIO, FailedWriteLeavesTheExistingFileIntact) {
    TempDir folder;
    const std::string path = folder.File("refs.bib");
    WriteBytes(path, "precious");
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        qvn::WriteFileAtomically(path, std::string(4096, 'x'));
    } catch (const qvn::CFileError& error) {
        threw = true;
        EXPECT_EQ(error.Path(), path);
    }
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_TRUE(threw);
    EXPECT_EQ(ReadBytes(path), "precious");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"refs.bib"});
}

TEST(FileIO, WriteTextFileUsesCrLf) {
    TempDir folder;
    const std::string path = folder.File("t.txt");
    qvn::WriteTextFile(path, "a\nb\n\n");
    EXPECT_EQ(ReadBytes(path), "a\r\nb\r\n\r\n");
}

TEST(FileIO, ReadWholeFile) {
    TempDir folder;
    const std::string bytes = std::string("x\0y", 3) + std::string(200000, 'z');
    WriteBytes(folder.File("f"), bytes);
    EXPECT_EQ(qvn::ReadWholeFile(folder.File("f")), bytes);
    WriteBytes(folder.File("empty"), "");
    EXPECT_EQ(qvn::ReadWholeFile(folder.File("empty")), "");
    EXPECT_THROW(qvn::ReadWholeFile(folder.File("missing")), qvn::CFileError);
    EXPECT_THROW(qvn::ReadWholeFile(folder.Path()), qvn::CFileError);
    EXPECT_THROW(qvn::ReadWholeFile(""), qvn::CFileError);
}

} // namespace
