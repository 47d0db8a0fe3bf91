// A string-keyed map that iterates in insertion order. Lookup, insertion and
// removal are O(1) on average; removal leaves a hole that is compacted away
// once holes make up half of the slots.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qvn {

struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept {
        return std::hash<std::string_view>{}(s);
    }
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
        const_iterator(const std::vector<Slot>* slots, std::size_t pos) : m_slots(slots), m_pos(pos) {
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

    std::size_t size() const { return m_index.size(); }
    bool empty() const { return m_index.empty(); }
    const_iterator begin() const { return const_iterator(&m_slots, 0); }
    const_iterator end() const { return const_iterator(&m_slots, m_slots.size()); }

    bool contains(std::string_view key) const { return m_index.find(key) != m_index.end(); }

    const V* find(std::string_view key) const {
        const auto it = m_index.find(key);
        return it == m_index.end() ? nullptr : &*m_slots[it->second].value;
    }
    V* find(std::string_view key) {
        const auto it = m_index.find(key);
        return it == m_index.end() ? nullptr : &*m_slots[it->second].value;
    }

    // Inserts at the end, or replaces the value of an existing key in place.
    V& set(std::string_view key, V value) {
        if (V* existing = find(key)) {
            *existing = std::move(value);
            return *existing;
        }
        m_index.emplace(std::string(key), m_slots.size());
        m_slots.push_back(Slot{std::string(key), std::move(value)});
        return *m_slots.back().value;
    }

    // Removes the entry and returns its value.
    std::optional<V> take(std::string_view key) {
        const auto it = m_index.find(key);
        if (it == m_index.end()) {
            return std::nullopt;
        }
        Slot& slot = m_slots[it->second];
        std::optional<V> out(std::in_place, std::move(*slot.value));
        slot.value.reset();
        slot.key = std::string();
        m_index.erase(it);
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
        const auto it = m_index.find(from);
        if (it == m_index.end() || contains(to)) {
            return false;
        }
        const std::size_t pos = it->second;
        m_index.erase(it);
        m_slots[pos].key = std::string(to);
        m_index.emplace(std::string(to), pos);
        return true;
    }

    void clear() {
        m_slots.clear();
        m_index.clear();
        m_holes = 0;
    }

    void reserve(std::size_t n) {
        m_slots.reserve(n);
        m_index.reserve(n);
    }

private:
    void Compact() {
        std::size_t out = 0;
        for (std::size_t in = 0; in < m_slots.size(); ++in) {
            if (m_slots[in].value) {
                if (out != in) {
                    m_slots[out] = std::move(m_slots[in]);
                }
                m_index.find(m_slots[out].key)->second = out;
                ++out;
            }
        }
        m_slots.resize(out);
        m_holes = 0;
    }

    std::vector<Slot> m_slots;
    std::unordered_map<std::string, std::size_t, StringHash, std::equal_to<>> m_index;
    std::size_t m_holes = 0;
};

} // namespace qvn
