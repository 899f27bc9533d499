#pragma once
// The controls a screen owns, as plain state with exactly the behaviour the
// handlers rely on. The Qt window and the script driver only show them and
// turn a clerk's actions into the calls below.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kippurun {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
inline constexpr Rgb RgbBlack{0, 0, 0};
inline constexpr Rgb RgbRed{255, 0, 0};
inline constexpr Rgb RgbBlue{0, 0, 255};
inline constexpr Rgb RgbWhite{255, 255, 255};

// Position and size in twips (1/1440 inch), relative to the container.
struct Geometry {
    int left = 0, top = 0, width = 0, height = 0;
};

enum class ControlKind { Key, DropDown, TextBox, Label, Option, Frame, Picture, Tab };

class Control {
  public:
    Control(ControlKind kind, std::string name) : kind_(kind), name_(std::move(name)) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    // The control's name; array elements as "cmdExit(3)".
    const std::string& name() const { return name_; }

    bool visible = true;
    // Only picture boxes change their size at run time (the calendar's
    // height); the window decides every other position itself.
    Geometry geometry;

  private:
    ControlKind kind_;
    std::string name_;
};

class CommandButton : public Control {
  public:
    explicit CommandButton(std::string name) : Control(ControlKind::Key, std::move(name)) {}
    std::string caption;
    bool enabled = true;
    std::function<void()> onClick;
    // A clerk's press: runs the handler only while visible and enabled.
    void press() {
        if (visible && enabled && onClick) onClick();
    }
};

class ComboBox : public Control {
  public:
    explicit ComboBox(std::string name) : Control(ControlKind::DropDown, std::move(name)) {}
    bool enabled = true;
    std::function<void()> onClick;     // selection handling
    std::function<void()> onGotFocus;  // focus entering the list

    const std::vector<std::string>& items() const { return items_; }
    int count() const { return static_cast<int>(items_.size()); }
    int listIndex() const { return index_; }
    // The selected item's text; empty with no selection.
    std::string text() const {
        return index_ >= 0 ? items_[static_cast<std::size_t>(index_)] : std::string();
    }

    void addItem(std::string item) { items_.push_back(std::move(item)); }
    // Empties the list: no selection, nothing runs.
    void clear() {
        items_.clear();
        index_ = -1;
    }
    // Sets the selection; runs the selection handling only when the position
    // changes. A position outside the items (other than -1) is refused:
    // nothing is stored and false is returned.
    bool setListIndex(int index) {
        if (index < -1 || index >= count()) return false;
        if (index == index_) return true;
        index_ = index;
        if (onClick) onClick();
        return true;
    }
    void gotFocus() {
        if (onGotFocus) onGotFocus();
    }
    // Puts back items and selection as they were kept; nothing runs.
    void restore(std::vector<std::string> items, int index) {
        items_ = std::move(items);
        index_ = index;
    }

  private:
    std::vector<std::string> items_;
    int index_ = -1;
};

class TextBox : public Control {
  public:
    explicit TextBox(std::string name) : Control(ControlKind::TextBox, std::move(name)) {}
    std::string text;
    bool enabled = true;
    Rgb backColor = RgbWhite;
    bool rightAligned = false;
    bool centred = false;
    bool digitsOnly = false;  // the window lets the clerk type digits only
    int maxLength = 0;        // longest text the clerk may type; 0 for no limit
    std::function<void()> onClick;
    std::function<void()> onChange;  // the clerk's typing changed the text
    void click() {
        if (onClick) onClick();
    }
    // The clerk typed: the text changes and, when it did, the change
    // handling runs.
    void typeText(std::string typed) {
        if (typed == text) return;
        text = std::move(typed);
        if (onChange) onChange();
    }
};

class Label : public Control {
  public:
    explicit Label(std::string name) : Control(ControlKind::Label, std::move(name)) {}
    std::string caption;
    Rgb foreColor = RgbBlack;
    bool transparent = false;
    int pointSize = 0;  // 0: the screen's usual size
    std::function<void()> onClick;
    void click() {
        if (onClick) onClick();
    }
};

class OptionButton;

// Option buttons of one group: exactly one is selected.
class OptionGroup {
  public:
    void add(OptionButton& button) { members_.push_back(&button); }
    const std::vector<OptionButton*>& members() const { return members_; }

  private:
    std::vector<OptionButton*> members_;
};

class OptionButton : public Control {
  public:
    OptionButton(std::string name, OptionGroup& group)
        : Control(ControlKind::Option, std::move(name)), group_(&group) {
        group.add(*this);
    }
    std::string caption;
    std::function<void()> onClick;
    bool value() const { return value_; }
    // A clerk's click: this one selected, then its handler, when it has one.
    void click() {
        select();
        if (onClick) onClick();
    }
    // Selects this one and clears the others of its group.
    void select() {
        for (OptionButton* other : group_->members()) other->value_ = false;
        value_ = true;
    }
    // Puts back the value as it was kept, whole groups at a time; nothing runs.
    void restore(bool value) { value_ = value; }

  private:
    OptionGroup* group_;
    bool value_ = false;
};

class Frame : public Control {
  public:
    explicit Frame(std::string name) : Control(ControlKind::Frame, std::move(name)) {}
    std::string caption;
};

class PictureBox : public Control {
  public:
    explicit PictureBox(std::string name) : Control(ControlKind::Picture, std::move(name)) {}
    Rgb backColor = RgbWhite;
    // Height in twips lives in geometry.height.
};

class TabControl : public Control {
  public:
    explicit TabControl(std::string name) : Control(ControlKind::Tab, std::move(name)) {}
    std::vector<std::string> captions;
    std::function<void()> onClick;
    int tab() const { return tab_; }
    // Brings page `page` to the front; the click handler runs when the page
    // changes. A page outside the captions is refused.
    bool setTab(int page) {
        if (page < 0 || page >= static_cast<int>(captions.size())) return false;
        if (page == tab_) return true;
        tab_ = page;
        if (onClick) onClick();
        return true;
    }
    // Puts back the page as it was kept; nothing runs.
    void restore(int page) { tab_ = page; }

  private:
    int tab_ = 0;
};

// What a screen needs from outside, injected by the view.
enum class PromptButtons { YesNo, YesNoCancel };
enum class PromptAnswer { Yes, No, Cancel };

class Prompt {
  public:
    virtual ~Prompt() = default;
    // A modal question with the question icon.
    virtual PromptAnswer ask(const std::string& title, const std::string& text,
                             PromptButtons buttons) = 0;
    // A message without a question (data errors the clerk must see).
    virtual void inform(const std::string& title, const std::string& text) = 0;
};

}  // namespace kippurun
