// Helpers shared by the reader's tests: a compact description of what a
// reader produced, so that table rows can state the expected result by hand.
#pragma once

#include "model/BibTexReader.h"
#include "model/Catalogue.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
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

// A folder of its own under the system's temporary folder, removed with
// everything in it at the end of the test.
class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qvn-reader-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // Writes `bytes` exactly as given to a file in the folder; returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = m_path + "/" + name;
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

private:
    std::string m_path;
};

} // namespace readertest
