#pragma once
#include <exception>
#include <string>

// An exchange that did not finish within the time limit. `message` is the
// Windows-1251 text shown to the cashier.
class TimeoutExceeded : public std::exception {
  public:
    TimeoutExceeded();
    std::string message;
};
