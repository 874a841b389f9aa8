#pragma once
#include <cstddef>
#include <string>
#include <vector>

class Output;

// The configuration report as it is built: titled sections of lines, some of
// them warnings. Printed at the end so that the warning count can close it.
class Report {
  public:
    void section(const std::string& title);
    void line(const std::string& text);
    void warn(const std::string& text);
    std::size_t warnings() const { return warnings_; }
    void print(Output& output) const;

  private:
    std::vector<std::string> lines_;
    std::size_t warnings_ = 0;
};

// Text in double quotes with line feeds, returns and tabs made visible.
std::string quoted(const std::string& text);

// A token as it may be shown to a screen: its start and end kept, the middle
// starred, its length named.
std::string maskToken(const std::string& token);

// True when atoi would read exactly what is written: an optional sign and digits.
bool isPlainInteger(const std::string& text);

// True for text with blanks, tabs or line feeds anywhere in it.
bool hasWhiteSpace(const std::string& text);
