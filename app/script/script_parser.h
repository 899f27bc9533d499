#pragma once
// Splitting one script line into its command word and arguments.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kippurun {

// A fault in the script itself; reported with the script's line number.
class ScriptError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
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
