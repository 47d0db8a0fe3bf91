// A field as searches, the replace command and the command-line tool name
// it: a catalogue field by its index, or a field outside the catalogue by its
// name. A catalogue name always means the catalogue field.
#pragma once

#include <string>
#include <string_view>

class CBibTexEntry;

class CFieldRef {
public:
    CFieldRef() = default;
    // A catalogue field; an index outside 0..37 gives an invalid reference.
    CFieldRef(int index) : m_index(index) {} // NOLINT(google-explicit-constructor)
    // The catalogue field of that name (any letter case), else the field
    // outside the catalogue named so.
    static CFieldRef FromName(std::string_view name);

    bool IsCatalogue() const;
    // A catalogue field, or a name BibTeX can read.
    bool IsValid() const;
    // The catalogue index, or -1.
    int GetIndex() const { return IsCatalogue() ? m_index : -1; }
    // The catalogue name, or the name as given.
    std::string_view GetName() const;

    // The item's value text of the field; empty when it has none.
    std::string_view ValueOf(const CBibTexEntry& item) const;
    // Stores a value the user typed (FormatValue). A field outside the
    // catalogue keeps its place and its name as the item writes it; an empty
    // text leaves such a field with an empty value ({}), since the field
    // itself is removed only on request.
    void StoreTyped(CBibTexEntry& item, std::string_view text) const;

    // Catalogue fields by index, other fields by name ignoring case.
    bool operator==(const CFieldRef& other) const;

private:
    int m_index = -1;
    std::string m_name;
};
