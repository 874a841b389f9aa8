#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "i18n/Messages.h"

class Output;

// The configuration report as it is built: titled sections of lines, some of
// them warnings. Printed at the end so that the warning count can close it.
class Report {
  public:
    // `catalog` (the reader's language) must outlive the report.
    explicit Report(const Catalog& catalog) : catalog_(catalog) {}
    const Catalog& catalog() const { return catalog_; }
    // A message in the reader's language, for a line or a warning.
    std::string text(Msg id, MessageArgs args = {}) const {
        return formatMessage(catalog_, id, args);
    }
    std::string plural(PluralMsg id, unsigned long long count, MessageArgs args = {}) const {
        return formatPlural(catalog_, id, count, args);
    }
    void section(const std::string& title);
    void line(const std::string& text);
    void warn(const std::string& text);
    std::size_t warnings() const { return warnings_; }
    void print(Output& output) const;

  private:
    const Catalog& catalog_;
    std::vector<std::string> lines_;
    std::size_t warnings_ = 0;
};
