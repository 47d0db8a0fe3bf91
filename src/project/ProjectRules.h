// The rules for the names a project gives to what it writes: one function
// per rule, used by the dialogs, the document and the command-line tool, so
// that every front end accepts and refuses the same names.
#pragma once

#include <string>
#include <string_view>

// A name under which the program may create a file in a folder: not empty,
// no folder part, not "." or "..", no character of the forbidden file name
// set and no control character (NUL included), and no device name that
// Windows reserves (CON, NUL, COM1 ..., with any extension), since project
// files travel between systems.
bool IsValidFileName(std::string_view name);

// The strings file name: a valid file name of at least five characters
// whose last four are ".bib" in any letter case.
bool IsValidStringsFileName(std::string_view name);
// Said when a strings file name is refused; it lists the forbidden
// characters.
std::string InvalidStringsFileMessage();
