#pragma once
#include "Output.h"

// Standard output and error of a Windows console program. The console is
// switched to UTF-8 once, here: everything hostemu writes is UTF-8.
class ConsoleOutput : public Output {
  public:
    ConsoleOutput();
    void out(const std::string& text) override;
    void err(const std::string& text) override;
    void flush() override;
};

// Size of a file in bytes, 0 when it does not exist.
long long fileSize(const char* name);
