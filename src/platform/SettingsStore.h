// The per-user settings store: named string and 32-bit values under a key
// path such as "Software\Tavelmark\Quorvane". The Qt program keeps them with
// QSettings; tests use CMemorySettingsStore.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

class ISettingsStore {
public:
    virtual ~ISettingsStore() = default;
    virtual bool KeyExists(const std::string& key) = 0;
    // Creates the key when missing; false when that is impossible.
    virtual bool CreateKey(const std::string& key) = 0;
    virtual std::optional<std::string> ReadString(const std::string& key,
                                                  const std::string& name) = 0;
    virtual bool WriteString(const std::string& key, const std::string& name,
                             const std::string& value) = 0;
    virtual std::optional<std::uint32_t> ReadDWord(const std::string& key,
                                                   const std::string& name) = 0;
    virtual bool WriteDWord(const std::string& key, const std::string& name,
                            std::uint32_t value) = 0;
    virtual void Flush() {}
};

class CMemorySettingsStore : public ISettingsStore {
public:
    struct Value {
        bool isString = true;
        std::string text;
        std::uint32_t number = 0;
    };

    bool KeyExists(const std::string& key) override { return m_keys.count(key) != 0; }
    bool CreateKey(const std::string& key) override;
    std::optional<std::string> ReadString(const std::string& key, const std::string& name) override;
    bool WriteString(const std::string& key, const std::string& name,
                     const std::string& value) override;
    std::optional<std::uint32_t> ReadDWord(const std::string& key,
                                           const std::string& name) override;
    bool WriteDWord(const std::string& key, const std::string& name, std::uint32_t value) override;

    // Test controls: refuse every write after `n` more successful ones
    // (-1: never refuse), and refuse creating keys.
    void FailWritesAfter(int n) { m_writesLeft = n; }
    void FailCreate(bool fail) { m_failCreate = fail; }
    const std::map<std::pair<std::string, std::string>, Value>& Values() const { return m_values; }

private:
    bool CanWrite();

    std::map<std::string, bool> m_keys;
    std::map<std::pair<std::string, std::string>, Value> m_values;
    int m_writesLeft = -1;
    bool m_failCreate = false;
};
