#pragma once
// The screen's questions and messages in the window.
#include <functional>

#include "app/controls.h"

class QMessageBox;
class QWidget;

namespace kippurun {

// Modal message boxes: the question icon with Yes/No or Yes/No/Cancel, and a
// warning for a message without a question.
class MessageBoxPrompt : public Prompt {
  public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    // Called as each box is shown, its size known: the window gives it its
    // face and sizes and places it. The box then takes the keyboard, with
    // or without a window manager.
    void setOnShow(std::function<void(QMessageBox&)> onShow) { onShow_ = std::move(onShow); }
    PromptAnswer ask(const std::string& title, const std::string& text,
                     PromptButtons buttons) override;
    void inform(const std::string& title, const std::string& text) override;

  private:
    QWidget* parent_ = nullptr;
    std::function<void(QMessageBox&)> onShow_;
};

// Hands every question on to another prompt, first bringing the window in
// step with the model so that the clerk sees what the question is about.
class SyncedPrompt : public Prompt {
  public:
    explicit SyncedPrompt(Prompt& inner) : inner_(inner) {}
    void setBeforeShow(std::function<void()> beforeShow) { beforeShow_ = std::move(beforeShow); }
    // After the box has gone: the window takes the keyboard back.
    void setAfterShow(std::function<void()> afterShow) { afterShow_ = std::move(afterShow); }
    PromptAnswer ask(const std::string& title, const std::string& text,
                     PromptButtons buttons) override;
    void inform(const std::string& title, const std::string& text) override;

  private:
    Prompt& inner_;
    std::function<void()> beforeShow_, afterShow_;
};

}  // namespace kippurun
