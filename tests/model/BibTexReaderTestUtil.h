// Helpers shared by the reader's tests: a compact description of what a
// reader produced, so that table rows can state the expected result by hand.
#pragma once

#include "model/BibTexReader.h"
#include "model/Catalogue.h"
#include "model/FileIO.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace readertest {

// One item as "type/key: field=value; field=value" in catalogue field order,
// then its other fields in their order.
inline std::string Describe(const CBibTexEntry& item) {
    std::string out(item.GetTypeName());
    out += '/';
    out += item.GetKey();
    out += ':';
    const char* separator = " ";
    item.ForEachValue([&](int index, std::string_view text) {
        if (index >= kFieldCount) {
            return;
        }
        out += separator;
        out += FieldName(index);
        out += '=';
        out += text;
        separator = "; ";
    });
    item.ForEachOtherField([&](std::string_view name, std::string_view text) {
        out += separator;
        out += name;
        out += '=';
        out += text;
        separator = "; ";
    });
    return out;
}

inline std::vector<std::string> DescribeItems(const CBibTexMap& items) {
    std::vector<std::string> out;
    items.ForEachItem([&](const CBibTexEntry& item) { out.push_back(Describe(item)); });
    return out;
}

// The strings as "abbreviation=value text" in table order.
inline std::vector<std::string> DescribeStrings(const CBibTexStringTable& strings) {
    std::vector<std::string> out;
    for (const auto& [abbreviation, value] : strings) {
        out.push_back(abbreviation + "=" + value);
    }
    return out;
}

// Everything a reading of a file gave, in a form gtest compares and prints.
struct Reading {
    int result = 0;
    std::vector<std::string> items; // file name, then Describe
    std::vector<std::string> strings;
    std::vector<std::string> blocks;
    std::vector<std::string> errors;
    std::vector<std::string> leftOut;
    std::int64_t lines = 0;
    int state = 0;
    bool cancelled = false;
    std::vector<std::pair<std::size_t, std::size_t>> progress;
};

// Reads the file at `path`: with `pieceSize` 0 its whole bytes from memory,
// else from disk in pieces of that size. The progress stops reading at its
// call number `cancelAt` (from 1; 0 never).
inline Reading ReadBibFile(const std::string& path, std::size_t pieceSize, int cancelAt = 0) {
    Reading out;
    CBibTexReader reader(path);
    reader.SetProgress([&](std::size_t done, std::size_t total) {
        out.progress.emplace_back(done, total);
        return static_cast<int>(out.progress.size()) != cancelAt;
    });
    if (pieceSize == 0) {
        out.result = reader.ReadFileContent(qvn::ReadWholeFile(path));
    } else {
        reader.SetPieceSize(pieceSize);
        out.result = reader.ReadFile();
    }
    reader.GetItems().ForEachItem([&](const CBibTexEntry& item) {
        out.items.push_back(item.GetFileName() + ": " + Describe(item));
    });
    out.strings = DescribeStrings(reader.GetStrings());
    if (const auto* blocks = reader.GetItems().GetBlocks(CBibTexReader::FileNameFromPath(path))) {
        for (const CBibTexBlock& block : *blocks) {
            out.blocks.push_back(block.text);
        }
    }
    out.errors = reader.GetErrors();
    out.leftOut = FormatLeftOut(reader.GetStats());
    out.lines = reader.GetLineNumber();
    out.state = reader.GetState();
    out.cancelled = reader.WasCancelled();
    return out;
}

inline void ExpectSameReading(const Reading& actual, const Reading& expected) {
    EXPECT_EQ(actual.result, expected.result);
    EXPECT_EQ(actual.items, expected.items);
    EXPECT_EQ(actual.strings, expected.strings);
    EXPECT_EQ(actual.blocks, expected.blocks);
    EXPECT_EQ(actual.errors, expected.errors);
    EXPECT_EQ(actual.leftOut, expected.leftOut);
    EXPECT_EQ(actual.lines, expected.lines);
    EXPECT_EQ(actual.state, expected.state);
    EXPECT_EQ(actual.cancelled, expected.cancelled);
    EXPECT_EQ(actual.progress, expected.progress);
}

} // namespace readertest
