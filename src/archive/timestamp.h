#ifndef VESSORY_ARCHIVE_TIMESTAMP_H_
#define VESSORY_ARCHIVE_TIMESTAMP_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "archive/message_sink.h"

namespace vessory::archive {

// The number at the start of `text`, read the way the hours-bias box has always been read:
// blanks, tabs and line feeds anywhere are ignored; then an optional sign, digits, an optional
// period and digits, an optional exponent (E or D, optional sign, digits); or &H / &O followed
// by hexadecimal / octal digits. Reading stops at the first character that does not fit, and a
// text without a number at its start gives 0. The result may be infinite ("1e999").
double leadingNumber(std::string_view text);
// The same reading, telling too whether the number took the whole text, blanks aside: false
// for "-13x", "abc", "&H", "+" and "", whose characters (or some of them) were passed over.
struct NumberReading {
  double value = 0;
  bool wholeText = false;
};
NumberReading readLeadingNumber(std::string_view text);

// What formatTimestamp gives when the biased time is not a finite number or falls outside the
// years 1 to 9999. It keeps the shape of a timestamp (the date part is everything before the
// comma) while making plain that no date could be worked out.
inline constexpr std::string_view kUnrepresentableTimestamp =
    "?/??"
    "/????, ??:??:??";  // split: "??/" is a trigraph

// `startTime` (seconds since 1970-01-01 00:00:00) shifted by the hours in `hoursBiasText`,
// as "M/DD/YYYY, hh:mm:ss". The shifted time is rounded to whole seconds, halves to even.
// Dates follow the proleptic Gregorian calendar in both directions from 1970.
std::string formatTimestamp(std::int64_t startTime, std::string_view hoursBiasText);
// The same with the bias already in seconds, as HoursBias gives it.
std::string formatTimestamp(std::int64_t startTime, double biasSeconds);
// Only the date part of the timestamp: the text before its comma.
std::string formatTimestampDate(std::int64_t startTime, double biasSeconds);

// The hours-bias text read as seconds, remembered together with the text. The box is live, so
// its text is looked at again for every record, but it seldom changes, and reading a number
// from it costs far more than comparing the text.
class HoursBias {
 public:
  double seconds(std::string_view hoursBiasText) {
    if (!known_ || hoursBiasText != text_) {
      text_.assign(hoursBiasText);
      seconds_ = leadingNumber(hoursBiasText) * 60 * 60;
      known_ = true;
    }
    return seconds_;
  }

 private:
  std::string text_;
  double seconds_ = 0;
  bool known_ = false;
};

// '0'-'9', 'A'-'F' for 0 to 15. For 16 or more reports "Bad argument: " and the number (with a
// leading blank) to `messages` and gives empty text.
std::string hexDigit(std::uint64_t value, MessageSink& messages);
// "0x0" for 0, otherwise "0x" and eight capital hex digits with a blank after the fourth.
std::string hexText32(std::uint32_t value, MessageSink& messages);
// The decimal digits, " (", the hexText32 text, ")".
std::string decimalHexText(std::uint32_t value, MessageSink& messages);

}  // namespace vessory::archive

#endif  // VESSORY_ARCHIVE_TIMESTAMP_H_
