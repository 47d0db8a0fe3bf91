// The icons of the 16 entry types (one scalable image each, drawn at 16
// pixels in the details and small-icon displays and at 32 in the large-icon
// display) and the two icons of the strings list.
#pragma once

#include <QIcon>

namespace qvn {

// The icon of an entry type index; an empty icon for an index outside 0..15.
const QIcon& EntryTypeIcon(int type);
// Icon 0 of the strings list marks rows made by a refill, icon 1 rows that a
// paste or drop added.
const QIcon& StringRowIcon(int icon);

} // namespace qvn
