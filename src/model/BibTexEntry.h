// One BibTeX item: entry type, citation key, the BibTeX file it belongs to and
// one value text per catalogue field.
#pragma once

#include "model/Catalogue.h"
#include "model/TexObject.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CBibTexEntry : public CTexObject {
public:
    // A new item has 39 value slots (one spare); a copy has 38.
    static constexpr int kNewValueCount = kFieldCount + 1;

    CBibTexEntry();
    CBibTexEntry(std::string fileName, std::string key, int type);
    CBibTexEntry(const CBibTexEntry& other);
    CBibTexEntry& operator=(const CBibTexEntry&) = delete;

    void Serialize(CArchive& archive) override;
    virtual void CopyFrom(const CBibTexEntry& other);

    const std::string& GetKey() const { return m_key; }
    void SetKey(std::string key) { m_key = std::move(key); }
    const std::string& GetFileName() const { return m_fileName; }
    void SetFileName(std::string name) { m_fileName = std::move(name); }
    int GetType() const { return m_type; }
    void SetType(int type) { m_type = type; }

    // Value text as stored, delimiters included; empty when unset.
    const std::string& GetValue(int index) const;
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

    bool HasValue(std::string_view text) const;
    void ReplaceValue(std::string_view oldText, std::string_view newText);
    // Replaces `out` with the .bib text of the item (LF line ends).
    void FormatText(std::string& out) const;
    std::string FormatText() const;
    void AppendText(std::string& out) const;

    // Calls f(index, valueText) for every non-empty value in index order.
    template <typename F> void ForEachValue(F&& f) const {
        for (const Value& v : m_values) {
            f(static_cast<int>(v.index), v.text);
        }
    }
    bool operator==(const CBibTexEntry& other) const;

private:
    struct Value {
        std::uint32_t index;
        std::string text;
    };
    void CheckIndex(int index) const;

    int m_type = 0;
    std::string m_key;
    std::string m_fileName;
    // Only non-empty values are kept, sorted by index: most items use a
    // handful of the 38 fields.
    std::vector<Value> m_values;
    int m_valueCount = kNewValueCount;
};
