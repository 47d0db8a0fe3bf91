// The icons of the 16 entry types and of the types outside the catalogue
// (one scalable image each, drawn at 16 pixels in the details and small-icon
// displays and at 32 in the large-icon display) and the two icons of the
// strings list.
#pragma once

#include <QIcon>

namespace qvn {

// The icon of an entry type index; for a type outside the catalogue (any
// other index) the generic icon of other types.
const QIcon& EntryTypeIcon(int type);
// Icon 0 of the strings list marks rows made by a refill, icon 1 rows that a
// paste or drop added.
const QIcon& StringRowIcon(int icon);

} // namespace qvn
