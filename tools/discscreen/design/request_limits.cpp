#include "design/request_limits.h"

#include <cerrno>
#include <cstdlib>

using nlohmann::json;

json ParseRequestBody(const std::string& body) {
    if (body.size() > kLargestRequestBody) {
        throw RequestRefused{413, "the request is larger than " + std::to_string(kLargestRequestBody) + " bytes"};
    }
    // The parser itself keeps its own stack; refusing deep values as they
    // come keeps every later recursive walk of the value shallow.
    bool tooDeep = false;
    json::parser_callback_t bound = [&tooDeep](int depth, json::parse_event_t, json&) {
        if (depth > kDeepestRequestJson) tooDeep = true;
        return !tooDeep;
    };
    json parsed;
    try {
        parsed = json::parse(body, bound);
    } catch (const json::exception& error) {
        throw RequestRefused{400, std::string("the request is no JSON: ") + error.what()};
    }
    if (tooDeep) throw RequestRefused{400, "the request nests deeper than " + std::to_string(kDeepestRequestJson) + " levels"};
    if (!parsed.is_object()) throw RequestRefused{400, "the request body is no JSON object"};
    return parsed;
}

bool ParseWholeNumber(const std::string& text, long low, long high, long* number) {
    if (text.empty() || text.size() > 18) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool sign = i == 0 && text[i] == '-' && text.size() > 1;
        if (!sign && (text[i] < '0' || text[i] > '9')) return false;
    }
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value < low || value > high) return false;
    *number = value;
    return true;
}
