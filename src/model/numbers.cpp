#include "model/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "texts/messages.h"

namespace pelodyn {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Checks the shape sign? digits* (. digits*)? ([eE] sign? digits+)? with at
// least one mantissa digit; from_chars alone would also take "inf" and "nan"
// and refuses a leading '+'.
bool IsRealShape(std::string_view t) {
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && IsDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < t.size() && IsDigit(t[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == t.size();
}

// True when a well-shaped real, known to be out of range, is out of range
// because it is too small: its leading significant digit lies below the units.
bool IsTiny(std::string_view t) {
  std::size_t i = (t.front() == '-' || t.front() == '+') ? 1 : 0;
  const std::size_t intStart = i;
  while (i < t.size() && IsDigit(t[i])) ++i;
  const std::size_t intEnd = i;
  long long position = 0;  // decimal exponent of the first significant digit
  bool found = false;
  for (std::size_t j = intStart; j < intEnd && !found; ++j) {
    if (t[j] != '0') {
      position = static_cast<long long>(intEnd - j) - 1;
      found = true;
    }
  }
  if (i < t.size() && t[i] == '.') ++i;
  for (long long f = 1; i < t.size() && IsDigit(t[i]); ++i, ++f) {
    if (!found && t[i] != '0') {
      position = -f;
      found = true;
    }
  }
  long long exponent = 0;
  if (i < t.size()) {  // the exponent part: e, sign, digits
    ++i;
    bool negative = false;
    if (t[i] == '+' || t[i] == '-') negative = t[i++] == '-';
    for (; i < t.size(); ++i) exponent = std::min<long long>(exponent * 10 + (t[i] - '0'), 1000000);
    if (negative) exponent = -exponent;
  }
  return position + exponent < 0;
}

}  // namespace

ConversionError::ConversionError(std::string_view text, bool integer)
    : std::runtime_error(ConversionText(kLanguageEnglish, text, integer)),
      m_text(text),
      m_integer(integer),
      m_converted(true) {}

std::string ConversionError::message(std::uint8_t language) const {
  std::string out;
  if (!m_field.empty()) {
    out += OptionCaption(language, m_field);
    out += ": ";
  }
  out += m_converted ? ConversionText(language, m_text, m_integer) : std::string(what());
  return out;
}

bool TryStrToInt(std::string_view text, std::int32_t& value) {
  std::string_view t = TrimBlanks(text);
  if (!t.empty() && t.front() == '+') {
    t.remove_prefix(1);
    if (t.empty() || t.front() == '-' || t.front() == '+') return false;
  }
  if (t.empty()) return false;
  std::int32_t v = 0;
  const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc{} || ptr != t.data() + t.size()) return false;
  value = v;
  return true;
}

bool TryStrToFloat(std::string_view text, double& value) {
  std::string_view t = TrimBlanks(text);
  if (!IsRealShape(t)) return false;
  if (t.front() == '+') t.remove_prefix(1);
  double v = 0.0;
  const auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ptr != t.data() + t.size()) return false;
  // An underflow to zero is a number all the same; an overflow is not.
  if (ec == std::errc::result_out_of_range) {
    if (!IsTiny(t)) return false;
    v = 0.0;
  } else if (ec != std::errc{}) {
    return false;
  }
  if (!std::isfinite(v)) return false;
  value = v;
  return true;
}

std::int32_t StrToInt(std::string_view text) {
  std::int32_t v = 0;
  if (!TryStrToInt(text, v)) {
    throw ConversionError(text, true);
  }
  return v;
}

double StrToFloat(std::string_view text) {
  double v = 0.0;
  if (!TryStrToFloat(text, v)) {
    throw ConversionError(text, false);
  }
  return v;
}

namespace {

// AppendFixed by the standard library's digits of the exact binary value.
[[gnu::noinline]] void AppendFixedExactly(std::string& out, double value, int decimals, std::size_t width) {
  char buffer[400];
  const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text = ec == std::errc{} ? std::string(buffer, ptr) : std::to_string(value);
  // "-0.00" reads as a negative zero to nobody but the machine.
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  if (text.size() < width) out.append(width - text.size(), ' ');
  out += text;
}

}  // namespace

std::size_t WriteFixedBefore(char* end, double value, int decimals) {
  // The result file writes millions of these: the common case is done in
  // integers. value x 10^decimals is the exact product rounded once, so it
  // lies within a 2^-53 share of it; unless it sits that close to a half,
  // both round to the same whole number of units, which is then written
  // with its digits. Halves, huge values and many decimals are left to the
  // standard library.
  static constexpr double kPowers[] = {1.0, 10.0, 100.0, 1e3, 1e4, 1e5, 1e6};
  if (decimals < 0 || decimals > 6 || !std::isfinite(value)) return 0;
  const double magnitude = std::fabs(value * kPowers[decimals]);
  if (!(magnitude < 0x1p52)) return 0;
  const double whole = std::floor(magnitude);
  const double fraction = magnitude - whole;  // exact below 2^52
  if (!(std::fabs(fraction - 0.5) > magnitude * 0x1p-51)) return 0;
  std::uint64_t units = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
  const bool negative = value < 0.0 && units != 0;  // no "-0.000"
  // Written from the right: decimals, point, whole part, sign.
  char* at = end;
  for (int d = 0; d < decimals; ++d, units /= 10) *--at = static_cast<char>('0' + units % 10);
  if (decimals > 0) *--at = '.';
  do {
    *--at = static_cast<char>('0' + units % 10);
    units /= 10;
  } while (units != 0);
  if (negative) *--at = '-';
  return static_cast<std::size_t>(end - at);
}

void AppendFixed(std::string& out, double value, int decimals, std::size_t width) {
  if (decimals < 0) decimals = 0;
  char buffer[kFixedBeforeSize];
  const std::size_t size = WriteFixedBefore(buffer + sizeof buffer, value, decimals);
  if (size == 0) return AppendFixedExactly(out, value, decimals, width);
  if (size < width) out.append(width - size, ' ');
  out.append(buffer + sizeof buffer - size, size);
}

std::string FormatFixed(double value, int decimals) {
  std::string out;
  AppendFixed(out, value, decimals);
  return out;
}

double RoundToUnit(double value, double unit) {
  return std::nearbyint(value / unit) * unit;
}

std::string FormatShortest(double value) {
  if (value == 0.0) return "0";
  char buffer[64];
  const auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  if (ec != std::errc{}) return std::to_string(value);
  std::string text(buffer, ptr);
  const std::size_t e = text.find('e');
  if (e == std::string::npos) return text;
  // 1.5e+20 -> 1.5E20, 1e-06 -> 1E-6
  std::string mantissa = text.substr(0, e);
  std::string exponent = text.substr(e + 1);
  const bool negative = !exponent.empty() && exponent[0] == '-';
  if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) exponent.erase(0, 1);
  exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
  return mantissa + "E" + (negative ? "-" : "") + exponent;
}

double RoundHalfEven(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  if (decimals < 0) decimals = 0;
  if (decimals > 17) decimals = 17;
  // to_chars rounds the exact binary value, ties to even, which is the rule.
  const std::string text = FormatFixed(value, decimals);
  double out = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), out);
  return out;
}

}  // namespace pelodyn
