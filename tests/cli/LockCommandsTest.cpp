// quorvane-cli and a project that a desktop window holds open: commands that
// change it refuse (exit status 2) unless forced, reading goes on, and a
// lock left by a dead program is no obstacle.
#include "RunCli.h"
#include "TestSupport.h"
#include "model/FileIO.h"
#include "platform/ChildTask.h"
#include "project/LockFile.h"
#include "project/QVNDoc.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class LockCommands : public ::testing::Test {
protected:
    void SetUp() override {
        project = Path("p.qvp");
        bib = Path("refs.bib");
        std::ofstream(bib) << "@article{a1, title={A Title}}\n";
        ASSERT_EQ(RunCli({"import", project, bib}).exitCode, 0);
        before = qvn::ReadWholeFile(project);
    }
    std::string Path(const std::string& name) const { return folder.File(name); }

    testsupport::TempDir folder;
    std::string dir = folder.Path();
    std::string project;
    std::string bib;
    std::string before;
};

TEST_F(LockCommands, ChangesWaitWhileTheDesktopHoldsTheProject) {
    CLockFile window(CLockFile::PathFor(project));
    ASSERT_EQ(window.TryLock(CQVNDoc::kProgramName), CLockFile::Status::Acquired);
    const std::string refusal = "quorvane-cli: " + project + " is open in Quorvane (process " +
                                std::to_string(qvn::CurrentProcessId()) + " on " + qvn::HostName() +
                                "); close it there, or use --force to change it anyway\n";
    const std::vector<std::vector<std::string>> changing = {
        {"string", "add", project, "jacm", "Journal of the ACM"},
        {"string", "set", project, "jacm", "J. ACM"},
        {"string", "rename", project, "jacm", "JACM"},
        {"string", "delete", project, "jacm"},
        {"string", "delete-all", project},
        {"replace", project, "title", "A", "The"},
        {"import", project, bib},
    };
    for (const auto& args : changing) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, 2) << args[0] << " " << args[1];
        EXPECT_EQ(run.err, refusal) << args[0] << " " << args[1];
        EXPECT_EQ(qvn::ReadWholeFile(project), before);
    }
    // Reading needs no lock.
    EXPECT_EQ(RunCli({"list", project}).out, "refs\ta1\tarticle\n");
    EXPECT_EQ(RunCli({"info", project}).exitCode, 0);
    EXPECT_EQ(RunCli({"search", project, "title", "title"}).exitCode, 0);

    // Forced, the change is made; the desktop window notices it by the
    // file's content.
    const CliRun forced = RunCli({"string", "add", project, "jacm", "Journal", "--force"});
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_NE(qvn::ReadWholeFile(project), before);
    EXPECT_TRUE(window.IsLocked());
}

TEST_F(LockCommands, AnotherCommandAtWorkIsNamedAsSuch) {
    CLockFile other(CLockFile::PathFor(project));
    ASSERT_EQ(other.TryLock("quorvane-cli"), CLockFile::Status::Acquired);
    const CliRun run = RunCli({"string", "add", project, "x", "y"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("is being changed by another quorvane-cli"), std::string::npos)
        << run.err;
}

TEST_F(LockCommands, AStaleLockIsTakenOverAndNoLockStaysBehind) {
    const std::string lock = CLockFile::PathFor(project);
    std::ofstream(lock) << "999999\nquorvane\n" << qvn::HostName() << "\n";
    const CliRun run = RunCli({"string", "add", project, "jacm", "Journal of the ACM"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(fs::exists(lock));
    // The save kept the previous file.
    EXPECT_EQ(qvn::ReadWholeFile(CQVNDoc::BackupPathFor(project)), before);
}

} // namespace
