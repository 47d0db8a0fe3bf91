// Helpers shared by the reader's tests: a compact description of what a
// reader produced, so that table rows can state the expected result by hand.
#pragma once

#include "model/BibTexReader.h"
#include "model/Catalogue.h"

#include <cstdio>
#include <string>
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

} // namespace readertest
