#include "design/line_diff.h"

#include <algorithm>
#include <unordered_map>

namespace {

// The lines as numbers, equal lines equal numbers, so that comparing two is cheap.
void NumberLines(const std::vector<std::string>& before, const std::vector<std::string>& after,
                 std::vector<int>* a, std::vector<int>* b) {
    std::unordered_map<std::string, int> numbers;
    auto number = [&](const std::string& line) { return numbers.emplace(line, static_cast<int>(numbers.size())).first->second; };
    for (const std::string& line : before) a->push_back(number(line));
    for (const std::string& line : after) b->push_back(number(line));
}

// The pairs (x, y) of equal lines on a shortest edit path from a to b
// (0-based), or false when it takes more than kMostDiffedChanges edits.
bool MyersPairs(const std::vector<int>& a, const std::vector<int>& b, std::vector<std::pair<int, int>>* pairs) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    const int most = std::min(n + m, kMostDiffedChanges);
    // frontier[k + offset]: the furthest x on diagonal k = x - y.
    const int offset = most + 1;
    std::vector<int> frontier(2 * most + 3, 0);
    std::vector<std::vector<int>> rounds;  // the frontier on diagonals -d..d after round d
    int found = -1;
    for (int d = 0; d <= most && found < 0; ++d) {
        for (int k = -d; k <= d; k += 2) {
            const bool down = k == -d || (k != d && frontier[k - 1 + offset] < frontier[k + 1 + offset]);
            int x = down ? frontier[k + 1 + offset] : frontier[k - 1 + offset] + 1;
            int y = x - k;
            while (x < n && y < m && a[x] == b[y]) ++x, ++y;
            frontier[k + offset] = x;
            if (x >= n && y >= m) found = d;
        }
        rounds.emplace_back(frontier.begin() + offset - d, frontier.begin() + offset + d + 1);
    }
    if (found < 0) return false;
    int x = n, y = m;
    for (int d = found; d > 0; --d) {
        const std::vector<int>& previous = rounds[d - 1];  // diagonals -(d-1)..d-1
        const int k = x - y;
        auto at = [&](int diagonal) { return previous[diagonal + d - 1]; };
        const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
        const int previousK = down ? k + 1 : k - 1;
        const int previousX = at(previousK);
        const int previousY = previousX - previousK;
        const int stepX = down ? previousX : previousX + 1;  // where the edit ends, the snake begins
        while (x > stepX) pairs->emplace_back(--x, --y);
        x = previousX;
        y = previousY;
    }
    while (x > 0) pairs->emplace_back(--x, --y);
    std::reverse(pairs->begin(), pairs->end());
    return true;
}

}  // namespace

std::vector<LineMatch> MatchLines(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::vector<int> a, b;
    NumberLines(before, after, &a, &b);
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    int start = 0;
    while (start < n && start < m && a[start] == b[start]) ++start;
    int end = 0;
    while (end < n - start && end < m - start && a[n - 1 - end] == b[m - 1 - end]) ++end;

    std::vector<std::pair<int, int>> pairs;  // kept lines, 0-based, in order
    for (int i = 0; i < start; ++i) pairs.emplace_back(i, i);
    std::vector<std::pair<int, int>> middle;
    if (MyersPairs(std::vector<int>(a.begin() + start, a.end() - end), std::vector<int>(b.begin() + start, b.end() - end),
                   &middle)) {
        for (const auto& [x, y] : middle) pairs.emplace_back(x + start, y + start);
    }
    for (int i = end; i > 0; --i) pairs.emplace_back(n - i, m - i);

    std::vector<LineMatch> matches(static_cast<std::size_t>(n));
    int previousX = -1, previousY = -1;
    pairs.emplace_back(n, m);  // closes the last run of changed lines
    for (const auto& [x, y] : pairs) {
        // Between two kept lines: the old lines changed into the new ones, in order.
        for (int i = previousX + 1, j = previousY + 1; i < x; ++i, ++j) matches[i].becomes = j < y ? j + 1 : 0;
        if (x < n) matches[x].kept = y + 1;
        previousX = x;
        previousY = y;
    }
    return matches;
}
