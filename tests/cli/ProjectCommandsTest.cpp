// The project commands of quorvane-cli, run as a user runs them.
#include "RunCli.h"
#include "TestSupport.h"
#include "model/FileIO.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class ProjectCommands : public ::testing::Test {
protected:
    std::string Path(const std::string& name) const { return folder.File(name); }
    std::string Write(const std::string& name, const std::string& text) const {
        return folder.Write(name, text);
    }
    testsupport::TempDir folder;
    std::string dir = folder.Path();
};

TEST_F(ProjectCommands, NewWritesTheExampleBytes) {
    const std::string p = Path("P.qvp");
    CliRun run = RunCli({"new", p, "--name", "P", "--location", "C:\\bib"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string expected("\0\0\0\0\0\0\x01P\x06"
                               "C:\\bib\x0bstrings.bib\0\0\0\0\0",
                               32);
    EXPECT_EQ(qvn::ReadWholeFile(p), expected);

    run = RunCli({"new", p});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(qvn::ReadWholeFile(p), expected) << "an existing file is never replaced silently";
    EXPECT_EQ(RunCli({"new", p, "--force", "--strings-file", "abbr.bib"}).exitCode, 0);
    run = RunCli({"info", p});
    EXPECT_EQ(run.out, "name: Untitled\nlocation: " + dir +
                           "\nstrings file: abbr.bib\n"
                           "export folder: \nfiles: 0\nitems: 0\nstrings: 0\n"
                           "other entry types: 0 (0 items)\nother fields: 0 (0 values)\n"
                           "preambles: 0\ncomments: 0\n");
}

// The strings file name rule of the new-project wizard: no project is made.
TEST_F(ProjectCommands, NewRefusesABadStringsFileName) {
    for (const char* name : {"evil.desktop", "strings", "sub/strings.bib", "../x.bib", "a:b.bib"}) {
        const std::string p = Path("s.qvp");
        const CliRun run = RunCli({"new", p, "--strings-file", name});
        EXPECT_EQ(run.exitCode, 2) << name;
        EXPECT_NE(run.err.find("Insert a valid name (ending with '.bib')"), std::string::npos)
            << run.err;
        EXPECT_FALSE(fs::exists(p)) << name;
    }
}

// A project file is untrusted: the strings file name it carries never
// decides what save-all writes.
TEST_F(ProjectCommands, ACraftedStringsFileNameIsReplacedOnOpen) {
    const std::string p = Path("s.qvp");
    const std::string out = Path("OUT");
    fs::create_directory(out);
    EXPECT_EQ(RunCli({"new", p, "--location", out, "--strings-file", "evil.desktop"}).exitCode, 2);
    ASSERT_EQ(RunCli({"new", p, "--location", out}).exitCode, 0);
    std::string bytes = qvn::ReadWholeFile(p);
    bytes.replace(bytes.find("\x0bstrings.bib"), 12, std::string(1, '\x0c') + "evil.desktop");
    Write("s.qvp", bytes);

    CliRun run = RunCli({"string", "add", p, "x", "[Desktop Entry]"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("Strings file 'evil.desktop' is now 'strings.bib'"), std::string::npos)
        << run.err;
    run = RunCli({"save-all", p});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "") << "the repaired name was saved with the string";
    EXPECT_FALSE(fs::exists(fs::path(out) / "evil.desktop"));
    EXPECT_EQ(qvn::ReadWholeFile((fs::path(out) / "strings.bib").string()),
              "@string{x = {[Desktop Entry]}}\r\n");
}

TEST_F(ProjectCommands, ImportListShowStrings) {
    const std::string bib = Write("refs.bib", "@string{jacm = {Journal of the ACM}}\n"
                                              "@article{b1, title={Second}, journal = jacm}\n"
                                              "@book{a1, title={First}, year = 1999}\n");
    const std::string p = Path("p.qvp");
    CliRun run = RunCli({"import", p, bib});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "File '" + bib +
                           "': 1 file, 1 strings, 0 errors.\n"
                           "Import with 0 errors finished.\n");
    run = RunCli({"list", p});
    EXPECT_EQ(run.out, "refs\tb1\tarticle\nrefs\ta1\tbook\n");
    run = RunCli({"show", p, "a1"});
    EXPECT_EQ(run.out, "@book{a1,\n  title = {First},\n  year = 1999\n}\n\n");
    run = RunCli({"show", p, "nope"});
    EXPECT_EQ(run.exitCode, 1);
    run = RunCli({"strings", p});
    EXPECT_EQ(run.out, "@string{jacm = {Journal of the ACM}}\n");
    run = RunCli({"list", p, "--file", "other"});
    EXPECT_EQ(run.exitCode, 1);
}

TEST_F(ProjectCommands, WhatTheCatalogueLacksIsKeptShownCountedSearchedAndReplaced) {
    const std::string bib =
        Write("zotero.bib", "@preamble{\"\\def\\x{X}\"}\n"
                            "@comment{groups}\n"
                            "@online{web1, title = {Page}, urldate = {2020-01-02}}\n"
                            "@article{a1, title = {T}, DOI = {10.1/abc},\n"
                            "  pmid = 42}\n");
    const std::string p = Path("p.qvp");
    CliRun run = RunCli({"import", p, bib});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    run = RunCli({"check", "--verbose", bib});
    EXPECT_NE(run.err.find("2 items and 0 strings read; left out 0 entries, 0 field values"),
              std::string::npos)
        << run.err;

    EXPECT_EQ(RunCli({"list", p}).out, "zotero\tweb1\tonline\nzotero\ta1\tarticle\n");
    EXPECT_EQ(RunCli({"show", p, "a1"}).out,
              "@article{a1,\n  title = {T},\n  DOI = {10.1/abc},\n  pmid = 42\n}\n\n");
    run = RunCli({"info", p});
    EXPECT_NE(run.out.find("items: 2\nstrings: 0\nother entry types: 1 (1 items)\n"
                           "other fields: 3 (3 values)\npreambles: 1\ncomments: 1\n"),
              std::string::npos)
        << run.out;

    run = RunCli({"search", p, "doi", "10.1/ABC"});
    EXPECT_EQ(run.out, "\"10.1/ABC\" (1 results) in \"doi\"\na1\n");
    run = RunCli({"replace", p, "UrlDate", "2020", "2021"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(RunCli({"show", p, "web1"}).out,
              "@online{web1,\n  title = {Page},\n  urldate = {2021-01-02}\n}\n\n");
}

TEST_F(ProjectCommands, ImportWithErrorsWritesTheLogAndExitsOne) {
    const std::string bib = Write("bad.bib", "oops\n@misc{m, note = {x}}\n");
    const std::string p = Path("p.qvp");
    const std::string log = Path("import.log");
    const CliRun run = RunCli({"import", p, bib, Path("missing.bib"), "--log", log});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "File '" + bib +
                           "': 1 file, 0 strings, 1 errors.\n"
                           "    - Import Error in line 1: '@' expected (File: " +
                           bib +
                           ", Line: oops...).\n"
                           "File '" +
                           Path("missing.bib") +
                           "': 0 file, 0 strings, 0 errors.\n"
                           "Import with 1 errors finished.\n");
    EXPECT_NE(run.err.find("missing.bib"), std::string::npos);
    const std::string logText = qvn::ReadWholeFile(log);
    EXPECT_EQ(logText.substr(0, 55),
              "Quorvane Import Log File\r\n=========================\r\n\r\n");
    EXPECT_NE(RunCli({"info", p}).out.find("items: 1\n"), std::string::npos);
}

TEST_F(ProjectCommands, UnreadableProjectsExitTwoWithTheMessage) {
    const std::string garbage = Write("bad.qvp", std::string("\x05\x00zz", 4));
    CliRun run = RunCli({"info", garbage});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("Unexpected file format."), std::string::npos) << run.err;
    run = RunCli({"info", Path("none.qvp")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("was not found."), std::string::npos) << run.err;
    run = RunCli({"list"});
    EXPECT_EQ(run.exitCode, 2);
    run = RunCli({"info", Path("x.qvp"), "--bogus"});
    EXPECT_EQ(run.exitCode, 2);
}

TEST_F(ProjectCommands, NewFromBibFilesImportsWithTheFirstFilesDefaults) {
    Write("refs.bib", "@string{jacm = \"Journal of the ACM\"}\n"
                      "@article{smith2000, author = {Smith, J.}, journal = jacm, year = 2000}\n");
    Write("more.bib",
          "@book{knuth84, author = {Knuth, D. E.}, title = {The TeXbook}, year = 1984}\n");
    // Relative names, as typed in the folder of the files.
    CliRun run = RunCli({"new", "refs.qvp", "--from", "refs.bib", "more.bib"}, dir);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Import with 0 errors finished."), std::string::npos) << run.out;
    run = RunCli({"info", Path("refs.qvp")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("name: refs\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("location: " + dir + "\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("strings file: refs-strings.bib\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("files: 2\nitems: 2\nstrings: 1\n"), std::string::npos) << run.out;

    // Given values win over the defaults.
    run = RunCli({"new", Path("t.qvp"), "--from", Path("more.bib"), "--name", "thesis",
                  "--strings-file", "abbr.bib"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = RunCli({"info", Path("t.qvp")});
    EXPECT_NE(run.out.find("name: thesis\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("location: " + dir + "\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("strings file: abbr.bib\n"), std::string::npos) << run.out;

    // A file that is not there makes no project.
    run = RunCli({"new", Path("m.qvp"), "--from", Path("refs.bib"), Path("missing.bib")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("cannot read " + Path("missing.bib")), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(Path("m.qvp")));
    EXPECT_EQ(RunCli({"new", Path("x.qvp"), "more.bib"}).exitCode, 2) << "more files need --from";
}

} // namespace
