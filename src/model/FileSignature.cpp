#include "model/FileSignature.h"

#include "model/FileIO.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace qvn {

namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ULL;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63ULL;
constexpr std::uint64_t kPrime5 = 0x27D4EB2F165667C5ULL;

std::uint64_t RotateLeft(std::uint64_t x, int bits) {
    return (x << bits) | (x >> (64 - bits));
}

// Little-endian reads, whatever the machine's byte order.
std::uint64_t Read64(const unsigned char* p) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) {
        v = (v << 8) | p[i];
    }
    return v;
}

std::uint64_t Read32(const unsigned char* p) {
    return std::uint64_t{p[0]} | (std::uint64_t{p[1]} << 8) | (std::uint64_t{p[2]} << 16) |
           (std::uint64_t{p[3]} << 24);
}

std::uint64_t Round(std::uint64_t acc, std::uint64_t input) {
    acc += input * kPrime2;
    acc = RotateLeft(acc, 31);
    return acc * kPrime1;
}

std::uint64_t MergeRound(std::uint64_t acc, std::uint64_t value) {
    acc ^= Round(0, value);
    return acc * kPrime1 + kPrime4;
}

} // namespace

CContentHasher::CContentHasher() : m_v{kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1} {}

void CContentHasher::Update(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = p + bytes.size();
    m_total += bytes.size();
    if (m_buffered > 0) {
        const std::size_t take = std::min<std::size_t>(kStripe - m_buffered, bytes.size());
        std::memcpy(m_buffer + m_buffered, p, take);
        m_buffered += take;
        p += take;
        if (m_buffered < kStripe) {
            return;
        }
        Stripe(m_buffer);
        m_buffered = 0;
    }
    while (end - p >= static_cast<std::ptrdiff_t>(kStripe)) {
        Stripe(p);
        p += kStripe;
    }
    m_buffered = static_cast<std::size_t>(end - p);
    std::memcpy(m_buffer, p, m_buffered);
}

void CContentHasher::Stripe(const unsigned char* p) {
    m_v[0] = Round(m_v[0], Read64(p));
    m_v[1] = Round(m_v[1], Read64(p + 8));
    m_v[2] = Round(m_v[2], Read64(p + 16));
    m_v[3] = Round(m_v[3], Read64(p + 24));
}

std::uint64_t CContentHasher::Finish() const {
    std::uint64_t h = 0;
    if (m_total >= kStripe) {
        h = RotateLeft(m_v[0], 1) + RotateLeft(m_v[1], 7) + RotateLeft(m_v[2], 12) +
            RotateLeft(m_v[3], 18);
        for (const std::uint64_t v : m_v) {
            h = MergeRound(h, v);
        }
    } else {
        h = kPrime5;
    }
    h += m_total;
    const unsigned char* p = m_buffer;
    const unsigned char* const end = m_buffer + m_buffered;
    while (end - p >= 8) {
        h ^= Round(0, Read64(p));
        h = RotateLeft(h, 27) * kPrime1 + kPrime4;
        p += 8;
    }
    if (end - p >= 4) {
        h ^= Read32(p) * kPrime1;
        h = RotateLeft(h, 23) * kPrime2 + kPrime3;
        p += 4;
    }
    while (p < end) {
        h ^= *p * kPrime5;
        h = RotateLeft(h, 11) * kPrime1;
        ++p;
    }
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime3;
    h ^= h >> 32;
    return h;
}

std::uint64_t ContentHash(std::string_view bytes) {
    CContentHasher hasher;
    hasher.Update(bytes);
    return hasher.Finish();
}

} // namespace qvn

CFileSignature CFileSignature::Of(std::string_view bytes) {
    return {static_cast<std::uint64_t>(bytes.size()), qvn::ContentHash(bytes)};
}

CFileSignature CFileSignature::OfFile(const std::string& path) {
    qvn::CContentHasher hasher;
    qvn::ReadFilePieces(path, [&](std::string_view piece) { hasher.Update(piece); });
    return hasher.Signature();
}

std::string CFileSignature::ToText() const {
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(this->hash));
    return std::to_string(size) + " " + hash;
}

std::optional<CFileSignature> CFileSignature::FromText(std::string_view text) {
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos) {
        return std::nullopt;
    }
    CFileSignature signature;
    const char* const sizeEnd = text.data() + space;
    const auto size = std::from_chars(text.data(), sizeEnd, signature.size);
    const auto hash = std::from_chars(sizeEnd + 1, text.data() + text.size(), signature.hash, 16);
    if (size.ec != std::errc() || size.ptr != sizeEnd || hash.ec != std::errc() ||
        hash.ptr != text.data() + text.size()) {
        return std::nullopt;
    }
    return signature;
}
