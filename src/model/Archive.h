// The binary archive of the project file: little-endian integers, counts and
// length-prefixed strings. Loading works on the whole file in memory so that
// every announced length and count is checked against the bytes that remain
// before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

class CArchiveError : public std::runtime_error {
public:
    enum class Kind {
        EndOfFile, // the data ended early or did not fit the layout
        Generic,   // anything else that makes the file unreadable
        Cancelled, // the progress hook asked to stop
    };
    CArchiveError(Kind kind, const std::string& what) : std::runtime_error(what), m_kind(kind) {}
    Kind GetKind() const { return m_kind; }

private:
    Kind m_kind;
};

class CArchive {
public:
    // An archive that stores into its own buffer.
    CArchive() = default;
    // An archive that loads from `data`, which must outlive it.
    explicit CArchive(std::string_view data) : m_loading(true), m_data(data) {}

    bool IsLoading() const { return m_loading; }
    bool IsStoring() const { return !m_loading; }

    void WriteInt32(std::int32_t value);
    void WriteCount(std::uint32_t count);
    void WriteString(std::string_view text);
    void WriteUInt64(std::uint64_t value);
    // Bytes as they are, without a length.
    void WriteRaw(std::string_view bytes);
    static void WriteStringLength(std::string& out, std::uint64_t length);
    const std::string& Buffer() const { return m_buffer; }
    std::string TakeBuffer() { return std::move(m_buffer); }
    // Room for `bytes` written bytes: a large buffer is not copied as it grows.
    void Reserve(std::size_t bytes) { m_buffer.reserve(bytes); }
    // Hands what is written to `sink` a piece at a time instead of keeping
    // it all: the buffer then holds about one piece. Flush() hands over the
    // rest; the sink may throw.
    using Sink = std::function<void(std::string_view)>;
    void SetSink(Sink sink);
    void Flush();

    std::int32_t ReadInt32();
    std::uint32_t ReadCount();
    std::string ReadString();
    // The next string without a copy: a view into the loaded data, or, for
    // a wide string, into `converted`, which then holds the converted text.
    std::string_view ReadStringView(std::string& converted);
    std::uint64_t ReadUInt64();
    // The next `count` bytes as they are (an end-of-data error when fewer
    // remain).
    std::string_view ReadRaw(std::uint64_t count);
    std::size_t Remaining() const { return m_data.size() - m_pos; }
    // Fails with an end-of-data error unless `count` records of at least
    // `minBytesEach` bytes each can still follow.
    void CheckCount(std::uint64_t count, std::size_t minBytesEach) const;

    // Progress of a long load or store: the layers that read or write many
    // records call Tick() once per record, and every 1 024th call asks
    // `hook` with how far the work got (bytes read of the data when loading;
    // records written of `expectedTicks` when storing). When the hook
    // answers false, Tick() throws a Cancelled error.
    using ProgressHook = std::function<bool(std::uint64_t done, std::uint64_t total)>;
    void SetProgress(ProgressHook hook, std::uint64_t expectedTicks = 0);
    void Tick() {
        if (m_progress && (++m_ticks & 1023U) == 0) {
            ReportProgress();
        }
    }

private:
    std::uint8_t ReadByte();
    std::uint16_t ReadUInt16();
    std::uint32_t ReadUInt32();
    void Need(std::uint64_t bytes) const;
    void ReportProgress();
    void MaybeFlush() {
        if (m_sink && m_buffer.size() >= kPieceBytes) {
            Flush();
        }
    }

    static constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

    bool m_loading = false;
    std::string m_buffer;
    std::string_view m_data;
    std::size_t m_pos = 0;
    Sink m_sink;
    ProgressHook m_progress;
    std::uint64_t m_ticks = 0;
    std::uint64_t m_expectedTicks = 0;
};
