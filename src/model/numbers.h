// Number rules shared by every layer: converting the texts of edit boxes and
// files into numbers, and rounding.
//
// Conversion is locale-independent: a point is always the decimal separator.
// Blanks around a number are ignored. A text that does not convert raises
// ConversionError whose message is the one the user sees:
//   "'abc' is not a valid integer value" / "'abc' is not a valid floating point value".
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pelodyn {

// what() is the English message without a field. A conversion of StrToInt
// or StrToFloat also keeps the text and its kind, so that the message can be
// given in the user's language, and a reader that knows which field it read
// names it (an option control's name, see OptionCaption).
class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  ConversionError(std::string_view text, bool integer);

  // The message in `language` ("'abc' is not a valid integer value"),
  // after the field's caption and ": " when the field is known. An error
  // made from a message alone gives that message.
  std::string message(std::uint8_t language) const;
  void setField(std::string_view control) { m_field = control; }
  const std::string& field() const { return m_field; }

 private:
  std::string m_text;
  bool m_integer = false;
  bool m_converted = false;  // made by a conversion, so m_text is the text
  std::string m_field;
};

// Decimal integer with an optional sign; it must fit a signed 32-bit integer.
std::int32_t StrToInt(std::string_view text);

// Real in plain or exponent notation ("1", "-2.5", ".5", "1.", "1e-3"). Values
// that are not finite (out of range, "inf", "nan") are refused.
double StrToFloat(std::string_view text);

// Non-throwing variants: false when the text does not convert.
bool TryStrToInt(std::string_view text, std::int32_t& value);
bool TryStrToFloat(std::string_view text, double& value);

// `value` rounded to `decimals` decimals (0 to 17): the multiple of 10^-decimals
// nearest to the exact binary value, halves to even.
double RoundHalfEven(double value, int decimals);

// `value` written with exactly `decimals` decimals, rounded as RoundHalfEven;
// a value that rounds to zero has no sign.
std::string FormatFixed(double value, int decimals);
// FormatFixed appended to `out`, without a text of its own, after as many
// blanks as bring it to `width` characters (none when it is as wide).
void AppendFixed(std::string& out, double value, int decimals, std::size_t width = 0);
// The quick form of FormatFixed for writers of many values: the text is
// written to end just before `end` (at most kFixedBeforeSize characters) and
// its length returned; 0 (nothing written) for the values it leaves to
// FormatFixed: more than 6 decimals, huge or not finite, or next to a half.
inline constexpr std::size_t kFixedBeforeSize = 24;
std::size_t WriteFixedBefore(char* end, double value, int decimals);

// `value` rounded to a multiple of `unit` (0.01, 0.001 ...) the way a stored
// result is: value / unit in floating point, to the nearest integer with
// halves to even, times unit.
double RoundToUnit(double value, double unit);

// The shortest general form: at most 15 significant digits, no trailing
// zeros, exponent form ("1E-6", "1.5E20") only for very small or large values.
std::string FormatShortest(double value);

}  // namespace pelodyn
