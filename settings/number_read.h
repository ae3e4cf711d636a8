// ConvertNumber's reading, with what it met on the way: for
// quivet_config_check, which says what a value was read as. Inline, so the
// tool, which wants the value alone, pays nothing for the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quivet {

struct NumberRead {
  std::int32_t value;
  std::size_t end;  // the text after the number starts here
  bool digits;      // false: no digits at all, value 0
  bool clamped;     // beyond the signed 32-bit range, value its nearest end
};

inline NumberRead ReadNumber(std::string_view text) {
  const auto is_space = [](unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  const auto is_digit = [](unsigned char c) { return c >= '0' && c <= '9'; };
  std::size_t i = 0;
  while (i < text.size() && is_space(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // One past INT32_MAX is the magnitude of INT32_MIN; stop growing there.
  constexpr std::uint32_t kLimit = 0x80000000u;
  std::uint32_t magnitude = 0;
  bool clamped = false;
  const std::size_t first_digit = i;
  for (; i < text.size() && is_digit(static_cast<unsigned char>(text[i])); ++i) {
    const std::uint32_t digit = static_cast<unsigned char>(text[i]) - '0';
    const bool over = magnitude > (kLimit - digit) / 10;
    clamped = clamped || over;
    magnitude = over ? kLimit : magnitude * 10 + digit;
  }
  const bool digits = i > first_digit;
  if (negative) return {static_cast<std::int32_t>(0u - magnitude), i, digits, clamped};
  if (magnitude >= kLimit) return {INT32_MAX, i, digits, true};
  return {static_cast<std::int32_t>(magnitude), i, digits, false};
}

}  // namespace quivet
