#include "tools/texbake/json_document.h"

#include "tools/texbake/graph.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

namespace texbake {

namespace {

using nlohmann::json;

// Follows the parser's events to know, at every key, the pointer of the
// object it belongs to and the keys that object already had.
class DuplicateKeyCheck {
public:
    explicit DuplicateKeyCheck(const std::string& source) : source(source) {}

    bool operator()(int, json::parse_event_t event, json& parsed)
    {
        switch (event) {
        case json::parse_event_t::object_start:
        case json::parse_event_t::array_start:
            open.push_back({childPointer(), event == json::parse_event_t::array_start, 0, {}, {}});
            break;
        case json::parse_event_t::key: {
            Container& object = open.back();
            object.key = parsed.get<std::string>();
            if (!object.keys.insert(object.key).second)
                throw GraphError(source + ": " + (object.pointer.empty() ? "/" : object.pointer) + ": key "
                                 + quotedText(object.key) + " appears twice");
            break;
        }
        case json::parse_event_t::object_end:
        case json::parse_event_t::array_end:
            open.pop_back();
            finishElement();
            break;
        case json::parse_event_t::value:
            finishElement();
            break;
        }
        return true;
    }

private:
    struct Container {
        std::string pointer;
        bool isArray;
        std::size_t index;
        std::string key;
        std::set<std::string> keys;
    };

    // The pointer of the value that starts now inside the innermost container.
    std::string childPointer() const
    {
        if (open.empty())
            return "";
        const Container& parent = open.back();
        return parent.isArray ? pointer(parent.pointer, parent.index) : pointer(parent.pointer, parent.key);
    }

    void finishElement()
    {
        if (!open.empty() && open.back().isArray)
            ++open.back().index;
    }

    std::string source;
    std::vector<Container> open;
};

// "parse error at line 3, column 5: syntax error ..." as "source:3:5: syntax error ...".
std::string syntaxMessage(const json::parse_error& error, const std::string& source)
{
    const std::string what = error.what();
    const std::size_t at = what.find("parse error at line ");
    int line = 0;
    int column = 0;
    int consumed = 0;
    if (at != std::string::npos
        && std::sscanf(what.c_str() + at, "parse error at line %d, column %d: %n", &line, &column, &consumed) == 2
        && consumed > 0)
        return source + ":" + std::to_string(line) + ":" + std::to_string(column) + ": "
            + what.substr(at + std::size_t(consumed));
    return source + ": " + what;
}

// A number too large for a double: the parser names the number but not its
// place, so the place is that of the first such text in the document.
std::string overflowMessage(const json::out_of_range& error, const std::string& text, const std::string& source)
{
    const std::string what = error.what();
    const std::size_t open = what.find("number overflow parsing '");
    if (open == std::string::npos)
        return source + ": " + what;
    const std::string message = what.substr(open);
    const std::size_t start = open + std::strlen("number overflow parsing '");
    const std::size_t at = text.find(what.substr(start, what.find('\'', start) - start));
    if (at == std::string::npos)
        return source + ": " + message;
    const std::size_t lineStart = text.rfind('\n', at);
    const long line = 1 + std::count(text.begin(), text.begin() + long(at), '\n');
    const std::size_t column = lineStart == std::string::npos ? at + 1 : at - lineStart;
    return source + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
}

std::string escapedToken(const std::string& key)
{
    std::string token;
    for (const char c : key) {
        if (c == '~')
            token += "~0";
        else if (c == '/')
            token += "~1";
        else
            token += c;
    }
    return token;
}

} // namespace

json parseDocument(const std::string& text, const std::string& source)
{
    try {
        return json::parse(text, DuplicateKeyCheck(source));
    } catch (const json::parse_error& error) {
        throw GraphError(syntaxMessage(error, source));
    } catch (const json::out_of_range& error) {
        throw GraphError(overflowMessage(error, text, source));
    }
}

std::string pointer(const std::string& parent, const std::string& key)
{
    return parent + "/" + escapedToken(key);
}

std::string pointer(const std::string& parent, std::size_t index)
{
    return parent + "/" + std::to_string(index);
}

std::string quotedText(const std::string& text)
{
    return json(text).dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace texbake
