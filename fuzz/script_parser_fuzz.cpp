// The script parser on any text, line by line as the driver reads it: a
// line either is refused with a script error or gives a command that,
// written out again, parses to the same command.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/script/script_parser.h"
#include "fuzz/fuzz_check.h"

namespace {

using namespace kippurun;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string written(const ScriptArgument& arg) {
    if (!arg.quoted) return arg.text;
    std::string out = "\"";
    for (char c : arg.text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

void checkWord(const std::string& word) {
    FUZZ_CHECK(!word.empty() && !word.starts_with('"'));
    for (char c : word) FUZZ_CHECK(!isBlank(c));
}

void checkNumber(const std::string& text) {
    const std::optional<int> number = parseScriptInt(text);
    if (!number) return;
    // Leading zeros and a plus sign aside, the number is its own text.
    FUZZ_CHECK(!text.empty() && !text.starts_with('+'));
    FUZZ_CHECK(parseScriptInt(std::to_string(*number)) == number);
    std::string digits = text;
    if (digits.starts_with('-')) digits.erase(0, 1);
    FUZZ_CHECK(!digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos);
}

void checkLine(std::string_view line) {
    std::optional<ScriptCommand> command;
    try {
        command = parseScriptLine(line);
    } catch (const ScriptError&) {
        return;
    }
    if (!command) return;
    checkWord(command->verb);
    FUZZ_CHECK(!command->verb.starts_with('#'));
    std::string again = command->verb;
    for (const ScriptArgument& arg : command->args) {
        if (!arg.quoted) checkWord(arg.text);
        checkNumber(arg.text);
        again += " " + written(arg);
    }
    const std::optional<ScriptCommand> reparsed = parseScriptLine(again);
    FUZZ_CHECK(reparsed && reparsed->verb == command->verb);
    FUZZ_CHECK(reparsed->args.size() == command->args.size());
    for (std::size_t i = 0; i < command->args.size(); ++i) {
        FUZZ_CHECK(reparsed->args[i].text == command->args[i].text);
        FUZZ_CHECK(reparsed->args[i].quoted == command->args[i].quoted);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        checkLine(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return 0;
}
