// The most recently opened or saved project files, newest first, kept in the
// per-user settings under "Recent File List" as "File1".."File4".
#pragma once

#include <QObject>
#include <QStringList>

class QSettings;

class CRecentFileList : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kGroup = "Recent File List";

    CRecentFileList(QSettings& settings, int size, QObject* parent = nullptr);

    void Load();
    void Save();
    // Moves or inserts the path at the top and drops what falls off the end.
    void Add(const QString& path);
    void Remove(int index);
    const QStringList& Entries() const { return m_entries; }
    int GetSize() const { return m_size; }
    // The menu text of entry `index`: "&1 " and the path, shortened.
    QString MenuText(int index) const;

Q_SIGNALS:
    void changed();

private:
    QSettings& m_settings;
    int m_size;
    QStringList m_entries;
};
