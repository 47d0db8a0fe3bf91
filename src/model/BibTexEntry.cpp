#include "model/BibTexEntry.h"

#include "model/Archive.h"
#include "model/TextUtil.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

constexpr int kMiscType = 10; // how the plain project file layout stores other types

} // namespace

bool IsBibTexName(std::string_view name) {
    if (name.empty() || (name.front() >= '0' && name.front() <= '9')) {
        return false;
    }
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b <= 0x20 || b == 0x7F) {
            return false;
        }
        switch (c) {
        case '"':
        case '#':
        case '%':
        case '\'':
        case '(':
        case ')':
        case ',':
        case '=':
        case '@':
        case '{':
        case '}':
            return false;
        default:
            break;
        }
    }
    return true;
}

CBibTexEntry::CBibTexEntry() = default;

CBibTexEntry::CBibTexEntry(std::string fileName, std::string key, int type)
    : m_type(type), m_key(std::move(key)), m_fileName(std::move(fileName)) {}

CBibTexEntry::CBibTexEntry(const CBibTexEntry& other) : CTexObject() {
    CopyFrom(other);
}

void CBibTexEntry::CopyFrom(const CBibTexEntry& other) {
    if (this == &other) {
        return;
    }
    RestoreFrom(other);
    // Copies carry the 38 field values only; the spare slot is not copied.
    m_values.ClearSlotsFrom(kFieldCount);
    m_valueCount = kFieldCount;
}

void CBibTexEntry::RestoreFrom(const CBibTexEntry& other) {
    if (this == &other) {
        return;
    }
    m_fileName = other.m_fileName;
    m_key = other.m_key;
    m_type = other.m_type;
    m_values = other.m_values;
    m_valueCount = other.m_valueCount;
}

void CBibTexEntry::SetType(int type) {
    m_type = type;
    m_values.SetTypeName({});
}

std::string_view CBibTexEntry::GetTypeName() const {
    if (m_type >= 0 && m_type < kEntryTypeCount) {
        return EntryTypeName(m_type);
    }
    return m_values.GetTypeName();
}

bool CBibTexEntry::SetTypeName(std::string_view name) {
    const int type = FindEntryType(name);
    if (type >= 0) {
        SetType(type);
        return true;
    }
    if (!IsBibTexName(name) || qvn::EqualsNoCase(name, "string") ||
        qvn::EqualsNoCase(name, "preamble") || qvn::EqualsNoCase(name, "comment")) {
        return false;
    }
    m_type = kOtherType;
    m_values.SetTypeName(qvn::ToLower(name));
    return true;
}

void CBibTexEntry::CheckIndex(int index) const {
    if (index < 0 || index >= m_valueCount) {
        throw std::out_of_range("field index out of range");
    }
}

std::string_view CBibTexEntry::GetValue(int index) const {
    CheckIndex(index);
    return m_values.GetSlot(static_cast<std::uint32_t>(index));
}

std::string CBibTexEntry::GetField(int index) const {
    // Only delimiters that enclose the whole value come off: "A" # "B" and
    // {A} # {B} are shown whole, so that storing the shown text again
    // (FormatValue) gives the same value instead of a braced, broken one.
    return std::string(StripOneGroup(GetValue(index)));
}

bool CBibTexEntry::SetField(int index, std::string_view text, bool raw) {
    CheckIndex(index);
    if (raw) {
        m_values.SetSlot(static_cast<std::uint32_t>(index), text);
    } else {
        m_values.SetSlot(static_cast<std::uint32_t>(index), FormatValue(text));
    }
    return IsFieldUsed(m_type, index);
}

void CBibTexEntry::SetValueCount(int count) {
    m_valueCount = std::max(count, static_cast<int>(kFieldCount));
    m_values.ClearSlotsFrom(static_cast<std::uint32_t>(m_valueCount));
}

int CBibTexEntry::FindOtherField(std::string_view name) const {
    const std::size_t count = m_values.GetOtherCount();
    for (std::size_t i = 0; i < count; ++i) {
        if (qvn::EqualsNoCase(m_values.GetOtherName(i), name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void CBibTexEntry::SetOtherField(std::string_view name, std::string_view valueText) {
    const int at = FindOtherField(name);
    if (valueText.empty()) {
        if (at >= 0) {
            m_values.RemoveOther(static_cast<std::size_t>(at));
        }
        return;
    }
    m_values.SetOther(at >= 0 ? static_cast<std::size_t>(at) : m_values.GetOtherCount(), name,
                      valueText);
}

bool CBibTexEntry::RemoveOtherField(std::string_view name) {
    const int at = FindOtherField(name);
    if (at < 0) {
        return false;
    }
    m_values.RemoveOther(static_cast<std::size_t>(at));
    return true;
}

std::string_view CBibTexEntry::GetNamedValue(std::string_view name) const {
    const int field = FindField(name);
    if (field >= 0) {
        return GetValue(field);
    }
    const int at = FindOtherField(name);
    return at < 0 ? std::string_view() : m_values.GetOtherValue(static_cast<std::size_t>(at));
}

void CBibTexEntry::SetNamedField(std::string_view name, std::string_view text, bool raw) {
    const int field = FindField(name);
    if (field >= 0) {
        SetField(field, text, raw);
    } else if (raw) {
        SetOtherField(name, text);
    } else {
        SetOtherField(name, FormatValue(text));
    }
}

bool CBibTexEntry::HasValue(std::string_view text) const {
    // An unset field is not a reference to anything, so the empty text never
    // counts as in use; otherwise an empty abbreviation would match every
    // unset field of every item.
    if (text.empty()) {
        return false;
    }
    const std::size_t count = m_values.GetPartCount();
    for (std::size_t i = 0; i < count; ++i) {
        const CFieldValues::Part part = m_values.GetPart(i);
        if ((part.tag <= CFieldValues::kMaxSlot || part.tag == CFieldValues::kOtherValueTag) &&
            part.text == text) {
            return true;
        }
    }
    return false;
}

void CBibTexEntry::ReplaceValue(std::string_view oldText, std::string_view newText) {
    if (oldText.empty() || !HasValue(oldText)) {
        return; // see HasValue: unset fields are never rewritten
    }
    // One new block: the replaced values and, for an empty new text, the
    // fields that become unset are left out.
    const std::size_t count = m_values.GetPartCount();
    std::vector<CFieldValues::Part> parts;
    parts.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        CFieldValues::Part part = m_values.GetPart(i);
        const bool value =
            part.tag <= CFieldValues::kMaxSlot || part.tag == CFieldValues::kOtherValueTag;
        if (value && part.text == oldText) {
            if (newText.empty()) {
                if (part.tag == CFieldValues::kOtherValueTag) {
                    parts.pop_back(); // its name
                }
                continue;
            }
            part.text = newText;
        }
        parts.push_back(part);
    }
    m_values.Assign(parts);
}

void CBibTexEntry::AppendText(std::string& out) const {
    out += '@';
    out += GetTypeName();
    out += '{';
    out += m_key;
    const std::size_t count = m_values.GetPartCount();
    for (std::size_t i = 0; i < count; ++i) {
        const CFieldValues::Part part = m_values.GetPart(i);
        if (part.tag < static_cast<std::uint32_t>(kFieldCount)) {
            out += ",\n  ";
            out += FieldName(static_cast<int>(part.tag));
            out += " = ";
            out += part.text;
        } else if (part.tag == CFieldValues::kOtherNameTag) {
            out += ",\n  ";
            out += part.text;
            out += " = ";
        } else if (part.tag == CFieldValues::kOtherValueTag) {
            out += part.text;
        }
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
        // The plain layout knows catalogue types only; the name of another
        // type travels in the project file's extension block.
        ar.WriteInt32(m_type == kOtherType ? kMiscType : m_type);
        ar.WriteCount(static_cast<std::uint32_t>(m_valueCount));
        int next = 0;
        ForEachValue([&](int index, std::string_view text) {
            for (; next < index; ++next) {
                ar.WriteString({});
            }
            ar.WriteString(text);
            next = index + 1;
        });
        for (; next < m_valueCount; ++next) {
            ar.WriteString({});
        }
        return;
    }
    m_fileName = ar.ReadString();
    m_key = ar.ReadString();
    m_type = ar.ReadInt32();
    const std::uint32_t count = ar.ReadCount();
    ar.CheckCount(count, 1); // every value takes at least its length byte
    // Fewer than 38 values are padded: the rest of the program relies on 38.
    m_valueCount = std::max(static_cast<int>(count), static_cast<int>(kFieldCount));
    // Values are views into the archive until the block is built; only the
    // rare wide strings are converted into storage of their own.
    std::vector<CFieldValues::Part> parts;
    std::vector<std::string> converted;
    std::string scratch;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string_view text = ar.ReadStringView(scratch);
        if (text.empty()) {
            continue;
        }
        if (!scratch.empty()) {
            if (converted.empty()) {
                converted.reserve(count); // no reallocation moves them later
            }
            converted.push_back(std::move(scratch));
            text = converted.back();
        }
        parts.push_back({i, text});
    }
    m_values.Assign(parts);
}

bool CBibTexEntry::operator==(const CBibTexEntry& other) const {
    return m_type == other.m_type && m_key == other.m_key && m_fileName == other.m_fileName &&
           m_values == other.m_values;
}
