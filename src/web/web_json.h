#ifndef VESSORY_WEB_WEB_JSON_H_
#define VESSORY_WEB_WEB_JSON_H_

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace vessory::web {

// The little JSON the web page and its core exchange: strings written for the page, and the
// page's options, one flat object of strings and booleans, read.

// `text` as a JSON string, quotes included. Bytes that are no UTF-8 (an archive's text in
// another character set) become U+FFFD each, so that the page always gets valid JSON.
std::string jsonString(std::string_view text);

using JsonValue = std::variant<std::string, bool>;

// The members of a flat JSON object whose values are strings or booleans (null, numbers,
// arrays and objects are refused), or nothing with the reason in `error`. A member given twice
// keeps its last value, as JavaScript's JSON.parse does.
std::optional<std::map<std::string, JsonValue>> parseFlatObject(std::string_view json,
                                                                std::string& error);

}  // namespace vessory::web

#endif  // VESSORY_WEB_WEB_JSON_H_
