#include "app/script/script_prompt.h"

#include <ostream>
#include <string>

#include "app/script/script_parser.h"

namespace kippurun {

namespace {

// Keeps a message on its one output line.
std::string oneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c != '\r')
            out += c;
    }
    return out;
}

const char* answerWord(PromptAnswer answer) {
    switch (answer) {
        case PromptAnswer::Yes:
            return "yes";
        case PromptAnswer::No:
            return "no";
        case PromptAnswer::Cancel:
            return "cancel";
    }
    return "";
}

}  // namespace

PromptAnswer ScriptPrompt::ask(const std::string& title, const std::string& text,
                               PromptButtons buttons) {
    const std::string question = oneLine(title) + " | " + oneLine(text);
    if (answers_.empty()) throw ScriptError("質問に答えがありません: " + question);
    PromptAnswer answer = answers_.front();
    answers_.pop_front();
    if (answer == PromptAnswer::Cancel && buttons == PromptButtons::YesNo)
        throw ScriptError("この質問に cancel では答えられません: " + question);
    out_ << "? " << question << " -> " << answerWord(answer) << "\n";
    return answer;
}

void ScriptPrompt::inform(const std::string& title, const std::string& text) {
    out_ << "! " << oneLine(title) << " | " << oneLine(text) << "\n";
}

}  // namespace kippurun
