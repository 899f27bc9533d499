#pragma once
// A text cut at every occurrence of a separator (lines of an output, fields
// of a CSV row): n separators give n + 1 parts, empty ones included.
#include <string>
#include <vector>

namespace kippurun::testing {

inline std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (std::size_t end; (end = text.find(separator, begin)) != std::string::npos;) {
        parts.push_back(text.substr(begin, end - begin));
        begin = end + separator.size();
    }
    parts.push_back(text.substr(begin));
    return parts;
}

}  // namespace kippurun::testing
