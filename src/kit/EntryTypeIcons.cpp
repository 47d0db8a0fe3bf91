#include "kit/EntryTypeIcons.h"

#include "kit/QtText.h"
#include "model/Catalogue.h"

#include <array>

namespace qvn {

const QIcon& EntryTypeIcon(int type) {
    // Loaded once: a QIcon per row would cost a hundred thousand copies.
    static const std::array<QIcon, kEntryTypeCount> icons = [] {
        std::array<QIcon, kEntryTypeCount> loaded;
        for (int t = 0; t < kEntryTypeCount; ++t) {
            loaded[static_cast<std::size_t>(t)] =
                QIcon(QStringLiteral(":/icons/types/%1.svg").arg(ToQString(EntryTypeName(t))));
        }
        return loaded;
    }();
    static const QIcon other(QStringLiteral(":/icons/types/other.svg"));
    return type >= 0 && type < kEntryTypeCount ? icons[static_cast<std::size_t>(type)] : other;
}

const QIcon& StringRowIcon(int icon) {
    static const QIcon refilled(QStringLiteral(":/icons/strings.svg"));
    static const QIcon added(QStringLiteral(":/icons/string_added.svg"));
    return icon == 1 ? added : refilled;
}

} // namespace qvn
