// The value texts of one BibTeX item in a single heap block: the catalogue
// values by field index, the name of an entry type outside the catalogue,
// and the fields outside the catalogue ("other fields") with their names in
// the order they came. A dozen short values in one block instead of a string
// each keeps a bibliography of a million items within memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

class CFieldValues {
public:
    // One part of the block: a catalogue slot (tag = field index), the type
    // name, or the name and then the value of one other field.
    static constexpr std::uint32_t kTypeNameTag = 0xFFFFFFFD;
    static constexpr std::uint32_t kOtherNameTag = 0xFFFFFFFE;
    static constexpr std::uint32_t kOtherValueTag = 0xFFFFFFFF;
    static constexpr std::uint32_t kMaxSlot = 0xFFFFFFFC;
    struct Part {
        std::uint32_t tag;
        std::string_view text;
    };

    CFieldValues() = default;
    CFieldValues(const CFieldValues& other);
    CFieldValues& operator=(const CFieldValues& other);
    CFieldValues(CFieldValues&&) noexcept = default;
    CFieldValues& operator=(CFieldValues&&) noexcept = default;
    bool operator==(const CFieldValues& other) const;

    // Builds the block from parts in block order: slots by ascending index,
    // then the type name, then name and value of each other field. Texts may
    // point into this object's own block. Throws std::length_error when the
    // texts exceed 4 GB.
    void Assign(std::span<const Part> parts);

    // Views stay valid until the next change.
    std::string_view GetSlot(std::uint32_t index) const;
    // An empty text clears the slot.
    void SetSlot(std::uint32_t index, std::string_view text);
    // Clears every slot from `count` on.
    void ClearSlotsFrom(std::uint32_t count);

    std::string_view GetTypeName() const;
    void SetTypeName(std::string_view name);

    std::size_t GetOtherCount() const;
    std::string_view GetOtherName(std::size_t i) const;
    std::string_view GetOtherValue(std::size_t i) const;
    // Replaces name and value of other field `i`, or appends a field when
    // `i` equals the count.
    void SetOther(std::size_t i, std::string_view name, std::string_view value);
    // Appends other fields at once: name and value parts in turn.
    void AppendOthers(std::span<const Part> namesAndValues);
    void RemoveOther(std::size_t i);

    std::size_t GetPartCount() const { return m_block ? m_block[0] : 0; }
    Part GetPart(std::size_t i) const;
    // Bytes of text held (names and values).
    std::size_t GetTextBytes() const;

private:
    std::size_t FirstOther() const;
    // Copies the parts out, lets `edit` change the copy, builds anew.
    template <typename F> void Rebuild(F&& edit);

    // u32 count, u32 tag[count], u32 end[count] (end offset of each text),
    // then the text bytes.
    std::unique_ptr<std::uint32_t[]> m_block;
};
