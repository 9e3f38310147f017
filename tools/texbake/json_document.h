#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace texbake {

// Parses JSON text strictly: malformed text, and an object that names one
// key twice (which plain parsing would silently resolve to the last),
// throw GraphError naming `source` and the line and column, or the JSON
// pointer of the object.
nlohmann::json parseDocument(const std::string& text, const std::string& source);

// The JSON pointer of `key` inside the value at `parent`, and of element
// `index` of the array at `parent`.
std::string pointer(const std::string& parent, const std::string& key);
std::string pointer(const std::string& parent, std::size_t index);

// A string as JSON writes it, quoted and escaped, so that no message about
// it can span lines.
std::string quotedText(const std::string& text);

} // namespace texbake
