// Readable text of TeX value text, and the folded form that typed words are
// matched against. Display only: stored values are never converted.
#pragma once

#include <string>
#include <string_view>

namespace qvn {

// The letters and signs a TeX text stands for: accents and the special
// letters of plain TeX become characters ({\"u}, \"{u}, \'e, \c{c}, \ss,
// \o, \aa, \l ...), -- and --- dashes, ~ a no-break space, \& \% \$ \_ \#
// \{ \} their sign, and protecting braces go. Math ($...$) and commands
// that are not known stay as written, braces of their arguments included.
// Bytes that are not UTF-8 pass through unchanged.
std::string TexToText(std::string_view tex);

// Plain text lower-cased, accents taken off the letters (ü -> u, ß -> ss,
// ø -> o), dashes as '-' and no-break spaces as blanks: two texts that a
// reader takes for the same word fold to the same bytes.
std::string FoldText(std::string_view text);
void AppendFolded(std::string& out, std::string_view text);

// FoldText(TexToText(tex)).
std::string FoldTex(std::string_view tex);

} // namespace qvn
