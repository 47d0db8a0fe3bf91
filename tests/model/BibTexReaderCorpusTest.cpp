// Every real .bib file of the shared corpus is read without a crash, and what
// was read is a fixed point: its items and strings written as .bib text read
// back to the same keys, types, values and strings.
#include "model/BibTexReader.h"
#include "model/BibTexReaderTestUtil.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> files;
    const std::filesystem::path root(QVN_CORPUS_DIR);
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        return files;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".bib") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The text form of a string puts a value in braces unless it stands in one
// pair of delimiters or is a concatenation.
std::string WrittenValue(const std::string& value) {
    return CTexObject::IsOneGroup(value) || CTexObject::IsConcatenation(value)
               ? value
               : "{" + value + "}";
}

TEST(BibTexReaderCorpus, EveryFileReadsAndRoundTrips) {
    const std::vector<std::string> files = CorpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no .bib files found under " << QVN_CORPUS_DIR;
    }
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        CBibTexReader first(path);
        ASSERT_EQ(first.ReadFile(), 1);
        ASSERT_TRUE(first.GetItems().IsConsistent());

        std::string text = first.GetStrings().FormatStrings();
        first.GetItems().ForEachItem([&](const CBibTexEntry& item) { item.AppendText(text); });

        for (const bool asFile : {true, false}) {
            SCOPED_TRACE(asFile ? "read as file" : "read in memory");
            CBibTexReader second;
            if (asFile) {
                second.ReadFileContent(text);
            } else {
                second.ReadText(text);
            }
            EXPECT_TRUE(second.GetErrors().empty());
            EXPECT_EQ(readertest::DescribeItems(second.GetItems()),
                      readertest::DescribeItems(first.GetItems()));
            std::vector<std::string> expectedStrings;
            for (const auto& [abbreviation, value] : first.GetStrings()) {
                expectedStrings.push_back(abbreviation + "=" + WrittenValue(value));
            }
            EXPECT_EQ(readertest::DescribeStrings(second.GetStrings()), expectedStrings);
        }
    }
}

} // namespace
