#include "window_model/record_messages.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

namespace vessory::window_model {

namespace {

constexpr char kRecordWord[] = "Record ";
constexpr char kValue[] = "...";
constexpr char kLineBreak[] = "\r\n";

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

struct RecordMessage {
  std::string record;  // "Record 12 (unique id 4711)", "Record 3, field 2"
  std::string rest;    // what is said of it
};

// Where the record's name ends: after "Record N", a parenthesis that follows it (the unique id,
// or the event's quoted description), or a field's place up to its colon.
std::optional<RecordMessage> split(const std::string& text) {
  const std::size_t start = sizeof kRecordWord - 1;
  if (text.rfind(kRecordWord, 0) != 0 || text.size() <= start || !isDigit(text[start])) {
    return std::nullopt;
  }
  std::size_t end = start;
  while (end < text.size() && isDigit(text[end])) ++end;
  std::size_t restStart = end;
  if (text.compare(end, 3, " (\"") == 0) {
    const std::size_t close = text.find("\"): ", end);
    if (close != std::string::npos) end = restStart = close + 2;
  } else if (text.compare(end, 2, " (") == 0) {
    const std::size_t close = text.find(')', end);
    if (close != std::string::npos) end = restStart = close + 1;
  }
  // A field's place may follow the record's id: "Record 2 (id 7), field 5 (city): ...".
  if (text.compare(end, 2, ", ") == 0) {
    const std::size_t colon = text.find(": ", end);
    if (colon != std::string::npos) end = restStart = colon;
  }
  while (restStart < text.size() && (text[restStart] == ' ' || text[restStart] == ':')) {
    ++restStart;
  }
  return RecordMessage{text.substr(0, end), text.substr(restStart)};
}

bool isAlphanumeric(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// A word with a digit in it (a number, a packed date in hex) as "...", its punctuation kept.
std::string withoutValue(const std::string& word) {
  if (std::none_of(word.begin(), word.end(), isDigit)) return word;
  const auto first = std::find_if(word.begin(), word.end(), isAlphanumeric);
  const auto last = std::find_if(word.rbegin(), word.rend(), isAlphanumeric).base();
  return std::string(word.begin(), first) + kValue + std::string(last, word.end());
}

// The damage without the values that differ from record to record, so that "its time 1A3C is
// no time" and "its time 2F00 is no time" count as one kind.
std::string wordingOf(const std::string& rest) {
  std::string wording;
  std::size_t i = 0;
  while (i <= rest.size()) {
    std::size_t end = rest.find(' ', i);
    if (end == std::string::npos) end = rest.size();
    if (i > 0) wording += ' ';
    wording += withoutValue(rest.substr(i, end - i));
    i = end + 1;
  }
  return wording;
}

}  // namespace

bool RecordMessages::hold(const std::string& text) {
  const std::optional<RecordMessage> message = split(text);
  if (!message) return false;
  const std::string wording = wordingOf(message->rest);
  auto kind = std::find_if(kinds_.begin(), kinds_.end(),
                           [&](const Kind& k) { return k.wording == wording; });
  if (kind == kinds_.end()) kind = kinds_.insert(kinds_.end(), Kind{wording, 0, {}, {}});
  if (kind->count == 0) {
    kind->first = text;
  } else if (kind->named.size() + 1 < kNamedPerKind) {
    kind->named.push_back(message->record);
  }
  ++kind->count;
  ++total_;
  return true;
}

// The kind's first message as the run gave it, then the other records of its kind: a record's
// name may hold commas (its field's place), so the names are parted by semicolons.
std::string RecordMessages::lineOf(const Kind& kind) {
  std::string line = kind.first;
  if (kind.count == 1) return line;
  if (line.empty() || std::string_view(".!?").find(line.back()) == std::string_view::npos) {
    line += '.';
  }
  line += " Likewise ";
  for (std::size_t i = 0; i < kind.named.size(); ++i) line += (i ? "; " : "") + kind.named[i];
  const auto more = kind.count - 1 - static_cast<std::int64_t>(kind.named.size());
  if (more > 0)
    line += (kind.named.size() > 1 ? "; and " : " and ") + std::to_string(more) + " more";
  return line + '.';
}

std::string RecordMessages::take() {
  if (empty()) return {};
  std::string text = std::to_string(total_) + (total_ == 1 ? " message" : " messages") +
                     " on single records, by kind:" + kLineBreak;
  for (const Kind& kind : kinds_) text += lineOf(kind) + kLineBreak;
  kinds_.clear();
  total_ = 0;
  return text;
}

std::string RecordMessages::above(const std::string& text) {
  if (empty()) return text;
  return take() + kLineBreak + text;
}

}  // namespace vessory::window_model
