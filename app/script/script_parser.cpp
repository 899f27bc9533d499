#include "app/script/script_parser.h"

#include <charconv>

namespace kippurun {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

}  // namespace

std::optional<ScriptCommand> parseScriptLine(std::string_view line) {
    std::vector<ScriptArgument> words;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i >= line.size()) break;
        if (words.empty() && line[i] == '#') return std::nullopt;
        ScriptArgument word;
        if (line[i] == '"') {
            word.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char c = line[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < line.size()) {
                    char next = line[i++];
                    word.text += next == 'n' ? '\n' : next;
                } else {
                    word.text += c;
                }
            }
            if (!closed) throw ScriptError("二重引用符が閉じていません");
            if (i < line.size() && !isBlank(line[i]))
                throw ScriptError("引用符の後に空白がありません");
        } else {
            while (i < line.size() && !isBlank(line[i])) word.text += line[i++];
        }
        words.push_back(std::move(word));
    }
    if (words.empty()) return std::nullopt;
    if (words.front().quoted) throw ScriptError("コマンドがありません");
    ScriptCommand command{std::move(words.front().text), {}};
    command.args.assign(std::make_move_iterator(words.begin() + 1),
                        std::make_move_iterator(words.end()));
    return command;
}

std::optional<int> parseScriptInt(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || p != end || text.empty()) return std::nullopt;
    return value;
}

}  // namespace kippurun
