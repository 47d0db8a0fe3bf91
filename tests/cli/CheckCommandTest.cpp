// Runs the built quorvane-cli and checks what `check` prints and returns.
#include "RunCli.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class CheckCommandTest : public ::testing::Test {
protected:
    testsupport::TempDir folder;
    std::string good = folder.Write("good.bib", "% refs\r\n@string{IEEE = {Institute}}\r\n"
                                                "@article{a,\r\n  title = {T}\r\n}\r\n");
    std::string bad = folder.Write("bad.bib", "free text\n@misc{k, note = {1}}\n@misc}\n"
                                              "@string{x = 1}\n@string{x = 2}\n");
};

TEST_F(CheckCommandTest, CleanFileExitsWithZero) {
    const CliRun run = RunCli({"check", good});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "File '" + good +
                           "': 1 file, 1 strings, 0 errors.\n"
                           "Import with 0 errors finished.\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(CheckCommandTest, ErrorsAreListedPerFileInOrder) {
    const CliRun run = RunCli({"check", bad, good});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "File '" + bad +
                           "': 1 file, 1 strings, 3 errors.\n"
                           "    - Import Error in line 1: '@' expected (File: " +
                           bad +
                           ", Line: free text...).\n"
                           "    - Import Error in line 3: '{' expected (File: " +
                           bad +
                           ").\n"
                           "    - Could not add string '@string{x = 2}'. Key is already in use.\n"
                           "File '" +
                           good +
                           "': 1 file, 1 strings, 0 errors.\n"
                           "Import with 3 errors finished.\n");
}

TEST_F(CheckCommandTest, UnreadableFileCountsNothingAndFails) {
    const std::string missing = folder.Path() + "/missing.bib";
    for (const std::string& path : {missing, folder.Path()}) {
        const CliRun run = RunCli({"check", path, good});
        EXPECT_EQ(run.exitCode, 1) << path;
        EXPECT_EQ(run.out, "File '" + path +
                               "': 0 file, 0 strings, 0 errors.\n"
                               "File '" +
                               good +
                               "': 1 file, 1 strings, 0 errors.\n"
                               "Import with 0 errors finished.\n")
            << path;
        EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
    }
}

TEST_F(CheckCommandTest, UsageErrorsExitWithTwo) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"check"}, std::vector<std::string>{"check", "--verbose"},
          std::vector<std::string>{"check", "--nonsense", good}}) {
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, 2) << args.back();
        EXPECT_EQ(run.out, "") << args.back();
        EXPECT_NE(run.err, "") << args.back();
    }
}

// What BibTeX could not read either is left out and named in the log, with
// or without --verbose; the never closed item at the end is an error.
TEST_F(CheckCommandTest, WhatWasLeftOutIsInTheLogVerboseAddsCounts) {
    const std::string dropped = folder.Write(
        "dropped.bib", "@comment{x}\n@9type{x}\n@misc{a, doi = {1}, 9name = {1}, note = {n}}\n"
                       "@misc{b,\n");
    const CliRun quiet = RunCli({"check", dropped});
    const CliRun verbose = RunCli({"check", "--verbose", dropped});
    EXPECT_EQ(quiet.exitCode, 1);
    EXPECT_EQ(verbose.exitCode, 1);
    EXPECT_EQ(verbose.out, quiet.out);
    EXPECT_EQ(quiet.out, "File '" + dropped +
                             "': 1 file, 0 strings, 1 errors.\n"
                             "    - Import Error in line 4: '}' expected (File: " +
                             dropped +
                             ").\n"
                             "    - Left out 1 entries of unknown types: 9type 1.\n"
                             "    - Left out 1 values of unknown fields: 9name 1.\n"
                             "Import with 1 errors finished.\n");
    EXPECT_EQ(quiet.err, "");
    EXPECT_NE(verbose.err.find("4 lines, 1 items and 0 strings read; left out 1 entries, 1 field "
                               "values and 0 items"),
              std::string::npos)
        << verbose.err;
}

} // namespace
