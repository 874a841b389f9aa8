#include "log/Logger.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "log/CFile.h"
#include "log/LogFormat.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#endif

std::string logTimeStamp() {
    platform::LocalTime now{};
    if (!platform::localTime(now)) return std::string();
    return logformat::stampText(now);
}

namespace {
#ifdef _WIN32
class FileHandle {
  public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return h_; }

  private:
    HANDLE h_;
};

// One open-append-close straight through the system, each LF stored as CR LF
// as the runtime's text mode stores it (log readers expect it). The runtime's
// own append costs a seek and a file-type query more per entry, and a lookup
// writes some 25 entries.
void appendEntry(const std::string& name, std::initializer_list<std::string_view> parts) {
    std::size_t size = 0;
    for (std::string_view part : parts)
        size += part.size() + static_cast<std::size_t>(std::count(part.begin(), part.end(), '\n'));
    std::string text;
    text.reserve(size);
    for (std::string_view part : parts) {
        for (char c : part) {
            if (c == '\n') text += '\r';
            text += c;
        }
    }
    FileHandle file(CreateFileA(name.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE || text.empty()) return;
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}
#else
void appendEntry(const std::string& name, std::initializer_list<std::string_view> parts) {
    CFile out = openCFile(name.c_str(), "a");
    if (!out) return;
    for (std::string_view part : parts)
        if (!part.empty()) std::fwrite(part.data(), 1, part.size(), out.get());
}
#endif
}  // namespace

void appendToLog(const std::string& fileName, const std::string& text) {
    appendEntry(fileName, {text});
}

Logger::Logger() : fileName_(kLogFileName) {}

void Logger::writeEntry(const std::string& head, std::string_view body, bool finalLineFeed) {
    appendEntry(fileName_,
                {head, body, finalLineFeed ? std::string_view("\n") : std::string_view()});
}

void Logger::logMessage(const std::string& tag, const std::string& message) {
    writeEntry(logformat::messageHead(logTimeStamp(), tag), message, true);
}

void Logger::log(logevent::Event event, std::initializer_list<logevent::Arg> args) {
    const char* tag = logevent::row(event).tag;
    logMessage(tag ? tag : "", logevent::format(event, args));
}

void Logger::log(const std::string& flowTag, logevent::Event event,
                 std::initializer_list<logevent::Arg> args) {
    const char* tag = logevent::row(event).tag;
    logMessage(tag ? std::string(tag) : flowTag, logevent::format(event, args));
}

void Logger::logInputBuffer(const std::string& tag, const char* buffer, std::size_t length) {
    std::size_t n = 0;
    if (buffer != nullptr) {
        // Never read past the host's length, even when no zero byte ends the text.
        const void* zero = std::memchr(buffer, '\0', length);
        n = zero ? static_cast<const char*>(zero) - buffer : length;
    }
    const std::string_view input(buffer ? buffer : "", n);
    writeEntry(logformat::messageHead(logTimeStamp(), tag) +
                   logevent::format(logevent::Event::InputBuffer, {{"input", {}}}),
               input, true);
}

void Logger::logAnswer(const std::string& path, const char* reply) {
    writeEntry(logformat::answerHead(logTimeStamp(), path), reply ? reply : "", true);
}

void Logger::logParsedXml(const std::string& tag, std::string_view text) {
    writeEntry(logformat::parsedXmlHead(logTimeStamp(), tag), text, true);
}

namespace {
long long logFileSize(const std::string& name) {
    CFile in = openCFile(name.c_str(), "rb");
    if (!in) return -1;
    long long size = -1;
#ifdef _WIN32
    // 64-bit length: _fseeki64 is not in Windows XP's msvcrt.
    size = _filelengthi64(_fileno(in.get()));
#else
    // Only a file has a size here: POSIX opens a folder for reading (and
    // would then report a huge size and remove the folder), Windows does not.
    struct stat info;
    if (fstat(fileno(in.get()), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    if (std::fseek(in.get(), 0, SEEK_END) == 0) size = ftello(in.get());
#endif
    return size < 0 ? -1 : size;
}
}  // namespace

void ClearTheLog() {
    Logger log;
    long long size = logFileSize(log.fileName());
    if (size > kLogSizeLimit && std::remove(log.fileName().c_str()) == 0) {
        log.log(logevent::Event::LogCleared);
        return;
    }
    // "Failed!" also means "not cleared because small enough".
    log.log(logevent::Event::LogNotCleared);
}
