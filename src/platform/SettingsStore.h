// The per-user settings store: named string and 32-bit values under a key
// path such as "Software\Tavelmark\Quorvane". The Qt program keeps them with
// QSettings; tests keep them in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

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
