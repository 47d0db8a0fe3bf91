#include "widgets/FileFilters.h"

namespace {

// True for a trailing "(...)" that lists patterns rather than ordinary words.
bool EndsInPatternList(const QString& description, qsizetype* openAt) {
    if (!description.endsWith(QLatin1Char(')'))) {
        return false;
    }
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open < 0) {
        return false;
    }
    const QString inner = description.mid(open + 1, description.size() - open - 2);
    if (!inner.contains(QLatin1Char('*')) && !inner.contains(QLatin1Char('?'))) {
        return false;
    }
    *openAt = open;
    return true;
}

QString QtPatterns(const QString& windowsPatterns) {
    QStringList patterns;
    for (const QString& part : windowsPatterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (pattern.isEmpty()) {
            continue;
        }
        patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
    }
    patterns.removeDuplicates();
    return patterns.join(QLatin1Char(' '));
}

} // namespace

QStringList QtFiltersFromWindowsFilter(const QString& filter) {
    QStringList parts = filter.split(QLatin1Char('|'));
    // The form ends in "||": trailing empty parts carry nothing.
    while (!parts.isEmpty() && parts.last().isEmpty()) {
        parts.removeLast();
    }
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = QtPatterns(parts[i + 1]);
        if (patterns.isEmpty()) {
            continue;
        }
        QString description = parts[i].trimmed();
        qsizetype open = -1;
        if (EndsInPatternList(description, &open)) {
            description = description.left(open).trimmed();
        }
        if (description.isEmpty()) {
            result << patterns;
        } else {
            result << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
        }
    }
    return result;
}

QString QtDefaultSuffix(const QString& extension) {
    QString suffix = extension.trimmed();
    while (suffix.startsWith(QLatin1Char('.'))) {
        suffix.remove(0, 1);
    }
    return suffix;
}
