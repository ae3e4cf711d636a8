// Appends text to a fixed buffer and says when something did not fit,
// instead of running past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quivet {

// substr without the bounds check: the checked one drags in libstdc++'s
// exception path. Callers keep pos + n within text.
constexpr std::string_view Slice(std::string_view text, std::size_t pos, std::size_t n) {
  return std::string_view(text.data() + pos, n);
}
constexpr std::string_view Slice(std::string_view text, std::size_t pos) {
  return Slice(text, pos, text.size() - pos);
}

// Characters of value in decimal, sign included.
constexpr std::size_t DecimalWidth(std::int32_t value) {
  std::uint32_t magnitude =
      value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  std::size_t width = value < 0 ? 2 : 1;
  while (magnitude >= 10) {
    magnitude /= 10;
    ++width;
  }
  return width;
}

class TextBuilder {
 public:
  TextBuilder(char* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) {
    buffer_[0] = '\0';
  }

  bool Append(std::string_view text) {
    if (text.size() > capacity_ - 1 - length_) return false;
    for (char c : text) buffer_[length_++] = c;
    buffer_[length_] = '\0';
    return true;
  }

  bool AppendInt(std::int32_t value) {
    // Zeroed: else clang 14 -O2 miscopies the partly written array. A loop
    // that appends AppendInt(12)'s text to a second builder then gets "1".
    char digits[12] = {};  // "-2147483648"
    std::size_t n = sizeof digits;
    std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    do {
      digits[--n] = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[--n] = '-';
    return Append(std::string_view(digits + n, sizeof digits - n));
  }

  std::size_t length() const { return length_; }

 private:
  char* buffer_;
  std::size_t capacity_;
  std::size_t length_ = 0;
};

}  // namespace quivet
