#include "model/Archive.h"

#include "model/TextUtil.h"

#include <algorithm>

namespace {

void PutLE(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

[[noreturn]] void EndOfData() {
    throw CArchiveError(CArchiveError::Kind::EndOfFile, "Unexpected end of file");
}

} // namespace

void CArchive::SetSink(Sink sink) {
    m_sink = std::move(sink);
    m_buffer.reserve(kPieceBytes + (kPieceBytes >> 4));
}

void CArchive::Flush() {
    if (m_sink && !m_buffer.empty()) {
        m_sink(m_buffer);
        m_buffer.clear();
    }
}

void CArchive::WriteInt32(std::int32_t value) {
    PutLE(m_buffer, static_cast<std::uint32_t>(value), 4);
}

void CArchive::WriteCount(std::uint32_t count) {
    if (count < 0xFFFF) {
        PutLE(m_buffer, count, 2);
    } else {
        PutLE(m_buffer, 0xFFFF, 2);
        PutLE(m_buffer, count, 4);
    }
}

void CArchive::WriteStringLength(std::string& out, std::uint64_t n) {
    if (n < 0xFF) {
        PutLE(out, n, 1);
    } else if (n < 0xFFFE) {
        PutLE(out, 0xFF, 1);
        PutLE(out, n, 2);
    } else if (n < 0xFFFFFFFFull) {
        PutLE(out, 0xFF, 1);
        PutLE(out, 0xFFFF, 2);
        PutLE(out, n, 4);
    } else {
        PutLE(out, 0xFF, 1);
        PutLE(out, 0xFFFF, 2);
        PutLE(out, 0xFFFFFFFFull, 4);
        PutLE(out, n, 8);
    }
}

void CArchive::WriteString(std::string_view text) {
    WriteStringLength(m_buffer, text.size());
    m_buffer.append(text);
    MaybeFlush();
}

void CArchive::WriteUInt64(std::uint64_t value) {
    PutLE(m_buffer, value, 8);
}

void CArchive::WriteRaw(std::string_view bytes) {
    m_buffer.append(bytes);
    MaybeFlush();
}

std::string_view CArchive::ReadRaw(std::uint64_t count) {
    Need(count);
    const std::string_view out = m_data.substr(m_pos, static_cast<std::size_t>(count));
    m_pos += static_cast<std::size_t>(count);
    return out;
}

void CArchive::Need(std::uint64_t bytes) const {
    if (bytes > Remaining()) {
        EndOfData();
    }
}

void CArchive::CheckCount(std::uint64_t count, std::size_t minBytesEach) const {
    if (minBytesEach > 0 && count > Remaining() / minBytesEach) {
        EndOfData();
    }
}

std::uint8_t CArchive::ReadByte() {
    Need(1);
    return static_cast<std::uint8_t>(m_data[m_pos++]);
}

std::uint16_t CArchive::ReadUInt16() {
    Need(2);
    std::uint16_t v = 0;
    for (int i = 0; i < 2; ++i) {
        v |= static_cast<std::uint16_t>(static_cast<std::uint8_t>(m_data[m_pos++]) << (8 * i));
    }
    return v;
}

std::uint32_t CArchive::ReadUInt32() {
    Need(4);
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(m_data[m_pos++])) << (8 * i);
    }
    return v;
}

std::uint64_t CArchive::ReadUInt64() {
    Need(8);
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) {
        v |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(m_data[m_pos++])) << (8 * i);
    }
    return v;
}

std::int32_t CArchive::ReadInt32() {
    return static_cast<std::int32_t>(ReadUInt32());
}

std::uint32_t CArchive::ReadCount() {
    const std::uint16_t small = ReadUInt16();
    if (small != 0xFFFF) {
        return small;
    }
    return ReadUInt32();
}

std::string CArchive::ReadString() {
    std::string converted;
    const std::string_view text = ReadStringView(converted);
    return text.data() == converted.data() ? std::move(converted) : std::string(text);
}

std::string_view CArchive::ReadStringView(std::string& converted) {
    converted.clear();
    bool wide = false;
    std::uint64_t length = ReadByte();
    if (length == 0xFF) {
        std::uint16_t word = ReadUInt16();
        if (word == 0xFFFE) {
            wide = true;
            length = ReadByte();
            if (length == 0xFF) {
                word = ReadUInt16();
            }
        }
        if (length == 0xFF) {
            length = word;
            if (word == 0xFFFF) {
                length = ReadUInt32();
                if (length == 0xFFFFFFFFull) {
                    length = ReadUInt64();
                    if (length > 0x7FFFFFFFull) {
                        throw CArchiveError(CArchiveError::Kind::Generic, "String too long");
                    }
                }
            }
        }
    }
    if (!wide) {
        Need(length);
        const std::string_view out = m_data.substr(m_pos, static_cast<std::size_t>(length));
        m_pos += static_cast<std::size_t>(length);
        return out;
    }
    Need(length * 2);
    std::string& out = converted;
    out.reserve(static_cast<std::size_t>(length));
    const std::size_t end = m_pos + static_cast<std::size_t>(length) * 2;
    while (m_pos < end) {
        char32_t unit = static_cast<std::uint8_t>(m_data[m_pos]) |
                        (static_cast<std::uint8_t>(m_data[m_pos + 1]) << 8);
        m_pos += 2;
        if (unit >= 0xD800 && unit < 0xDC00 && m_pos < end) {
            const char32_t low = static_cast<std::uint8_t>(m_data[m_pos]) |
                                 (static_cast<std::uint8_t>(m_data[m_pos + 1]) << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                m_pos += 2;
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            }
        }
        if (unit >= 0xD800 && unit < 0xE000) {
            unit = 0xFFFD; // a lone surrogate has no character
        }
        qvn::AppendUtf8(out, unit);
    }
    return out;
}

void CArchive::SetProgress(ProgressHook hook, std::uint64_t expectedTicks) {
    m_progress = std::move(hook);
    m_ticks = 0;
    m_expectedTicks = expectedTicks;
}

void CArchive::ReportProgress() {
    const bool goOn = m_loading ? m_progress(m_pos, m_data.size())
                                : m_progress(m_ticks, std::max(m_ticks, m_expectedTicks));
    if (!goOn) {
        throw CArchiveError(CArchiveError::Kind::Cancelled, "cancelled");
    }
}
