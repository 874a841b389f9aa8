#include "log/Logger.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>

std::string logTimeStamp() {
    std::time_t now = std::time(nullptr);
    if (now == static_cast<std::time_t>(-1)) return std::string();
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &now) != 0) return std::string();
#else
    if (localtime_r(&now, &local) == nullptr) return std::string();
#endif
    char buf[128];
    std::size_t n = std::strftime(buf, sizeof buf, "%m-%d-%Y %X", &local);
    return std::string(buf, n);
}

void appendToLog(const std::string& fileName, const std::string& text) {
    // Text mode: the Windows runtime stores each LF as CR LF, as log readers expect.
    std::ofstream out(fileName, std::ios::out | std::ios::app);
    out << text;
}

Logger::Logger() : fileName_(kLogFileName) {}

void Logger::writeEntry(const std::string& head, std::string_view body, bool finalLineFeed) {
    std::ofstream out(fileName_, std::ios::out | std::ios::app);
    out << head;
    out << body;
    if (finalLineFeed) out << '\n';
}

void Logger::logMessage(const std::string& tag, const std::string& message) {
    std::string entry;
    entry.reserve(tag.size() + message.size() + 32);
    entry += '[';
    entry += logTimeStamp();
    entry += "] ";
    entry += tag;
    entry += " : ";
    entry += message;
    entry += '\n';
    appendToLog(fileName_, entry);
}

void Logger::logInputBuffer(const std::string& tag, const char* buffer, std::size_t length) {
    std::size_t n = 0;
    if (buffer != nullptr) {
        // Never read past the host's length, even when no zero byte ends the text.
        const void* zero = std::memchr(buffer, '\0', length);
        n = zero ? static_cast<const char*>(zero) - buffer : length;
    }
    writeEntry("[" + logTimeStamp() + "] " + tag + " : InputBuf was\n\n",
               std::string(buffer ? buffer : "", n), true);
}

void Logger::logAnswer(const std::string& path, const char* reply) {
    writeEntry("[" + logTimeStamp() + "] ANSWER FROM URL " + path + " \n", reply ? reply : "",
               true);
}

void Logger::logParsedXml(const std::string& tag, std::string_view text) {
    writeEntry("[" + logTimeStamp() + "] PARSE XML FROM " + tag + " \n", text, true);
}

namespace {
long long logFileSize(const std::string& name) {
    std::ifstream in(name, std::ios::in | std::ios::binary | std::ios::ate);
    if (!in.is_open()) return -1;
    std::streamoff pos = in.tellg();
    return pos < 0 ? -1 : static_cast<long long>(pos);
}
}  // namespace

void ClearTheLog() {
    Logger log;
    long long size = logFileSize(log.fileName());
    if (size > kLogSizeLimit && std::remove(log.fileName().c_str()) == 0) {
        log.logMessage("ClearTheLog", "Success!");
        return;
    }
    // "Failed!" also means "not cleared because small enough".
    log.logMessage("ClearTheLog", "Failed!");
}
