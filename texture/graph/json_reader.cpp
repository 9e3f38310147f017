#include "texture/graph/json_reader.h"

#include <cstdio>
#include <vector>

namespace tex {

namespace {

using nlohmann::json;

// The longest message readJson gives: a parse error quotes the token it
// stopped at, which may be the rest of the text.
constexpr std::size_t maxMessage = 200;

// `text` cut to at most `most` bytes at a character boundary, "..." marking the cut.
std::string shortened(std::string text, std::size_t most)
{
    if (text.size() <= most)
        return text;
    std::size_t end = most;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    return text + "...";
}

// Builds the document from the parser's events, as nlohmann's own DOM
// parser does, and refuses a key an object already has and a container
// past the depth limit. The open containers are a stack of pointers into
// the document; each element of a parent is complete before the next
// starts, so the pointers stay valid. What it keeps besides the document is
// one key a level: linear in the text.
class DomBuilder {
public:
    DomBuilder(json& root, const JsonLimits& limits, JsonError& error)
        : root(root), maxDepth(limits.maxDepth), cancel(limits.cancel), error(error)
    {
    }

    bool null() { return place(nullptr) != nullptr; }
    bool boolean(bool value) { return place(value) != nullptr; }
    bool number_integer(json::number_integer_t value) { return place(value) != nullptr; }
    bool number_unsigned(json::number_unsigned_t value) { return place(value) != nullptr; }
    bool number_float(json::number_float_t value, const std::string&) { return place(value) != nullptr; }
    bool string(std::string& value) { return place(std::move(value)) != nullptr; }
    bool binary(json::binary_t& value) { return place(std::move(value)) != nullptr; }

    bool start_object(std::size_t) { return open(json::value_t::object); }
    bool start_array(std::size_t) { return open(json::value_t::array); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }

    bool key(std::string& key)
    {
        Level& level = open_.back();
        if (level.container->contains(key)) {
            fail(pointerAt(open_.size() - 1, false), "key " + quotedText(key) + " appears twice");
            return false;
        }
        level.key = std::move(key);
        return true;
    }

    bool parse_error(std::size_t position, const std::string& token, const nlohmann::detail::exception& exception)
    {
        error = JsonError{};
        error.place = JsonError::Place::Text;
        const std::string what = exception.what();
        // "[json.exception.parse_error.101] parse error at line 3, column 42: <message>"
        const std::size_t at = what.find("parse error at line ");
        int line = 0;
        int column = 0;
        int consumed = 0;
        if (at != std::string::npos
            && std::sscanf(what.c_str() + at, "parse error at line %d, column %d: %n", &line, &column, &consumed) == 2
            && consumed > 0) {
            error.line = std::size_t(line);
            error.column = std::size_t(column);
            error.message = shortened(what.substr(at + std::size_t(consumed)), maxMessage);
            return false;
        }
        // A number too large for a double, reported after its token: placed
        // at the token's start.
        const std::size_t start = position >= token.size() ? position - token.size() : 0;
        placeOffset(start);
        const std::size_t bracket = what.find("] ");
        error.message = shortened(bracket == std::string::npos ? what : what.substr(bracket + 2), maxMessage);
        return false;
    }

    // Where parse_error found a byte offset: the text to count lines in.
    void setText(std::string_view all) { text = all; }

private:
    struct Level {
        json* container;
        // The key of the value being read, in an object.
        std::string key;
    };

    // Puts `value` where the parser is: the document, the next element of
    // an array or the value of the pending key. Returns where it went.
    // Null when the reading was cancelled, which is looked at every
    // valuesPerLook values.
    template <typename Value>
    json* place(Value&& value)
    {
        if (++values % valuesPerLook == 0 && cancel != nullptr && cancel->load(std::memory_order_relaxed)) {
            error = JsonError{};
            error.message = interruptedMessage;
            return nullptr;
        }
        if (open_.empty()) {
            root = json(std::forward<Value>(value));
            return &root;
        }
        Level& level = open_.back();
        if (level.container->is_array()) {
            level.container->push_back(json(std::forward<Value>(value)));
            return &level.container->back();
        }
        json& slot = (*level.container)[level.key];
        slot = json(std::forward<Value>(value));
        return &slot;
    }

    bool open(json::value_t kind)
    {
        if (int(open_.size()) >= maxDepth) {
            fail(pointerAt(open_.size(), true), "more than " + std::to_string(maxDepth)
                                              + " arrays and objects nested in each other");
            return false;
        }
        json* container = place(kind);
        if (container == nullptr)
            return false;
        open_.push_back({container, std::string()});
        return true;
    }

    bool close()
    {
        open_.pop_back();
        return true;
    }

    // The pointer of the value open at `depth` levels in (0: the document):
    // each level's last element, or, where `next`, the deepest level's next.
    std::string pointerAt(std::size_t depth, bool next) const
    {
        std::string pointer;
        for (std::size_t i = 0; i < depth; ++i) {
            const Level& level = open_[i];
            if (!level.container->is_array())
                pointer = jsonPointer(pointer, level.key);
            else if (next && i + 1 == depth)
                pointer = jsonPointer(pointer, level.container->size());
            else
                pointer = jsonPointer(pointer, level.container->size() - 1);
        }
        return pointer;
    }

    void fail(std::string pointer, std::string message)
    {
        error = JsonError{};
        error.place = JsonError::Place::Value;
        error.pointer = std::move(pointer);
        error.message = std::move(message);
    }

    void placeOffset(std::size_t offset)
    {
        error.line = 1;
        std::size_t lineStart = 0;
        for (std::size_t i = 0; i < offset && i < text.size(); ++i)
            if (text[i] == '\n') {
                ++error.line;
                lineStart = i + 1;
            }
        error.column = offset - lineStart + 1;
    }

    json& root;
    int maxDepth;
    const std::atomic<bool>* cancel;
    // Some 20 µs of reading between looks at `cancel`.
    static constexpr std::size_t valuesPerLook = 1024;
    std::size_t values = 0;
    JsonError& error;
    std::string_view text;
    std::vector<Level> open_;
};

} // namespace

std::string JsonError::describe(std::string_view source) const
{
    const std::string file(source);
    switch (place) {
    case Place::Text:
        return file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
    case Place::Value:
        return file + ": " + (pointer.empty() ? "top level" : pointer) + ": " + message;
    case Place::Document:
        break;
    }
    return file + ": " + message;
}

bool readJson(std::string_view text, const JsonLimits& limits, nlohmann::json& out, JsonError& error)
{
    out = nullptr;
    if (text.size() > limits.maxBytes) {
        error = JsonError{};
        error.message = std::to_string(text.size()) + " bytes, more than the " + std::to_string(limits.maxBytes)
            + " a text may hold";
        return false;
    }
    json document;
    DomBuilder builder(document, limits, error);
    builder.setText(text);
    if (!json::sax_parse(text.begin(), text.end(), &builder))
        return false;
    out = std::move(document);
    return true;
}

std::string jsonPointer(const std::string& parent, std::string_view key)
{
    std::string pointer = parent + "/";
    for (const char c : key) {
        if (c == '~')
            pointer += "~0";
        else if (c == '/')
            pointer += "~1";
        else
            pointer += c;
    }
    return pointer;
}

std::string jsonPointer(const std::string& parent, std::size_t index)
{
    return parent + "/" + std::to_string(index);
}

std::string jsonValueText(const nlohmann::json& value)
{
    switch (value.type()) {
    case json::value_t::array:
        return "an array";
    case json::value_t::object:
        return "an object";
    case json::value_t::binary:
        return "binary data";
    case json::value_t::string: {
        const std::string& text = value.get_ref<const std::string&>();
        return text.size() > 40 ? quotedText(shortened(text, 40)) : quotedText(text);
    }
    default:
        return value.dump();
    }
}

std::string quotedText(std::string_view text)
{
    return json(std::string(text)).dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace tex
