#include "web/web_json.h"

#include <cstdio>

#include "memos/utf8.h"

namespace vessory::web {

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  for (std::size_t at = 0; at < text.size();) {
    const char32_t c = memos::nextCodePoint(text, at);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      memos::appendUtf8(c, out);
    }
  }
  return out + "\"";
}

namespace {

// A reader over the text, one token at a time; every method sets `error` on a fault.
class FlatReader {
 public:
  FlatReader(std::string_view json, std::string& error) : json_(json), error_(error) {}

  std::optional<std::map<std::string, JsonValue>> object();

 private:
  void skipBlanks() {
    while (at_ < json_.size() &&
           (json_[at_] == ' ' || json_[at_] == '\t' || json_[at_] == '\n' || json_[at_] == '\r')) {
      ++at_;
    }
  }
  bool take(char c) {
    skipBlanks();
    if (at_ < json_.size() && json_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }
  bool fail(const std::string& why) {
    error_ = why + " at offset " + std::to_string(at_);
    return false;
  }
  bool string(std::string& out);
  bool hexQuad(char32_t& value);
  bool value(JsonValue& out);

  std::string_view json_;
  std::string& error_;
  std::size_t at_ = 0;
};

bool FlatReader::hexQuad(char32_t& value) {
  if (json_.size() - at_ < 4) return fail("a \\u escape cut short");
  value = 0;
  for (int i = 0; i < 4; ++i) {
    const char c = json_[at_++];
    value <<= 4;
    if (c >= '0' && c <= '9')
      value |= static_cast<char32_t>(c - '0');
    else if (c >= 'a' && c <= 'f')
      value |= static_cast<char32_t>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F')
      value |= static_cast<char32_t>(c - 'A' + 10);
    else
      return fail("a \\u escape with no hexadecimal digits");
  }
  return true;
}

bool FlatReader::string(std::string& out) {
  if (!take('"')) return fail("a string expected");
  while (at_ < json_.size()) {
    const char c = json_[at_++];
    if (c == '"') return true;
    if (static_cast<unsigned char>(c) < 0x20) return fail("a control character in a string");
    if (c != '\\') {
      out += c;
      continue;
    }
    if (at_ >= json_.size()) break;
    const char escape = json_[at_++];
    static constexpr std::string_view kFrom = "\"\\/bfnrt", kTo = "\"\\/\b\f\n\r\t";
    if (const std::size_t k = kFrom.find(escape); k != std::string_view::npos) {
      out += kTo[k];
      continue;
    }
    if (escape != 'u') return fail("an unknown escape");
    char32_t point = 0;
    if (!hexQuad(point)) return false;
    // A surrogate pair is one character; a lone surrogate is none, as the page cannot mean it.
    if (point >= 0xD800 && point <= 0xDBFF && json_.substr(at_, 2) == "\\u") {
      at_ += 2;
      char32_t low = 0;
      if (!hexQuad(low)) return false;
      if (low < 0xDC00 || low > 0xDFFF) return fail("a broken surrogate pair");
      point = 0x10000 + ((point - 0xD800) << 10) + (low - 0xDC00);
    } else if (point >= 0xD800 && point <= 0xDFFF) {
      return fail("a lone surrogate");
    }
    memos::appendUtf8(point, out);
  }
  return fail("a string not closed");
}

bool FlatReader::value(JsonValue& out) {
  skipBlanks();
  if (at_ < json_.size() && json_[at_] == '"') {
    std::string text;
    if (!string(text)) return false;
    out = std::move(text);
    return true;
  }
  for (const bool word : {true, false}) {
    const std::string_view spelled = word ? "true" : "false";
    if (json_.substr(at_, spelled.size()) == spelled) {
      at_ += spelled.size();
      out = word;
      return true;
    }
  }
  return fail("a string, true or false expected");
}

std::optional<std::map<std::string, JsonValue>> FlatReader::object() {
  std::map<std::string, JsonValue> members;
  if (!take('{')) return fail("an object expected"), std::nullopt;
  if (!take('}')) {
    do {
      std::string name;
      JsonValue member;
      if (!string(name)) return std::nullopt;
      if (!take(':')) return fail("':' expected"), std::nullopt;
      if (!value(member)) return std::nullopt;
      members[name] = std::move(member);
    } while (take(','));
    if (!take('}')) return fail("',' or '}' expected"), std::nullopt;
  }
  skipBlanks();
  if (at_ != json_.size()) return fail("text after the object"), std::nullopt;
  return members;
}

}  // namespace

std::optional<std::map<std::string, JsonValue>> parseFlatObject(std::string_view json,
                                                                std::string& error) {
  return FlatReader(json, error).object();
}

}  // namespace vessory::web
