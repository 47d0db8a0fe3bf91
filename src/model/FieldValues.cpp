#include "model/FieldValues.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <type_traits>
#include <vector>

namespace {

// The parts of a block while it is edited: on the stack for the usual item,
// on the heap for one with many fields.
class CPartList {
public:
    explicit CPartList(std::size_t reserve) {
        if (reserve > kInline) {
            m_heap.reserve(reserve);
        }
    }
    void push_back(const CFieldValues::Part& part) {
        if (m_size < kInline && m_heap.empty()) {
            data()[m_size++] = part;
            return;
        }
        if (m_heap.empty()) {
            m_heap.assign(data(), data() + m_size);
        }
        m_heap.push_back(part);
        ++m_size;
    }
    void insert(std::size_t at, const CFieldValues::Part& part) {
        push_back(part);
        CFieldValues::Part* d = data();
        std::rotate(d + at, d + m_size - 1, d + m_size);
    }
    void erase(std::size_t at, std::size_t count) {
        CFieldValues::Part* d = data();
        std::copy(d + at + count, d + m_size, d + at);
        m_size -= count;
        if (!m_heap.empty()) {
            m_heap.resize(m_size);
        }
    }
    CFieldValues::Part* data() {
        return m_heap.empty() ? reinterpret_cast<CFieldValues::Part*>(m_inline) : m_heap.data();
    }
    CFieldValues::Part& operator[](std::size_t i) { return data()[i]; }
    std::size_t size() const { return m_size; }
    std::span<const CFieldValues::Part> span() { return {data(), m_size}; }

private:
    static constexpr std::size_t kInline = 32;
    // Raw storage: parts are written before they are read, and zeroing 32
    // of them for every edit would cost more than the edit.
    alignas(CFieldValues::Part) unsigned char m_inline[kInline * sizeof(CFieldValues::Part)];
    std::vector<CFieldValues::Part> m_heap;
    std::size_t m_size = 0;
};

static_assert(std::is_trivially_copyable_v<CFieldValues::Part>);

constexpr std::size_t kWord = sizeof(std::uint32_t);

std::size_t BlockWords(std::size_t count, std::size_t textBytes) {
    return 1 + 2 * count + (textBytes + kWord - 1) / kWord;
}

} // namespace

CFieldValues::CFieldValues(const CFieldValues& other) {
    *this = other;
}

CFieldValues& CFieldValues::operator=(const CFieldValues& other) {
    if (this == &other) {
        return *this;
    }
    if (!other.m_block) {
        m_block.reset();
        return *this;
    }
    const std::size_t words = BlockWords(other.GetPartCount(), other.GetTextBytes());
    auto block = std::make_unique_for_overwrite<std::uint32_t[]>(words);
    std::memcpy(block.get(), other.m_block.get(), words * kWord);
    m_block = std::move(block);
    return *this;
}

bool CFieldValues::operator==(const CFieldValues& other) const {
    const std::size_t count = GetPartCount();
    if (count != other.GetPartCount()) {
        return false;
    }
    if (count == 0) {
        return true;
    }
    // The layout is canonical: equal parts give equal bytes. The padding
    // after the text is not compared.
    const std::size_t header = (1 + 2 * count) * kWord;
    const std::size_t text = GetTextBytes();
    return text == other.GetTextBytes() &&
           std::memcmp(m_block.get(), other.m_block.get(), header) == 0 &&
           std::memcmp(reinterpret_cast<const char*>(m_block.get()) + header,
                       reinterpret_cast<const char*>(other.m_block.get()) + header, text) == 0;
}

std::size_t CFieldValues::GetTextBytes() const {
    const std::size_t count = GetPartCount();
    return count == 0 ? 0 : m_block[2 * count];
}

CFieldValues::Part CFieldValues::GetPart(std::size_t i) const {
    const std::size_t count = m_block[0];
    const std::uint32_t begin = i == 0 ? 0 : m_block[1 + count + i - 1];
    const std::uint32_t end = m_block[1 + count + i];
    const char* text = reinterpret_cast<const char*>(m_block.get() + 1 + 2 * count);
    return {m_block[1 + i], std::string_view(text + begin, end - begin)};
}

void CFieldValues::Assign(std::span<const Part> parts) {
    std::size_t text = 0;
    for (const Part& part : parts) {
        text += part.text.size();
    }
    if (parts.empty()) {
        m_block.reset();
        return;
    }
    if (text > std::numeric_limits<std::uint32_t>::max() ||
        parts.size() > std::numeric_limits<std::uint32_t>::max() / 4) {
        throw std::length_error("the values of one item exceed 4 GB");
    }
    const std::size_t count = parts.size();
    auto block = std::make_unique_for_overwrite<std::uint32_t[]>(BlockWords(count, text));
    block[0] = static_cast<std::uint32_t>(count);
    char* out = reinterpret_cast<char*>(block.get() + 1 + 2 * count);
    std::uint32_t end = 0;
    for (std::size_t i = 0; i < count; ++i) {
        block[1 + i] = parts[i].tag;
        if (!parts[i].text.empty()) {
            std::memcpy(out + end, parts[i].text.data(), parts[i].text.size());
        }
        end += static_cast<std::uint32_t>(parts[i].text.size());
        block[1 + count + i] = end;
    }
    // The texts may have pointed into the old block: it goes only now.
    m_block = std::move(block);
}

template <typename F> void CFieldValues::Rebuild(F&& edit) {
    const std::size_t count = GetPartCount();
    CPartList parts(count + 2);
    for (std::size_t i = 0; i < count; ++i) {
        parts.push_back(GetPart(i));
    }
    edit(parts);
    Assign(parts.span());
}

std::string_view CFieldValues::GetSlot(std::uint32_t index) const {
    const std::size_t count = GetPartCount();
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t tag = m_block[1 + i];
        if (tag == index) {
            return GetPart(i).text;
        }
        if (tag > index) {
            break; // slots come first, in ascending order
        }
    }
    return {};
}

void CFieldValues::SetSlot(std::uint32_t index, std::string_view text) {
    if (index > kMaxSlot) {
        throw std::out_of_range("field index out of range");
    }
    if (text.empty() && GetSlot(index).empty()) {
        return;
    }
    Rebuild([&](CPartList& parts) {
        std::size_t at = 0;
        while (at < parts.size() && parts[at].tag < index) {
            ++at;
        }
        const bool present = at < parts.size() && parts[at].tag == index;
        if (text.empty()) {
            parts.erase(at, 1);
        } else if (present) {
            parts[at].text = text;
        } else {
            parts.insert(at, {index, text});
        }
    });
}

void CFieldValues::ClearSlotsFrom(std::uint32_t count) {
    std::size_t first = 0;
    std::size_t last = 0;
    const std::size_t parts = GetPartCount();
    while (first < parts && m_block[1 + first] < count) {
        ++first;
    }
    last = first;
    while (last < parts && m_block[1 + last] <= kMaxSlot) {
        ++last;
    }
    if (first == last) {
        return;
    }
    Rebuild([&](CPartList& list) { list.erase(first, last - first); });
}

std::string_view CFieldValues::GetTypeName() const {
    const std::size_t count = GetPartCount();
    for (std::size_t i = 0; i < count; ++i) {
        if (m_block[1 + i] == kTypeNameTag) {
            return GetPart(i).text;
        }
    }
    return {};
}

void CFieldValues::SetTypeName(std::string_view name) {
    if (name.empty() && GetTypeName().empty()) {
        return;
    }
    Rebuild([&](CPartList& parts) {
        std::size_t at = 0;
        while (at < parts.size() && parts[at].tag <= kMaxSlot) {
            ++at;
        }
        const bool present = at < parts.size() && parts[at].tag == kTypeNameTag;
        if (name.empty()) {
            parts.erase(at, 1);
        } else if (present) {
            parts[at].text = name;
        } else {
            parts.insert(at, {kTypeNameTag, name});
        }
    });
}

std::size_t CFieldValues::FirstOther() const {
    const std::size_t count = GetPartCount();
    std::size_t i = 0;
    while (i < count && m_block[1 + i] != kOtherNameTag) {
        ++i;
    }
    return i;
}

std::size_t CFieldValues::GetOtherCount() const {
    return (GetPartCount() - FirstOther()) / 2;
}

std::string_view CFieldValues::GetOtherName(std::size_t i) const {
    return GetPart(FirstOther() + 2 * i).text;
}

std::string_view CFieldValues::GetOtherValue(std::size_t i) const {
    return GetPart(FirstOther() + 2 * i + 1).text;
}

void CFieldValues::SetOther(std::size_t i, std::string_view name, std::string_view value) {
    const std::size_t first = FirstOther();
    Rebuild([&](CPartList& parts) {
        const std::size_t at = first + 2 * i;
        if (at >= parts.size()) {
            parts.push_back({kOtherNameTag, name});
            parts.push_back({kOtherValueTag, value});
        } else {
            parts[at].text = name;
            parts[at + 1].text = value;
        }
    });
}

void CFieldValues::AppendOthers(std::span<const Part> namesAndValues) {
    Rebuild([&](CPartList& parts) {
        for (const Part& part : namesAndValues) {
            parts.push_back(part);
        }
    });
}

void CFieldValues::RemoveOther(std::size_t i) {
    const std::size_t first = FirstOther();
    Rebuild([&](CPartList& parts) { parts.erase(first + 2 * i, 2); });
}
