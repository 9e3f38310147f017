#pragma once

#include <nlohmann/json.hpp>

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

namespace tex {

// How much JSON text readJson takes on. Memory and time are linear in the
// text; these bound the text itself and how deeply it nests.
struct JsonLimits {
    // The longest text read, in bytes: 16 MiB.
    std::size_t maxBytes = std::size_t(16) << 20;
    // The most arrays and objects open at once, the document's own included.
    int maxDepth = 64;
    // When set and true, reading stops within a few thousand values and the
    // text is refused as interrupted.
    const std::atomic<bool>* cancel = nullptr;
};

// Why a text was refused, and where.
struct JsonError {
    enum class Place {
        // The text as a whole (its size).
        Document,
        // A place in the text: `line` and `column`, from 1, columns in bytes.
        Text,
        // A value of the document: `pointer`, a JSON pointer ("" is the
        // document itself).
        Value,
    };

    Place place = Place::Document;
    std::size_t line = 0;
    std::size_t column = 0;
    std::string pointer;
    // What is wrong, as one line of bounded length.
    std::string message;

    // The error as one line after `source` (a file name):
    // "g.json:3:42: message", "g.json: /nodes/1: message", "g.json: message".
    std::string describe(std::string_view source) const;
};

// Reads `text` as exactly one JSON document, strictly: malformed text, a
// number too large for a double, an object that names a key twice (which
// plain parsing would silently resolve to the last), a text longer than
// limits.maxBytes and nesting deeper than limits.maxDepth are refused.
// Returns true with the document in `out`; false with `out` null and
// `error` saying why: malformed text and large numbers by line and column,
// a key given twice by the pointer of its object, nesting by the pointer of
// the container that goes too deep, an interrupted reading (limits.cancel)
// by the message "reading was interrupted" (see interruptedMessage). Never throws for any text (short of
// running out of memory), and recurses nowhere, so no text can exhaust the
// stack; the document it gives is at most limits.maxDepth deep, so that
// recursive walks of it (nlohmann's dump(), for one) stay shallow too.
bool readJson(std::string_view text, const JsonLimits& limits, nlohmann::json& out, JsonError& error);

// The message of a reading stopped by its cancel flag.
constexpr const char* interruptedMessage = "reading was interrupted";

// The JSON pointer of `key` inside the value at `parent`, and of element
// `index` of the array at `parent`.
std::string jsonPointer(const std::string& parent, std::string_view key);
std::string jsonPointer(const std::string& parent, std::size_t index);

// `value` for a message, on one line and short: numbers, true, false and
// null as JSON writes them, strings quoted and escaped (cut after 40
// characters), arrays and objects by their kind only ("an array").
std::string jsonValueText(const nlohmann::json& value);

// A string as JSON writes it, quoted and escaped, so that no message about
// it can span lines.
std::string quotedText(std::string_view text);

} // namespace tex
