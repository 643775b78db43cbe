#include "archive/timestamp.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace vessory::archive {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// 0001-01-01 00:00:00 and 9999-12-31 23:59:59, in seconds since 1970.
constexpr double kEarliestSeconds = -62135596800.0;
constexpr double kLatestSeconds = 253402300799.0;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// The digits of `radix` at the start of `digits`; `used` is how many there were.
double radixNumber(std::string_view digits, int radix, std::size_t& used) {
  double value = 0;
  used = 0;
  for (char c : digits) {
    int d = digitValue(c);
    if (d >= radix) break;
    value = value * radix + d;
    ++used;
  }
  return value;
}

std::string_view takeDigits(std::string_view s, std::size_t& i) {
  std::size_t start = i;
  while (i < s.size() && isDigit(s[i])) ++i;
  return s.substr(start, i - start);
}

// The decimal number at the start of `s`; `used` is how many characters it took (0 when `s`
// starts with no number).
// Reads `number` (digits, a point, digits, maybe an exponent) into `value`; true when it is
// out of double's range, `value` then left alone. A C++ library without from_chars for doubles
// (libc++ before 17, as the WebAssembly build has it) reads it with strtod, which rounds the
// same way and reports the same overflow and underflow (ERANGE) in the C locale the tool runs in.
bool outOfRange(const std::string& number, double& value) {
#ifdef __cpp_lib_to_chars
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  (void)end;
  return error == std::errc::result_out_of_range;
#else
  errno = 0;
  const double read = std::strtod(number.c_str(), nullptr);
  if (errno == ERANGE) return true;
  value = read;
  return false;
#endif
}

double decimalNumber(std::string_view s, std::size_t& used) {
  std::size_t i = 0;
  used = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  std::string_view whole = takeDigits(s, i);
  std::string_view fraction;
  if (i < s.size() && s[i] == '.') fraction = takeDigits(s, ++i);
  if (whole.empty() && fraction.empty()) return 0;
  used = i;
  std::string number = std::string(whole.empty() ? "0" : whole) + "." + std::string(fraction);
  bool exponent_negative = false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent_negative = s[j++] == '-';
    std::string_view exponent = takeDigits(s, j);
    if (!exponent.empty()) {
      number += (exponent_negative ? "e-" : "e") + std::string(exponent);
      used = j;
    }
  }
  double value = 0;
  if (outOfRange(number, value)) {
    // from_chars leaves the value alone when it overflows or underflows.
    value = exponent_negative ? 0.0 : std::numeric_limits<double>::infinity();
  }
  return negative ? -value : value;
}

void appendTwoDigits(std::string& out, std::int64_t value) {
  out += static_cast<char>('0' + value / 10);
  out += static_cast<char>('0' + value % 10);
}

void appendNumber(std::string& out, std::int64_t value) {
  char digits[24];
  auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

struct CivilDate {
  std::int64_t year;
  std::int64_t month;
  std::int64_t day;
};

// Civil date from a day count (days since 1970-01-01), proleptic Gregorian, in eras of
// 400 years so that the arithmetic stays exact for any sign.
CivilDate civilDate(std::int64_t days) {
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

// The timestamp, or its date part alone.
std::string biasedTimestamp(std::int64_t startTime, double bias_seconds, bool withTime) {
  // nearbyint rounds halves to even in the default rounding mode.
  const double shifted = std::nearbyint(static_cast<double>(startTime) + bias_seconds);
  if (!(shifted >= kEarliestSeconds && shifted <= kLatestSeconds)) {
    std::string_view text = kUnrepresentableTimestamp;
    return std::string(withTime ? text : text.substr(0, text.find(',')));
  }
  const auto t = static_cast<std::int64_t>(shifted);
  std::int64_t days = t / kSecondsPerDay;
  std::int64_t seconds = t % kSecondsPerDay;
  if (seconds < 0) {
    seconds += kSecondsPerDay;
    --days;
  }
  const CivilDate date = civilDate(days);

  std::string out;
  appendNumber(out, date.month);
  out += '/';
  appendTwoDigits(out, date.day);
  out += '/';
  appendNumber(out, date.year);
  if (!withTime) return out;
  out += ", ";
  appendTwoDigits(out, seconds / 3600);
  out += ':';
  appendTwoDigits(out, seconds % 3600 / 60);
  out += ':';
  appendTwoDigits(out, seconds % 60);
  return out;
}

}  // namespace

NumberReading readLeadingNumber(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') s += c;
  }
  NumberReading reading;
  std::size_t used = 0;
  std::size_t prefix = 0;
  if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) {
    prefix = 2;
    reading.value = radixNumber(std::string_view(s).substr(prefix), 16, used);
  } else if (s.size() >= 2 && s[0] == '&' && (s[1] == 'O' || s[1] == 'o')) {
    prefix = 2;
    reading.value = radixNumber(std::string_view(s).substr(prefix), 8, used);
  } else {
    reading.value = decimalNumber(s, used);
  }
  reading.wholeText = used > 0 && prefix + used == s.size();
  return reading;
}

double leadingNumber(std::string_view text) { return readLeadingNumber(text).value; }

std::string formatTimestamp(std::int64_t startTime, std::string_view hoursBiasText) {
  return formatTimestamp(startTime, leadingNumber(hoursBiasText) * 60 * 60);
}

std::string formatTimestamp(std::int64_t startTime, double biasSeconds) {
  return biasedTimestamp(startTime, biasSeconds, true);
}

std::string formatTimestampDate(std::int64_t startTime, double biasSeconds) {
  return biasedTimestamp(startTime, biasSeconds, false);
}

std::string hexDigit(std::uint64_t value, MessageSink& messages) {
  if (value >= 16) {
    messages.showMessage("Bad argument:  " + std::to_string(value));
    return {};
  }
  return std::string(1, "0123456789ABCDEF"[value]);
}

std::string hexText32(std::uint32_t value, MessageSink& messages) {
  if (value == 0) return "0x0";
  std::string out = "0x";
  for (int shift = 28; shift >= 0; shift -= 4) {
    out += hexDigit((value >> shift) & 0xF, messages);
    if (shift == 16) out += ' ';
  }
  return out;
}

std::string decimalHexText(std::uint32_t value, MessageSink& messages) {
  return std::to_string(value) + " (" + hexText32(value, messages) + ")";
}

}  // namespace vessory::archive
