// The per-user appearance settings: which fields the item lists show as
// columns and how wide, and which ignored fields the property window shows.
#pragma once

#include "model/Catalogue.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ISettingsStore;

class CQVNSettings {
public:
    // Where the settings live in the per-user store.
    static constexpr const char* kStoreKey = "Software\\Tavelmark\\Quorvane";
    static constexpr const char* kShowTexAsTextValue = "ShowTeXAsText";

    CQVNSettings() { Reset(); }

    void Reset();
    void ClearColumns() { m_columns.clear(); }
    bool AddColumn(int field);
    int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
    int GetColumnField(int position) const;
    int GetColumnWidth(int position) const;
    // Width by field index (for dialogs that show all fields).
    int GetFieldWidth(int field) const;
    void SetFieldWidth(int field, int width);
    const std::vector<std::uint32_t>& GetColumns() const { return m_columns; }

    bool GetShowIgnoredFields() const { return m_showIgnored; }
    void SetShowIgnoredFields(bool show) { m_showIgnored = show; }
    bool IsIgnoredFieldShown(int field) const;
    void SetIgnoredFieldShown(int field, bool shown);

    // Whether lists, print-outs and status texts show TeX accents and
    // commands as the characters they stand for (stored values never change).
    bool GetShowTexAsText() const { return m_showTexAsText; }
    void SetShowTexAsText(bool show) { m_showTexAsText = show; }
    // Whether each save keeps the previous project file as NAME.qvp.bak
    // (stored as the 32-bit value "KeepBackup"; on unless turned off).
    bool GetKeepBackup() const { return m_keepBackup; }
    void SetKeepBackup(bool keep) { m_keepBackup = keep; }

    std::string FormatFieldSetting(int field) const;
    void ParseFieldSetting(int field, const std::string& text);

    void Load(ISettingsStore& store);
    void Save(ISettingsStore& store) const;

    bool operator==(const CQVNSettings& other) const = default;

private:
    std::vector<std::uint32_t> m_columns;
    std::array<std::int32_t, kFieldCount> m_widths{};
    bool m_showIgnored = false;
    std::array<std::int32_t, kFieldCount> m_shownIgnored{};
    bool m_showTexAsText = true;
    bool m_keepBackup = true;
};
