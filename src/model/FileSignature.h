// What a file held when it was last read or written: its size and a hash of
// its bytes. Time stamps are left out on purpose: copies and sync tools set
// them at will, and an edit may keep them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct CFileSignature {
    std::uint64_t size = 0;
    std::uint64_t hash = 0;

    static CFileSignature Of(std::string_view bytes);
    // The same for a file, read piece by piece: a large file is never held
    // whole. Throws qvn::CFileError.
    static CFileSignature OfFile(const std::string& path);
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

// The same hash over bytes that come in pieces: any split of the bytes gives
// ContentHash of the whole.
class CContentHasher {
public:
    CContentHasher();
    void Update(std::string_view bytes);
    std::uint64_t Finish() const;
    // The signature of all bytes given so far.
    CFileSignature Signature() const { return {m_total, Finish()}; }

private:
    static constexpr std::size_t kStripe = 32;
    void Stripe(const unsigned char* p);

    std::uint64_t m_v[4];
    std::uint64_t m_total = 0;
    unsigned char m_buffer[kStripe] = {};
    std::size_t m_buffered = 0;
};

} // namespace qvn
