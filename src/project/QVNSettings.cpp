#include "project/QVNSettings.h"

#include "platform/SettingsStore.h"

#include <cstddef>

void CQVNSettings::Reset() {
    m_columns = {kFieldAuthor, kFieldTitle, kFieldKeywords};
    m_widths.fill(200);
    m_widths[kFieldAuthor] = 120;
    m_widths[kFieldTitle] = 150;
    m_widths[kFieldKeywords] = 80;
    m_showIgnored = false;
    m_shownIgnored.fill(1);
    m_shownIgnored[kFieldLccn] = 0;
    m_shownIgnored[kFieldPrice] = 0;
    m_showTexAsText = true;
    m_keepBackup = true;
}

bool CQVNSettings::AddColumn(int field) {
    if (field < 0 || field >= kFieldCount) {
        return false;
    }
    m_columns.push_back(static_cast<std::uint32_t>(field));
    return true;
}

int CQVNSettings::GetColumnField(int position) const {
    if (position < 0 || position >= GetColumnCount()) {
        return -1;
    }
    return static_cast<int>(m_columns[static_cast<std::size_t>(position)]);
}

int CQVNSettings::GetColumnWidth(int position) const {
    const int field = GetColumnField(position);
    if (field < 0 || field >= static_cast<int>(m_widths.size())) {
        return -1;
    }
    return m_widths[static_cast<std::size_t>(field)];
}

int CQVNSettings::GetFieldWidth(int field) const {
    if (field < 0 || field >= kFieldCount) {
        return -1;
    }
    return m_widths[static_cast<std::size_t>(field)];
}

void CQVNSettings::SetFieldWidth(int field, int width) {
    if (field >= 0 && field < kFieldCount) {
        m_widths[static_cast<std::size_t>(field)] = width;
    }
}

bool CQVNSettings::IsIgnoredFieldShown(int field) const {
    if (field < 0 || field >= static_cast<int>(m_shownIgnored.size())) {
        return false;
    }
    return m_shownIgnored[static_cast<std::size_t>(field)] == 1;
}

void CQVNSettings::SetIgnoredFieldShown(int field, bool shown) {
    if (field >= 0 && field < kFieldCount) {
        m_shownIgnored[static_cast<std::size_t>(field)] = shown ? 1 : 0;
    }
}

std::string CQVNSettings::FormatFieldSetting(int field) const {
    bool isColumn = false;
    for (std::uint32_t c : m_columns) {
        isColumn = isColumn || static_cast<int>(c) == field;
    }
    const auto f = static_cast<std::size_t>(field);
    return std::to_string(isColumn ? 1 : 0) + "," + std::to_string(m_widths.at(f)) + "," +
           std::to_string(m_shownIgnored.at(f));
}

void CQVNSettings::ParseFieldSetting(int field, const std::string& text) {
    std::size_t pos = 0;
    std::int64_t numbers[3] = {0, 0, 0};
    for (std::int64_t& number : numbers) {
        if (pos < text.size() && text[pos] == ',') {
            ++pos;
        }
        std::int64_t value = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            // Saturate instead of overflowing on absurd registry data.
            if (value < 0x7FFFFFFF) {
                value = value * 10 + (text[pos] - '0');
            }
            ++pos;
        }
        number = value > 0x7FFFFFFF ? 0x7FFFFFFF : value;
    }
    if (numbers[0] == 1) {
        AddColumn(field);
    }
    const auto f = static_cast<std::size_t>(field);
    m_widths.at(f) = static_cast<std::int32_t>(numbers[1]);
    m_shownIgnored.at(f) = static_cast<std::int32_t>(numbers[2]);
}

void CQVNSettings::Load(ISettingsStore& store) {
    if (!store.KeyExists(kStoreKey)) {
        return;
    }
    ClearColumns();
    for (int field = 0; field < kFieldCount; ++field) {
        if (const auto text = store.ReadString(kStoreKey, std::string(FieldName(field)))) {
            ParseFieldSetting(field, *text);
        }
    }
    const auto show = store.ReadDWord(kStoreKey, "ShowIF");
    m_showIgnored = show.has_value() && *show == 1;
    // Stores written before the setting existed show TeX as text.
    const auto texAsText = store.ReadDWord(kStoreKey, kShowTexAsTextValue);
    m_showTexAsText = !texAsText.has_value() || *texAsText != 0;
    const auto keepBackup = store.ReadDWord(kStoreKey, "KeepBackup");
    m_keepBackup = !keepBackup.has_value() || *keepBackup != 0;
}

void CQVNSettings::Save(ISettingsStore& store) const {
    if (!store.KeyExists(kStoreKey) && !store.CreateKey(kStoreKey)) {
        return;
    }
    for (int field = 0; field < kFieldCount; ++field) {
        if (!store.WriteString(kStoreKey, std::string(FieldName(field)),
                               FormatFieldSetting(field))) {
            return;
        }
    }
    if (store.WriteDWord(kStoreKey, "ShowIF", m_showIgnored ? 1 : 0)) {
        store.WriteDWord(kStoreKey, "KeepBackup", m_keepBackup ? 1 : 0);
        store.WriteDWord(kStoreKey, kShowTexAsTextValue, m_showTexAsText ? 1 : 0);
    }
    store.Flush();
}
