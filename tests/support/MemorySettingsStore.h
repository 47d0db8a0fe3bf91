// A settings store in memory, with controls that make writes fail.
#pragma once

#include "platform/SettingsStore.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

class CMemorySettingsStore : public ISettingsStore {
public:
    struct Value {
        bool isString = true;
        std::string text;
        std::uint32_t number = 0;
    };

    bool KeyExists(const std::string& key) override { return m_keys.count(key) != 0; }
    bool CreateKey(const std::string& key) override {
        if (m_failCreate) {
            return false;
        }
        m_keys[key] = true;
        return true;
    }
    std::optional<std::string> ReadString(const std::string& key,
                                          const std::string& name) override {
        const auto it = m_values.find({key, name});
        if (it == m_values.end() || !it->second.isString) {
            return std::nullopt;
        }
        return it->second.text;
    }
    bool WriteString(const std::string& key, const std::string& name,
                     const std::string& value) override {
        if (!KeyExists(key) || !CanWrite()) {
            return false;
        }
        m_values[{key, name}] = Value{true, value, 0};
        return true;
    }
    std::optional<std::uint32_t> ReadDWord(const std::string& key,
                                           const std::string& name) override {
        const auto it = m_values.find({key, name});
        if (it == m_values.end() || it->second.isString) {
            return std::nullopt;
        }
        return it->second.number;
    }
    bool WriteDWord(const std::string& key, const std::string& name, std::uint32_t value) override {
        if (!KeyExists(key) || !CanWrite()) {
            return false;
        }
        m_values[{key, name}] = Value{false, {}, value};
        return true;
    }

    // Test controls: refuse every write after `n` more successful ones
    // (-1: never refuse), and refuse creating keys.
    void FailWritesAfter(int n) { m_writesLeft = n; }
    void FailCreate(bool fail) { m_failCreate = fail; }
    const std::map<std::pair<std::string, std::string>, Value>& Values() const { return m_values; }

private:
    bool CanWrite() {
        if (m_writesLeft == 0) {
            return false;
        }
        if (m_writesLeft > 0) {
            --m_writesLeft;
        }
        return true;
    }

    std::map<std::string, bool> m_keys;
    std::map<std::pair<std::string, std::string>, Value> m_values;
    int m_writesLeft = -1;
    bool m_failCreate = false;
};
