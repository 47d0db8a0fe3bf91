#include "project/RecoveryCopy.h"

#include "model/FileIO.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kCopySuffix = ".qvp";
constexpr const char* kInfoSuffix = ".info";
constexpr const char* kLockSuffix = ".lock";
constexpr const char* kTempSuffix = ".qvp.tmp";

// The info file holds one "name=value" line per field; a value's '%', CR and
// LF are written as %25, %0D and %0A (a path may hold any of them).
std::string Escape(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '%') {
            out += "%25";
        } else if (c == '\n') {
            out += "%0A";
        } else if (c == '\r') {
            out += "%0D";
        } else {
            out += c;
        }
    }
    return out;
}

std::string Unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const std::string_view code = text.substr(i + 1, 2);
            if (code == "25" || code == "0A" || code == "0D") {
                out += code == "25" ? '%' : (code == "0A" ? '\n' : '\r');
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Writes `bytes` to `temp`, makes it durable and renames it to `target`.
// Runs in the writing child: no exceptions, the result is 0 or an errno.
int WriteCopyFile(const std::string& temp, const std::string& target, std::string_view bytes) {
    const int fd =
        ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return errno != 0 ? errno : EIO;
    }
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    int error = 0;
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            break;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temp.c_str());
        return error > 255 || error <= 0 ? EIO : error;
    }
    return 0;
}

std::string NewToken() {
    static std::atomic<unsigned> counter{0};
    return std::to_string(::getpid()) + "-" + std::to_string(std::time(nullptr)) + "-" +
           std::to_string(++counter);
}

bool EndsWith(std::string_view text, std::string_view suffix) {
    return text.size() > suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

} // namespace

CRecoveryCopy::CRecoveryCopy(std::string folder, std::string token)
    : m_folder(std::move(folder)), m_token(std::move(token)),
      m_lock(qvn::JoinPath(m_folder, m_token + kLockSuffix)) {}

CRecoveryCopy::~CRecoveryCopy() {
    m_task.Wait();
}

std::string CRecoveryCopy::FilePath(const char* suffix) const {
    return qvn::JoinPath(m_folder, m_token + suffix);
}

std::string CRecoveryCopy::CopyPath() const {
    return FilePath(kCopySuffix);
}

std::unique_ptr<CRecoveryCopy> CRecoveryCopy::Create(const std::string& folder) {
    if (folder.empty()) {
        return nullptr;
    }
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        fs::create_directories(folder, error);
        // Unsaved work of one user is nobody else's business.
        fs::permissions(folder, fs::perms::owner_all, error);
    }
    std::unique_ptr<CRecoveryCopy> copy(new CRecoveryCopy(folder, NewToken()));
    if (copy->m_lock.TryLock("quorvane") != CLockFile::Status::Acquired) {
        return nullptr;
    }
    return copy;
}

std::vector<std::unique_ptr<CRecoveryCopy>> CRecoveryCopy::ClaimOrphans(const std::string& folder) {
    std::vector<std::string> tokens;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        for (const char* suffix : {kInfoSuffix, kCopySuffix, kLockSuffix, kTempSuffix}) {
            if (EndsWith(name, suffix)) {
                tokens.push_back(name.substr(0, name.size() - std::string_view(suffix).size()));
                break;
            }
        }
    }
    std::sort(tokens.begin(), tokens.end());
    tokens.erase(std::unique(tokens.begin(), tokens.end()), tokens.end());

    std::vector<std::unique_ptr<CRecoveryCopy>> orphans;
    for (const std::string& token : tokens) {
        std::unique_ptr<CRecoveryCopy> copy(new CRecoveryCopy(folder, token));
        if (!copy->ClaimAbandoned()) {
            continue; // a running program owns it
        }
        ::unlink(copy->FilePath(kTempSuffix).c_str());
        if (!copy->HasCopy()) {
            copy->Discard();
            continue;
        }
        copy->ReadInfo();
        orphans.push_back(std::move(copy));
    }
    std::stable_sort(orphans.begin(), orphans.end(),
                     [](const auto& a, const auto& b) { return a->CopyTime() > b->CopyTime(); });
    return orphans;
}

bool CRecoveryCopy::ClaimAbandoned() {
    // The writer of a program that died a moment ago may still finish its
    // copy (it holds the slot until then): worth a short wait.
    for (int attempt = 0; attempt < 100; ++attempt) {
        switch (m_lock.TryLock("quorvane")) {
        case CLockFile::Status::Acquired:
            return true;
        case CLockFile::Status::Unavailable:
            return false;
        case CLockFile::Status::Held:
            break;
        }
        const LockHolder& holder = m_lock.Holder();
        if (holder.host != qvn::HostName() || qvn::IsProcessRunning(holder.pid)) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

void CRecoveryCopy::ReadInfo() {
    m_info = {};
    std::string text;
    try {
        text = qvn::ReadWholeFile(FilePath(kInfoSuffix));
    } catch (const qvn::CFileError&) {
        return;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string_view line(text.data() + start, end - start);
        start = end + 1;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            continue;
        }
        const std::string_view name = line.substr(0, eq);
        const std::string value = Unescape(line.substr(eq + 1));
        if (name == "path") {
            m_info.projectPath = value;
        } else if (name == "title") {
            m_info.title = value;
        } else if (name == "base") {
            m_info.base = CFileSignature::FromText(value);
        }
    }
}

bool CRecoveryCopy::SetInfo(const RecoveryInfo& info) {
    std::string text = "path=" + Escape(info.projectPath) + "\ntitle=" + Escape(info.title) + "\n";
    if (info.base) {
        text += "base=" + info.base->ToText() + "\n";
    }
    try {
        qvn::WriteFileAtomically(FilePath(kInfoSuffix), text);
    } catch (const qvn::CFileError&) {
        return false;
    }
    m_info = info;
    return true;
}

bool CRecoveryCopy::HasCopy() const {
    return qvn::PathExists(CopyPath());
}

std::int64_t CRecoveryCopy::CopyTime() const {
    struct stat st {};
    if (::stat(CopyPath().c_str(), &st) != 0) {
        return 0;
    }
    return static_cast<std::int64_t>(st.st_mtime);
}

std::string CRecoveryCopy::ReadCopy() const {
    return qvn::ReadWholeFile(CopyPath());
}

bool CRecoveryCopy::StartWrite(const std::function<std::string()>& make) {
    const std::string temp = FilePath(kTempSuffix);
    const std::string target = CopyPath();
    // The child keeps the slot's lock open until its copy is complete, so
    // that nobody claims the slot half way should this program die first.
    return m_task.Start([&make, &temp, &target] { return WriteCopyFile(temp, target, make()); },
                        m_lock.Descriptor());
}

std::optional<bool> CRecoveryCopy::PollWrite() {
    const std::optional<int> status = m_task.Poll();
    if (!status) {
        return std::nullopt;
    }
    return *status == 0;
}

bool CRecoveryCopy::WaitForWrite() {
    return m_task.IsRunning() ? m_task.Wait() == 0 : HasCopy();
}

void CRecoveryCopy::Discard() {
    m_task.Kill();
    for (const char* suffix : {kTempSuffix, kCopySuffix, kInfoSuffix}) {
        ::unlink(FilePath(suffix).c_str());
    }
    m_lock.Unlock();
}

namespace qvn {

std::string FormatLocalTime(std::int64_t secondsSinceEpoch) {
    const std::time_t time = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    if (::localtime_r(&time, &local) == nullptr) {
        return std::to_string(secondsSinceEpoch);
    }
    char text[32];
    const std::size_t n = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return std::string(text, n);
}

} // namespace qvn
