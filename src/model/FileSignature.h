// What a file held when it was last read or written: its size and a hash of
// its bytes. Time stamps are left out on purpose: copies and sync tools set
// them at will, and an edit may keep them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct CFileSignature {
    std::uint64_t size = 0;
    std::uint64_t hash = 0;

    static CFileSignature Of(std::string_view bytes);
    // The text form kept in small metadata files, and back (nullopt for a
    // text that is not one).
    std::string ToText() const;
    static std::optional<CFileSignature> FromText(std::string_view text);

    bool operator==(const CFileSignature& other) const = default;
};

namespace qvn {

// XXH64 with seed 0: fast enough to hash a large project file each time the
// window gets the focus back.
std::uint64_t ContentHash(std::string_view bytes);

} // namespace qvn
