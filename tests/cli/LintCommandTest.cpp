// quorvane-cli lint, run as a user runs it on .bib files and on a project.
#include "RunCli.h"
#include "TestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class LintCommand : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& text) const {
        return folder.Write(name, text);
    }
    testsupport::TempDir folder;
    std::string dir = folder.Path();
};

TEST_F(LintCommand, PrintsOneLinePerProblemOverAllFiles) {
    const std::string a = Write("a.bib", "@string{jacm = {J. ACM}}\n"
                                         "@article{x, author={A}, title={T}, journal=jacm, "
                                         "year=2001}\n"
                                         "@misc{y, crossref={conf}, note=undefined}\n");
    // The second file holds the crossref'd item and a key the first one
    // holds already: the line names the key as the file wrote it.
    const std::string b = Write("b.bib", "@proceedings{conf, title={P}, year=2001}\n"
                                         "@article{x, title={T}, journal=jacm, year=2001}\n");
    const CliRun run = RunCli({"lint", a, b});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, a + "\tx\tsame work as 'x' (same title and year)\n" + a +
                           "\ty\t'undefined' in 'note' is neither a defined string nor a month\n" +
                           b + "\tx\tkey is used before in " + a + "\n" + b +
                           "\tx\trequired field 'author' is empty\n" + b +
                           "\tx\tsame work as 'x' (same title and year)\n");
}

TEST_F(LintCommand, CleanFilesAndProjectsExitZero) {
    const std::string bib = Write("ok.bib", "@article{k, author={A}, title={T}, journal={J}, "
                                            "year=2001}\n");
    CliRun run = RunCli({"lint", bib});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "");

    const std::string project = (fs::path(dir) / "p.qvp").string();
    ASSERT_EQ(RunCli({"new", project}).exitCode, 0);
    ASSERT_EQ(RunCli({"import", project, bib}).exitCode, 0);
    run = RunCli({"lint", project});
    EXPECT_EQ(run.exitCode, 0) << run.err;

    const std::string bad = Write("bad.bib", "@article{k2, title={T2}, year=2001}\n");
    ASSERT_EQ(RunCli({"import", project, bad}).exitCode, 0);
    run = RunCli({"lint", project});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "bad\tk2\trequired field 'author' is empty\n"
                       "bad\tk2\trequired field 'journal' is empty\n");
}

TEST_F(LintCommand, CannotRunWithoutReadableInput) {
    EXPECT_EQ(RunCli({"lint"}).exitCode, 2);
    const CliRun run = RunCli({"lint", (fs::path(dir) / "missing.bib").string()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("missing.bib"), std::string::npos) << run.err;
    EXPECT_EQ(RunCli({"lint", (fs::path(dir) / "missing.qvp").string()}).exitCode, 2);
}

} // namespace
