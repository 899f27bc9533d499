#pragma once
// Splitting one script line into its command word and arguments.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data/table_file.h"

namespace kippurun {

// A fault in the script itself; reported with the script's line number.
// The script's own words it echoes may hold any bytes: control bytes and
// bytes that are not UTF-8 are written \x00, so that the message is shown
// whole ("cmd\x00Jikkou", never "cmd").
class ScriptError : public std::runtime_error {
  public:
    explicit ScriptError(const std::string& message)
        : std::runtime_error(escapeControls(message)) {}
};

struct ScriptArgument {
    std::string text;     // without the quotes, escapes resolved
    bool quoted = false;  // written in double quotes
};

struct ScriptCommand {
    std::string verb;
    std::vector<ScriptArgument> args;
};

// Empty for a blank line or a comment ("#..."). Words are separated by
// blanks; "..." is one argument, \" and \\ inside it stand for " and \.
// Throws ScriptError for an unterminated quote.
std::optional<ScriptCommand> parseScriptLine(std::string_view line);

// A whole decimal number such as "3" or "-1"; empty otherwise.
std::optional<int> parseScriptInt(std::string_view text);

}  // namespace kippurun
