// The per-user settings store on QSettings (organisation "Tavelmark",
// application "Quorvane"). Key paths map to groups: the application's own key
// "Software\Tavelmark\Quorvane" is the group "Appearance", its subkeys nest
// below it, and any other key keeps its path with "/" as separator.
#pragma once

#include "platform/SettingsStore.h"

#include <QString>

#include <memory>
#include <set>

class QSettings;

class CQtSettingsStore : public ISettingsStore {
public:
    static constexpr const char* kOrganisation = "Tavelmark";
    static constexpr const char* kApplication = "Quorvane";
    static constexpr const char* kRootGroup = "Appearance";

    // The store over the user's QSettings for Tavelmark/Quorvane.
    CQtSettingsStore();
    // A store over given settings (tests); not owned.
    explicit CQtSettingsStore(QSettings* settings);
    ~CQtSettingsStore() override;

    bool KeyExists(const std::string& key) override;
    bool CreateKey(const std::string& key) override;
    std::optional<std::string> ReadString(const std::string& key, const std::string& name) override;
    bool WriteString(const std::string& key, const std::string& name,
                     const std::string& value) override;
    std::optional<std::uint32_t> ReadDWord(const std::string& key,
                                           const std::string& name) override;
    bool WriteDWord(const std::string& key, const std::string& name, std::uint32_t value) override;
    void Flush() override;

    static QString GroupOfKey(const std::string& key);
    QSettings& Settings() { return *m_settings; }

private:
    std::unique_ptr<QSettings> m_owned;
    QSettings* m_settings;
    // QSettings has no empty groups: keys created in this run exist even
    // before a value is written to them.
    std::set<QString> m_created;
};
