// Conversions between the core's byte strings and Qt's text. The core keeps
// UTF-8 bytes; bytes that are not valid UTF-8 are shown as Windows-1252
// characters, so the screen never drops what a user's file holds.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace qvn {

QString ToQString(std::string_view bytes);
std::string FromQString(const QString& text);

} // namespace qvn
