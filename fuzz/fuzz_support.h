// What the fuzz targets share: a reader that takes control values off the
// front of the input, and the check that ends the run loudly when a property
// of the core does not hold. Both the libFuzzer builds (clang) and the plain
// replay driver (any compiler) include it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace veltrano::fuzz {

// Control values off the front of the input; an input that runs out reads as
// zeros, so every input, however short, is a valid case.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::uint16_t u16() { return static_cast<std::uint16_t>(byte() | byte() << 8); }
  std::uint64_t u64() {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(byte()) << (8 * i);
    return v;
  }
  // Any double, NaN and infinities included: the input's bits as they are.
  double bits_double() {
    const std::uint64_t bits = u64();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  // Up to `max` bytes as text, ended early by a 0 byte (which is consumed).
  std::string text(std::size_t max) {
    std::string out;
    while (out.size() < max && pos_ < size_) {
      const char c = static_cast<char>(data_[pos_++]);
      if (c == '\0') break;
      out += c;
    }
    return out;
  }
  // Whatever is left.
  std::string rest() {
    std::string out(reinterpret_cast<const char*>(data_) + pos_, size_ - pos_);
    pos_ = size_;
    return out;
  }
  bool empty() const { return pos_ >= size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

[[noreturn]] inline void fail(const char* condition, const std::string& detail) {
  std::fprintf(stderr, "\nPROPERTY VIOLATED: %s\n  %s\n", condition, detail.c_str());
  std::fflush(stderr);
  std::abort();
}

// The text in quotes, with bytes that do not print shown as \xNN.
inline std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out + "\"";
}

// Exact text of a double for messages.
inline std::string exact(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17g", v);
  return buffer;
}

}  // namespace veltrano::fuzz

// The libFuzzer entry point of a target whose work is `void run(Input&)` in
// namespace veltrano::fuzz.
#define VELTRANO_FUZZ_TARGET(run_function)                                            \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
    ::veltrano::fuzz::Input in(data, size);                                           \
    ::veltrano::fuzz::run_function(in);                                               \
    return 0;                                                                         \
  }

// The detail is built only when the check fails.
#define FUZZ_REQUIRE(condition, detail)                             \
  do {                                                              \
    if (!(condition)) ::veltrano::fuzz::fail(#condition, (detail)); \
  } while (0)
