#include "app/RecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

constexpr int kMaxShownLength = 60;

QString Normalised(const QString& path) {
    const QFileInfo info(path);
    return QDir::toNativeSeparators(info.isRelative() ? info.absoluteFilePath() : path);
}

} // namespace

CRecentFileList::CRecentFileList(QSettings& settings, int size, QObject* parent)
    : QObject(parent), m_settings(settings), m_size(size) {}

void CRecentFileList::Load() {
    m_entries.clear();
    m_settings.beginGroup(QString::fromLatin1(kGroup));
    for (int i = 1; i <= m_size; ++i) {
        const QString path = m_settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty() && !m_entries.contains(path)) {
            m_entries << path;
        }
    }
    m_settings.endGroup();
    Q_EMIT changed();
}

void CRecentFileList::Save() {
    m_settings.beginGroup(QString::fromLatin1(kGroup));
    m_settings.remove(QString());
    for (int i = 0; i < m_entries.size(); ++i) {
        m_settings.setValue(QStringLiteral("File%1").arg(i + 1), m_entries[i]);
    }
    m_settings.endGroup();
    m_settings.sync();
}

void CRecentFileList::Add(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    const QString entry = Normalised(path);
    m_entries.removeAll(entry);
    m_entries.prepend(entry);
    while (m_entries.size() > m_size) {
        m_entries.removeLast();
    }
    Save();
    Q_EMIT changed();
}

void CRecentFileList::Remove(int index) {
    if (index < 0 || index >= m_entries.size()) {
        return;
    }
    m_entries.removeAt(index);
    Save();
    Q_EMIT changed();
}

QString CRecentFileList::MenuText(int index) const {
    if (index < 0 || index >= m_entries.size()) {
        return {};
    }
    QString shown = m_entries[index];
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (!home.isEmpty() && shown.startsWith(home + QDir::separator())) {
        shown = QLatin1Char('~') + shown.mid(home.size());
    }
    if (shown.size() > kMaxShownLength) {
        // Keep the file name whole and shorten the folders in front of it.
        const QString name = QFileInfo(shown).fileName();
        const qsizetype keep = std::max<qsizetype>(0, kMaxShownLength - name.size() - 4);
        shown = shown.left(keep) + QStringLiteral("...") + QDir::separator() + name;
    }
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}
