// Opening and saving project files for the command-line commands. Both tell
// the user what went wrong through the document's messages.
#pragma once

#include <string>

class CQVNDoc;

namespace cli {

bool OpenProjectFile(CQVNDoc& doc, const std::string& path);
bool SaveProjectFile(CQVNDoc& doc, const std::string& path);

} // namespace cli
