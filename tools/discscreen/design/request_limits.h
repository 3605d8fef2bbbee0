#pragma once
// The bounds every request to the designer is held to, so that no request
// can grow the server without end: the body's size and nesting, the numbers
// in it, and how many edits one request may carry. The script an edit makes
// is held to the reader's own largest script.
#include <cstddef>
#include <string>

#include <nlohmann/json.hpp>

constexpr std::size_t kLargestRequestBody = 1 << 20;
constexpr int kDeepestRequestJson = 8;  // {"edits":{"added":[{"fields":{...}}]}} is 5
constexpr int kMostEditedLines = 20000;
constexpr int kMostAddedEntries = 1000;
// The most fields any entry of the reader reads (a button's).
constexpr int kLastField = 12;

// The body as a JSON object; throws RequestRefused (400, 413) when it is too
// large, too deep, no JSON or no object.
nlohmann::json ParseRequestBody(const std::string& body);

// A whole decimal integer from low to high ("2x", "2.7", " 2" are not), or
// false.
bool ParseWholeNumber(const std::string& text, long low, long high, long* number);

// A request the page can fix: a 4xx and the reason.
struct RequestRefused {
    int status;
    std::string message;
};
