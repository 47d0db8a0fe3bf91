#include "app/QtSettingsStore.h"

#include "kit/QtText.h"
#include "project/QVNSettings.h"

#include <QSettings>

CQtSettingsStore::CQtSettingsStore()
    : m_owned(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                          QString::fromLatin1(kOrganisation),
                                          QString::fromLatin1(kApplication))),
      m_settings(m_owned.get()) {}

CQtSettingsStore::CQtSettingsStore(QSettings* settings) : m_settings(settings) {}

CQtSettingsStore::~CQtSettingsStore() = default;

QString CQtSettingsStore::GroupOfKey(const std::string& key) {
    const std::string root = CQVNSettings::kStoreKey;
    QString rest;
    QString group;
    if (key == root) {
        group = QString::fromLatin1(kRootGroup);
    } else if (key.size() > root.size() && key.compare(0, root.size(), root) == 0 &&
               key[root.size()] == '\\') {
        group = QString::fromLatin1(kRootGroup) + QLatin1Char('/') +
                qvn::ToQString(key.substr(root.size() + 1));
    } else {
        group = qvn::ToQString(key);
    }
    group.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return group;
}

bool CQtSettingsStore::KeyExists(const std::string& key) {
    const QString group = GroupOfKey(key);
    if (m_created.count(group) != 0) {
        return true;
    }
    m_settings->beginGroup(group);
    const bool exists = !m_settings->childKeys().isEmpty() || !m_settings->childGroups().isEmpty();
    m_settings->endGroup();
    return exists;
}

bool CQtSettingsStore::CreateKey(const std::string& key) {
    if (!m_settings->isWritable()) {
        return false;
    }
    m_created.insert(GroupOfKey(key));
    return true;
}

std::optional<std::string> CQtSettingsStore::ReadString(const std::string& key,
                                                        const std::string& name) {
    const QString path = GroupOfKey(key) + QLatin1Char('/') + qvn::ToQString(name);
    const QVariant value = m_settings->value(path);
    if (!value.isValid()) {
        return std::nullopt;
    }
    return qvn::FromQString(value.toString());
}

bool CQtSettingsStore::WriteString(const std::string& key, const std::string& name,
                                   const std::string& value) {
    if (!KeyExists(key) || !m_settings->isWritable()) {
        return false;
    }
    m_settings->setValue(GroupOfKey(key) + QLatin1Char('/') + qvn::ToQString(name),
                         qvn::ToQString(value));
    return true;
}

std::optional<std::uint32_t> CQtSettingsStore::ReadDWord(const std::string& key,
                                                         const std::string& name) {
    const QVariant value =
        m_settings->value(GroupOfKey(key) + QLatin1Char('/') + qvn::ToQString(name));
    if (!value.isValid()) {
        return std::nullopt;
    }
    bool ok = false;
    const uint number = value.toUInt(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(number);
}

bool CQtSettingsStore::WriteDWord(const std::string& key, const std::string& name,
                                  std::uint32_t value) {
    if (!KeyExists(key) || !m_settings->isWritable()) {
        return false;
    }
    m_settings->setValue(GroupOfKey(key) + QLatin1Char('/') + qvn::ToQString(name),
                         static_cast<uint>(value));
    return true;
}

void CQtSettingsStore::Flush() {
    m_settings->sync();
}
