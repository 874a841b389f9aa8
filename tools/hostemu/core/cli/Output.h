#pragma once
// Where a command's text goes. Commands write UTF-8; what the text becomes on
// a console (or in a test) is the sink's business, so every command can be
// run and checked without a console. The sink also carries the language the
// reader asked for, so that a command's texts follow it without global state.
#include <string>

#include "cli/Wrap.h"
#include "i18n/Messages.h"

// `text` as hostemu's complaint: after its name, so that it reads apart from
// the report and from Windows' own messages. The only place the name is typed.
inline std::string complaintText(const std::string& text) { return "hostemu: " + text; }

class Output {
  public:
    explicit Output(const Catalog& catalog = kEnglishCatalog) : catalog_(&catalog) {}
    virtual ~Output() = default;
    // The command's report (standard output).
    virtual void out(const std::string& text) = 0;
    // Complaints about the invocation or the surroundings (standard error).
    virtual void err(const std::string& text) = 0;
    // One complaint, `text` after hostemu's name, as a line of standard error.
    void complain(const std::string& text) { err(complaintText(text) + "\n"); }
    // The text so far is shown before a slow step begins.
    virtual void flush() {}
    // How many characters a line of standard output may hold: where text is
    // laid out by hostemu (the help), it is wrapped to this.
    virtual std::size_t width() const { return kDefaultTextWidth; }

    const Catalog& catalog() const { return *catalog_; }
    Language language() const { return catalog_->language; }
    void setCatalog(const Catalog& catalog) { catalog_ = &catalog; }
    // The message in the reader's language with its parameters filled in.
    std::string text(Msg id, MessageArgs args = {}) const {
        return formatMessage(*catalog_, id, args);
    }
    // The form of the message that `count` takes.
    std::string plural(PluralMsg id, unsigned long long count, MessageArgs args = {}) const {
        return formatPlural(*catalog_, id, count, args);
    }

  private:
    const Catalog* catalog_;
};

// Keeps everything written, for tests and for reports assembled before printing.
class StringOutput : public Output {
  public:
    using Output::Output;
    void out(const std::string& text) override { out_ += text; }
    void err(const std::string& text) override { err_ += text; }
    std::size_t width() const override { return width_; }
    void setWidth(std::size_t width) { width_ = width; }
    const std::string& outText() const { return out_; }
    const std::string& errText() const { return err_; }

  private:
    std::string out_;
    std::string err_;
    std::size_t width_ = kDefaultTextWidth;
};
