// A string-keyed map that iterates in insertion order. Lookup, insertion and
// removal are O(1) on average; removal leaves a hole that is compacted away
// once holes make up half of the slots. Holds at most 2^32 - 2 entries.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qvn {

// Deliberately not noexcept: libstdc++ then stores each node's hash, so that
// growing a table and scanning a bucket never hash a key again.
struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

template <typename V> class OrderedMap {
public:
    struct Slot {
        std::string key;
        std::optional<V> value; // empty: removed
    };

    class const_iterator {
    public:
        using value_type = std::pair<const std::string&, const V&>;
        const_iterator(const std::vector<Slot>* slotList, std::size_t pos)
            : m_slots(slotList), m_pos(pos) {
            Skip();
        }
        value_type operator*() const {
            const Slot& s = (*m_slots)[m_pos];
            return {s.key, *s.value};
        }
        const_iterator& operator++() {
            ++m_pos;
            Skip();
            return *this;
        }
        bool operator==(const const_iterator& o) const { return m_pos == o.m_pos; }
        bool operator!=(const const_iterator& o) const { return m_pos != o.m_pos; }

    private:
        void Skip() {
            while (m_pos < m_slots->size() && !(*m_slots)[m_pos].value) {
                ++m_pos;
            }
        }
        const std::vector<Slot>* m_slots;
        std::size_t m_pos;
    };

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const_iterator begin() const { return const_iterator(&m_slots, 0); }
    const_iterator end() const { return const_iterator(&m_slots, m_slots.size()); }

    bool contains(std::string_view key) const { return Locate(key, Hash(key)) != kNone; }

    const V* find(std::string_view key) const {
        const std::size_t cell = Locate(key, Hash(key));
        return cell == kNone ? nullptr : &*m_slots[SlotOf(m_table[cell])].value;
    }
    V* find(std::string_view key) {
        const std::size_t cell = Locate(key, Hash(key));
        return cell == kNone ? nullptr : &*m_slots[SlotOf(m_table[cell])].value;
    }

    // Inserts at the end, or replaces the value of an existing key in place.
    V& set(std::string_view key, V value) {
        const std::uint32_t hash = Hash(key);
        if (const std::size_t cell = Locate(key, hash); cell != kNone) {
            V& existing = *m_slots[SlotOf(m_table[cell])].value;
            existing = std::move(value);
            return existing;
        }
        return Append(key, hash, std::move(value));
    }

    // Inserts at the end unless the key exists. Returns the key's value and
    // whether it was inserted; the pointer is valid until the next change.
    std::pair<V*, bool> insert(std::string_view key, V value) {
        const std::uint32_t hash = Hash(key);
        if (const std::size_t cell = Locate(key, hash); cell != kNone) {
            return {&*m_slots[SlotOf(m_table[cell])].value, false};
        }
        return {&Append(key, hash, std::move(value)), true};
    }

    // Removes the entry and returns its value.
    std::optional<V> take(std::string_view key) {
        const std::size_t cell = Locate(key, Hash(key));
        if (cell == kNone) {
            return std::nullopt;
        }
        Slot& slot = m_slots[SlotOf(m_table[cell])];
        std::optional<V> out(std::in_place, std::move(*slot.value));
        slot.value.reset();
        slot.key = std::string();
        RemoveCell(cell);
        --m_size;
        ++m_holes;
        if (m_holes > 16 && m_holes * 2 > m_slots.size()) {
            Compact();
        }
        return out;
    }

    bool erase(std::string_view key) { return take(key).has_value(); }

    // Renames a key and keeps its place in the order; false when `from` is
    // absent or `to` exists.
    bool rename(std::string_view from, std::string_view to) {
        const std::size_t cell = Locate(from, Hash(from));
        if (cell == kNone || contains(to)) {
            return false;
        }
        const std::size_t pos = SlotOf(m_table[cell]);
        std::string newKey(to);
        RemoveCell(cell);
        m_slots[pos].key = std::move(newKey);
        Place(Cell(Hash(m_slots[pos].key), pos));
        return true;
    }

    void clear() {
        m_slots.clear();
        m_table.clear();
        m_size = 0;
        m_holes = 0;
    }

    void reserve(std::size_t n) {
        m_slots.reserve(n);
        Reserve(n);
    }

private:
    // The index is an open-addressing table with linear probing. A cell holds
    // the key's 32-bit hash in its upper half and its slot number + 1 in the
    // lower half (0: an empty cell), so most probes never touch a key and no
    // entry costs an allocation of its own.
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    static std::uint32_t Hash(std::string_view key) {
        const auto h = static_cast<std::uint64_t>(StringHash{}(key));
        return static_cast<std::uint32_t>(h ^ (h >> 32));
    }
    static std::uint64_t Cell(std::uint32_t hash, std::size_t slot) {
        return (static_cast<std::uint64_t>(hash) << 32) | (slot + 1);
    }
    static std::size_t SlotOf(std::uint64_t cell) {
        return static_cast<std::size_t>(cell & 0xFFFFFFFFu) - 1;
    }
    static std::uint32_t HashOf(std::uint64_t cell) {
        return static_cast<std::uint32_t>(cell >> 32);
    }
    std::size_t Mask() const { return m_table.size() - 1; }

    std::size_t Locate(std::string_view key, std::uint32_t hash) const {
        if (m_table.empty()) {
            return kNone;
        }
        for (std::size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            const std::uint64_t cell = m_table[i];
            if (cell == 0) {
                return kNone;
            }
            if (HashOf(cell) == hash && m_slots[SlotOf(cell)].key == key) {
                return i;
            }
        }
    }

    V& Append(std::string_view key, std::uint32_t hash, V value) {
        Reserve(m_size + 1); // before the slot, so that a failure leaves no stray slot
        m_slots.push_back(Slot{std::string(key), std::move(value)});
        Place(Cell(hash, m_slots.size() - 1));
        ++m_size;
        return *m_slots.back().value;
    }

    // Keeps the table at most three quarters full with `n` entries.
    void Reserve(std::size_t n) {
        while (n * 4 > m_table.size() * 3) {
            Grow();
        }
    }

    void Place(std::uint64_t cell) {
        std::size_t i = HashOf(cell) & Mask();
        while (m_table[i] != 0) {
            i = (i + 1) & Mask();
        }
        m_table[i] = cell;
    }

    void Grow() {
        std::vector<std::uint64_t> old(std::max<std::size_t>(8, m_table.size() * 2), 0);
        old.swap(m_table);
        for (std::uint64_t cell : old) {
            if (cell != 0) {
                Place(cell);
            }
        }
    }

    // Empties a cell and moves later cells of the same probe run back, so
    // that no lookup stops early at the gap.
    void RemoveCell(std::size_t hole) {
        for (std::size_t i = (hole + 1) & Mask();; i = (i + 1) & Mask()) {
            const std::uint64_t cell = m_table[i];
            if (cell == 0) {
                break;
            }
            const std::size_t home = HashOf(cell) & Mask();
            // The cell may fill the hole unless its home lies cyclically in
            // (hole, i].
            const bool homeAfterHole =
                hole <= i ? (home > hole && home <= i) : (home > hole || home <= i);
            if (!homeAfterHole) {
                m_table[hole] = cell;
                hole = i;
            }
        }
        m_table[hole] = 0;
    }

    void Compact() {
        std::size_t out = 0;
        for (std::size_t in = 0; in < m_slots.size(); ++in) {
            if (m_slots[in].value) {
                if (out != in) {
                    m_slots[out] = std::move(m_slots[in]);
                }
                ++out;
            }
        }
        m_slots.resize(out);
        m_holes = 0;
        // Slot numbers changed: index anew.
        std::fill(m_table.begin(), m_table.end(), 0);
        for (std::size_t i = 0; i < m_slots.size(); ++i) {
            Place(Cell(Hash(m_slots[i].key), i));
        }
    }

    std::vector<Slot> m_slots;
    std::vector<std::uint64_t> m_table;
    std::size_t m_size = 0;
    std::size_t m_holes = 0;
};

} // namespace qvn
