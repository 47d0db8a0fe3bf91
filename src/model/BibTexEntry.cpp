#include "model/BibTexEntry.h"

#include "model/Archive.h"

#include <algorithm>
#include <stdexcept>

namespace {
const std::string kEmpty;
}

CBibTexEntry::CBibTexEntry() = default;

CBibTexEntry::CBibTexEntry(std::string fileName, std::string key, int type)
    : m_type(type), m_key(std::move(key)), m_fileName(std::move(fileName)) {}

CBibTexEntry::CBibTexEntry(const CBibTexEntry& other) : CTexObject() {
    CopyFrom(other);
}

void CBibTexEntry::CopyFrom(const CBibTexEntry& other) {
    m_fileName = other.m_fileName;
    m_key = other.m_key;
    m_type = other.m_type;
    // Copies carry the 38 field values only; the spare slot is not copied.
    m_values.clear();
    for (const Value& v : other.m_values) {
        if (v.index < kFieldCount) {
            m_values.push_back(v);
        }
    }
    m_valueCount = kFieldCount;
}

void CBibTexEntry::CheckIndex(int index) const {
    if (index < 0 || index >= m_valueCount) {
        throw std::out_of_range("field index out of range");
    }
}

const std::string& CBibTexEntry::GetValue(int index) const {
    CheckIndex(index);
    const auto it = std::lower_bound(m_values.begin(), m_values.end(), index,
                                     [](const Value& v, int i) { return static_cast<int>(v.index) < i; });
    return (it != m_values.end() && static_cast<int>(it->index) == index) ? it->text : kEmpty;
}

std::string CBibTexEntry::GetField(int index) const {
    // Only delimiters that enclose the whole value come off: "A" # "B" and
    // {A} # {B} are shown whole, so that storing the shown text again
    // (FormatValue) gives the same value instead of a braced, broken one.
    return std::string(StripOneGroup(GetValue(index)));
}

bool CBibTexEntry::SetField(int index, std::string_view text, bool raw) {
    CheckIndex(index);
    std::string value = raw ? std::string(text) : FormatValue(text);
    const auto it = std::lower_bound(m_values.begin(), m_values.end(), index,
                                     [](const Value& v, int i) { return static_cast<int>(v.index) < i; });
    const bool present = it != m_values.end() && static_cast<int>(it->index) == index;
    if (value.empty()) {
        if (present) {
            m_values.erase(it);
        }
    } else if (present) {
        it->text = std::move(value);
    } else {
        m_values.insert(it, Value{static_cast<std::uint32_t>(index), std::move(value)});
    }
    return IsFieldUsed(m_type, index);
}

void CBibTexEntry::SetValueCount(int count) {
    const int kept = std::max(count, static_cast<int>(kFieldCount));
    m_valueCount = kept;
    while (!m_values.empty() && static_cast<int>(m_values.back().index) >= kept) {
        m_values.pop_back();
    }
}

bool CBibTexEntry::HasValue(std::string_view text) const {
    // An unset field is not a reference to anything, so the empty text never
    // counts as in use; otherwise an empty abbreviation would match every
    // unset field of every item.
    if (text.empty()) {
        return false;
    }
    return std::any_of(m_values.begin(), m_values.end(),
                       [&](const Value& v) { return v.text == text; });
}

void CBibTexEntry::ReplaceValue(std::string_view oldText, std::string_view newText) {
    if (oldText.empty()) {
        return; // see HasValue: unset fields are never rewritten
    }
    for (auto it = m_values.begin(); it != m_values.end();) {
        if (it->text == oldText) {
            if (newText.empty()) {
                it = m_values.erase(it);
                continue;
            }
            it->text = std::string(newText);
        }
        ++it;
    }
}

void CBibTexEntry::AppendText(std::string& out) const {
    out += '@';
    out += EntryTypeName(m_type);
    out += '{';
    out += m_key;
    for (const Value& v : m_values) {
        if (v.index >= kFieldCount) {
            continue;
        }
        out += ",\n  ";
        out += FieldName(v.index);
        out += " = ";
        out += v.text;
    }
    out += "\n}\n\n";
}

void CBibTexEntry::FormatText(std::string& out) const {
    out.clear();
    AppendText(out);
}

std::string CBibTexEntry::FormatText() const {
    std::string out;
    AppendText(out);
    return out;
}

void CBibTexEntry::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteString(m_fileName);
        ar.WriteString(m_key);
        ar.WriteInt32(m_type);
        ar.WriteCount(static_cast<std::uint32_t>(m_valueCount));
        auto it = m_values.begin();
        for (int i = 0; i < m_valueCount; ++i) {
            if (it != m_values.end() && static_cast<int>(it->index) == i) {
                ar.WriteString(it->text);
                ++it;
            } else {
                ar.WriteString({});
            }
        }
        return;
    }
    m_fileName = ar.ReadString();
    m_key = ar.ReadString();
    m_type = ar.ReadInt32();
    const std::uint32_t count = ar.ReadCount();
    ar.CheckCount(count, 1); // every value takes at least its length byte
    m_values.clear();
    // Fewer than 38 values are padded: the rest of the program relies on 38.
    m_valueCount = std::max(static_cast<int>(count), static_cast<int>(kFieldCount));
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string text = ar.ReadString();
        if (!text.empty()) {
            m_values.push_back(Value{i, std::move(text)});
        }
    }
}

bool CBibTexEntry::operator==(const CBibTexEntry& other) const {
    if (m_type != other.m_type || m_key != other.m_key || m_fileName != other.m_fileName ||
        m_values.size() != other.m_values.size()) {
        return false;
    }
    for (std::size_t i = 0; i < m_values.size(); ++i) {
        if (m_values[i].index != other.m_values[i].index ||
            m_values[i].text != other.m_values[i].text) {
            return false;
        }
    }
    return true;
}
