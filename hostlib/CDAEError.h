#pragma once
// The host library's one exception type. It never crosses the module boundary: every entry
// routine turns it back into the status code it carries.

#include <cstdint>
#include <exception>

class CDAEError : public std::exception {
public:
  explicit CDAEError(int32_t code) : code_(code) {}
  int32_t Code() const { return code_; }
  const char* what() const noexcept override { return "host library status"; }

private:
  int32_t code_;
};
