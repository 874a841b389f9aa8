#pragma once
// Where a command's text goes. Commands write UTF-8; what the text becomes on
// a console (or in a test) is the sink's business, so every command can be
// run and checked without a console.
#include <string>

class Output {
  public:
    virtual ~Output() = default;
    // The command's report (standard output).
    virtual void out(const std::string& text) = 0;
    // Complaints about the invocation or the surroundings (standard error).
    virtual void err(const std::string& text) = 0;
    // The text so far is shown before a slow step begins.
    virtual void flush() {}
};

// Keeps everything written, for tests and for reports assembled before printing.
class StringOutput : public Output {
  public:
    void out(const std::string& text) override { out_ += text; }
    void err(const std::string& text) override { err_ += text; }
    const std::string& outText() const { return out_; }
    const std::string& errText() const { return err_; }

  private:
    std::string out_;
    std::string err_;
};
