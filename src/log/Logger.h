#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "log/LogEvents.h"
#include "platform/Clock.h"

// Per-call writer of brisvane.log. Every entry is an independent
// open-append-close so that the file can be read, moved or deleted between
// entries; every file failure is silent by design.
class Logger {
  public:
    Logger();

    void logMessage(const std::string& tag, const std::string& message);
    // One of the table's messages (log/LogEvents.h) under its row's tag, or
    // under `flowTag` for a row of the flow's tag.
    void log(logevent::Event event, std::initializer_list<logevent::Arg> args = {});
    void log(const std::string& flowTag, logevent::Event event,
             std::initializer_list<logevent::Arg> args = {});
    void logInputBuffer(const std::string& tag, const char* buffer, std::size_t length);
    void logAnswer(const std::string& path, const char* reply);
    void logParsedXml(const std::string& tag, std::string_view text);

    const std::string& fileName() const { return fileName_; }

  private:
    void writeEntry(const std::string& head, std::string_view body, bool finalLineFeed);

    std::string fileName_;
};

// The stamp of every entry (logformat::stampText) for the time now; empty if
// the system cannot give the time.
std::string logTimeStamp();

// Appends one text-mode chunk to the named file; silent on failure.
void appendToLog(const std::string& fileName, const std::string& text);

// Deletes brisvane.log once it exceeds 10000000 bytes, and logs the outcome.
void ClearTheLog();

constexpr long long kLogSizeLimit = 10000000;
constexpr const char* kLogFileName = "brisvane.log";
