#pragma once
// The screen's questions and messages in the window.
#include <functional>

#include "app/controls.h"

class QMessageBox;
class QWidget;

namespace kippurun {

// A window that gives its question boxes its own look.
class BoxDresser {
  public:
    virtual ~BoxDresser() = default;
    // Before the box takes its size: face, buttons, icon.
    virtual void dressBox(QMessageBox& box) const = 0;
    // Once it has its size: where it opens.
    virtual void placeBox(QMessageBox& box) const = 0;
};

// Modal message boxes: the question icon with Yes/No or Yes/No/Cancel, and a
// warning for a message without a question.
class MessageBoxPrompt : public Prompt {
  public:
    // The window the boxes belong to; when it is a BoxDresser it dresses
    // and places each box. A box takes the keyboard when it opens, with or
    // without a window manager.
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    PromptAnswer ask(const std::string& title, const std::string& text,
                     PromptButtons buttons) override;
    void inform(const std::string& title, const std::string& text) override;

  private:
    QWidget* parent_ = nullptr;
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
