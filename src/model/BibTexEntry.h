// One BibTeX item: entry type, citation key, the BibTeX file it belongs to,
// one value text per catalogue field, and whatever else its .bib text held:
// the name of an entry type outside the catalogue and the fields outside the
// catalogue ("other fields") in the order they came.
#pragma once

#include "model/Catalogue.h"
#include "model/FieldValues.h"
#include "model/TexObject.h"

#include <cstdint>
#include <string>
#include <string_view>

class CBibTexEntry : public CTexObject {
public:
    // A new item has 39 value slots (one spare); a copy has 38.
    static constexpr int kNewValueCount = kFieldCount + 1;
    // GetType() of an item whose entry type the catalogue lacks.
    static constexpr int kOtherType = -1;

    CBibTexEntry();
    CBibTexEntry(std::string fileName, std::string key, int type);
    CBibTexEntry(const CBibTexEntry& other);
    CBibTexEntry& operator=(const CBibTexEntry&) = delete;

    void Serialize(CArchive& archive) override;
    // Copies file name, key, type and the values of the 38 catalogue fields
    // and of the other fields.
    virtual void CopyFrom(const CBibTexEntry& other);
    // Makes this item equal to `other` in everything, its value slots
    // included (what taking back a change needs).
    void RestoreFrom(const CBibTexEntry& other);

    const std::string& GetKey() const { return m_key; }
    void SetKey(std::string key) { m_key = std::move(key); }
    const std::string& GetFileName() const { return m_fileName; }
    void SetFileName(std::string name) { m_fileName = std::move(name); }
    // The catalogue index of the entry type, or kOtherType.
    int GetType() const { return m_type; }
    // A catalogue type; a type name outside the catalogue is dropped.
    void SetType(int type);
    // The catalogue name of the type, or the name of a type outside it.
    std::string_view GetTypeName() const;
    // Sets the type by name: a catalogue name (any letter case) sets that
    // type; any other valid BibTeX name is kept in lower case, except the
    // commands string, preamble and comment. False (nothing changes) for an
    // invalid name.
    bool SetTypeName(std::string_view name);
    bool HasOtherType() const { return m_type == kOtherType; }

    // Value text as stored, delimiters included; empty when unset. The view
    // stays valid until the item's values change.
    std::string_view GetValue(int index) const;
    // The value shown to the user: stored text without one pair of outer
    // delimiters that enclose it whole.
    std::string GetField(int index) const;
    // Stores `text` unchanged when `raw`, else FormatValue(text). Returns
    // whether the field is required or optional for the item's type; the value
    // is stored either way.
    bool SetField(int index, std::string_view text, bool raw);

    // Number of value slots (38 or 39, or what a project file stored).
    int GetValueCount() const { return m_valueCount; }
    // Used when reading a project file; at least 38 slots are kept.
    void SetValueCount(int count);

    // --- Other fields: names compared ignoring letter case, kept as written.
    int GetOtherFieldCount() const { return static_cast<int>(m_values.GetOtherCount()); }
    std::string_view GetOtherFieldName(int i) const { return m_values.GetOtherName(i); }
    std::string_view GetOtherFieldValue(int i) const { return m_values.GetOtherValue(i); }
    // The position of the other field named `name`, or -1.
    int FindOtherField(std::string_view name) const;
    // Stores the value text of other field `name` (not a catalogue name):
    // a field of that name takes the new name and value in its place, else
    // the field is appended. An empty value removes the field.
    void SetOtherField(std::string_view name, std::string_view valueText);
    bool RemoveOtherField(std::string_view name);
    // Appends other fields at once (name and value parts in turn, names
    // neither in the catalogue nor among the item's other fields).
    void AppendOtherFields(std::span<const CFieldValues::Part> namesAndValues) {
        m_values.AppendOthers(namesAndValues);
    }
    // Sets every value at once, in the value block's order (catalogue slots
    // by index, the type name, then name and value of each other field), for
    // a reader that has gathered a whole item.
    void AssignValues(std::span<const CFieldValues::Part> parts) { m_values.Assign(parts); }

    // --- Any field by name: a catalogue name means its slot.
    std::string_view GetNamedValue(std::string_view name) const;
    // As SetField for a catalogue name; for another name the value is stored
    // as an other field (FormatValue unless `raw`).
    void SetNamedField(std::string_view name, std::string_view text, bool raw);

    // Whether any value (catalogue or other field) equals `text` exactly.
    bool HasValue(std::string_view text) const;
    // Sets every value (catalogue or other field) equal to `oldText` to
    // `newText`.
    void ReplaceValue(std::string_view oldText, std::string_view newText);
    // Replaces `out` with the .bib text of the item (LF line ends).
    void FormatText(std::string& out) const;
    std::string FormatText() const;
    void AppendText(std::string& out) const;

    // Calls f(index, valueText) for every non-empty catalogue slot in index
    // order (the spare slot and slots read from a project file included).
    template <typename F> void ForEachValue(F&& f) const {
        const std::size_t count = m_values.GetPartCount();
        for (std::size_t i = 0; i < count; ++i) {
            const CFieldValues::Part part = m_values.GetPart(i);
            if (part.tag > CFieldValues::kMaxSlot) {
                break;
            }
            f(static_cast<int>(part.tag), part.text);
        }
    }
    // Calls f(name, valueText) for every other field in order.
    template <typename F> void ForEachOtherField(F&& f) const {
        const std::size_t count = m_values.GetOtherCount();
        for (std::size_t i = 0; i < count; ++i) {
            f(m_values.GetOtherName(i), m_values.GetOtherValue(i));
        }
    }
    // Bytes of value texts, type name and other field names held.
    std::size_t GetValueBytes() const { return m_values.GetTextBytes(); }

    bool operator==(const CBibTexEntry& other) const;

private:
    void CheckIndex(int index) const;

    int m_type = 0;
    int m_valueCount = kNewValueCount;
    std::string m_key;
    std::string m_fileName;
    CFieldValues m_values;
};

// Whether `name` can stand as a field or entry type name in a .bib file:
// not empty, not starting with a digit, no white space or control
// character, none of " # % ' ( ) , = @ { }.
bool IsBibTexName(std::string_view name);
