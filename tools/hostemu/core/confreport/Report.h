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
