#pragma once
#include "cli/Output.h"

// Standard output and error of a Windows console program. Commands write
// UTF-8; where a stream is a console it is given UTF-16 (WriteConsoleW),
// which every Windows shows right whatever its code page, where it is a file
// or a pipe it gets the UTF-8 bytes as they are.
class ConsoleOutput : public Output {
  public:
    void out(const std::string& text) override;
    void err(const std::string& text) override;
    void flush() override;
    // The console window's width when standard output is a console, else 80.
    std::size_t width() const override;
};
