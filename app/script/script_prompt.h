#pragma once
// Question boxes in a script run: answered from the queued answers, each
// printed as "? TITLE | TEXT -> ANSWER"; messages as "! TITLE | TEXT".
#include <deque>
#include <iosfwd>

#include "app/controls.h"

namespace kippurun {

class ScriptPrompt : public Prompt {
  public:
    explicit ScriptPrompt(std::ostream& out) : out_(out) {}

    void queue(PromptAnswer answer) { answers_.push_back(answer); }

    // Throws ScriptError when no answer is queued, or when the answer is
    // Cancel and the question has no Cancel button.
    PromptAnswer ask(const std::string& title, const std::string& text,
                     PromptButtons buttons) override;
    void inform(const std::string& title, const std::string& text) override;

  private:
    std::ostream& out_;
    std::deque<PromptAnswer> answers_;
};

}  // namespace kippurun
