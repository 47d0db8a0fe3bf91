#include "platform/SettingsStore.h"

bool CMemorySettingsStore::CreateKey(const std::string& key) {
    if (m_failCreate) {
        return false;
    }
    m_keys[key] = true;
    return true;
}

bool CMemorySettingsStore::CanWrite() {
    if (m_writesLeft == 0) {
        return false;
    }
    if (m_writesLeft > 0) {
        --m_writesLeft;
    }
    return true;
}

std::optional<std::string> CMemorySettingsStore::ReadString(const std::string& key,
                                                            const std::string& name) {
    const auto it = m_values.find({key, name});
    if (it == m_values.end() || !it->second.isString) {
        return std::nullopt;
    }
    return it->second.text;
}

bool CMemorySettingsStore::WriteString(const std::string& key, const std::string& name,
                                       const std::string& value) {
    if (!KeyExists(key) || !CanWrite()) {
        return false;
    }
    m_values[{key, name}] = Value{true, value, 0};
    return true;
}

std::optional<std::uint32_t> CMemorySettingsStore::ReadDWord(const std::string& key,
                                                             const std::string& name) {
    const auto it = m_values.find({key, name});
    if (it == m_values.end() || it->second.isString) {
        return std::nullopt;
    }
    return it->second.number;
}

bool CMemorySettingsStore::WriteDWord(const std::string& key, const std::string& name,
                                      std::uint32_t value) {
    if (!KeyExists(key) || !CanWrite()) {
        return false;
    }
    m_values[{key, name}] = Value{false, {}, value};
    return true;
}
