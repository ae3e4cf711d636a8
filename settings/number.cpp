#include "settings/number.h"

namespace quivet {

namespace {

bool IsSpace(unsigned char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::int32_t ConvertNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // One past INT32_MAX is the magnitude of INT32_MIN; stop growing there.
  constexpr std::uint32_t kLimit = 0x80000000u;
  std::uint32_t magnitude = 0;
  for (; i < text.size() && IsDigit(static_cast<unsigned char>(text[i])); ++i) {
    const std::uint32_t digit = static_cast<unsigned char>(text[i]) - '0';
    magnitude = (magnitude > (kLimit - digit) / 10) ? kLimit : magnitude * 10 + digit;
  }
  if (negative) return static_cast<std::int32_t>(0u - magnitude);
  return magnitude >= kLimit ? INT32_MAX : static_cast<std::int32_t>(magnitude);
}

}  // namespace quivet
