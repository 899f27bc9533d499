#pragma once
// A screen's form: its controls in a fixed order, each with its place on
// the window. A screen declares every control once, as a member and as one
// row of its form table (FormBuilder below); the registry order, the fixed
// captions, the initial state, the handler wiring and the window's layout
// all come from that row.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/controls.h"

namespace kippurun {

enum class TextAlign { Left, Centre };

// A picture box of clickable cells worked from the keyboard (the calendar):
// an arrow key clicks the cell next to the marked one (a cell is marked while
// its caption is not empty), Page Up and Page Down press the paging keys,
// Enter presses the confirming key.
struct KeyGrid {
    std::vector<Label*> cells;  // row by row
    int columns = 1;
    CommandButton* previous = nullptr;
    CommandButton* next = nullptr;
    CommandButton* confirm = nullptr;
};

// Where the window shows a control and how.
struct Placement {
    std::string name;       // control name, "cmdExit(3)", "lblHi7"
    std::string container;  // empty: the form; else a frame, picture box or tab control
    int page = -1;          // the tab control's page holding it
    Geometry geometry;      // twips, relative to the container (page: below the tab row)
    int pointSize = 0;      // 0: the window's usual size
    TextAlign align = TextAlign::Left;  // label captions
    std::optional<Rgb> background;      // labels drawn on their own colour
    bool readOnly = true;               // text boxes: true unless the clerk types into it
    bool pressable = false;             // display boxes whose click is a clerk's action
    bool behind = false;                // drawn beneath the other controls of its container
    std::string functionKey;            // keys: the keyboard key that presses it ("F12")
    std::optional<KeyGrid> grid;        // picture boxes worked as a grid from the keyboard
    bool stationSearch = false;         // drop-downs of stations: found by typing a reading
    // Drop-downs of types: whether the entry at a position is permitted now
    // (none: every entry); the window greys the others and passes over them.
    std::function<bool(int)> itemPermitted;
    // Option buttons: the colour they are drawn on while selected.
    std::optional<Rgb> selectedColour;
    // A transparent label whose caption marks the cell beneath it: while it
    // has a caption the window tints the cell in the label's colour.
    bool marksCell = false;
    // What assistive technology calls the control, fixed at its row: a key's
    // or option's caption unless named otherwise; empty for labels, whose
    // caption is their name.
    std::string accessibleName;
    // Labels: the control they caption (its name), announced with it.
    std::string buddyOf;
};

// A screen's controls in a fixed order: the order of `dump`, of the script
// driver's look-up and of the window's widgets (containers before the
// controls they hold).
class ControlRegistry {
  public:
    // The form's name ("frmStart"), caption and size in twips.
    std::string name, caption;
    int width = 0, height = 0;
    // The control holding the focus when the form opens; null for none.
    const Control* initialFocus = nullptr;
    // The key Enter presses in a box the clerk types into; null for none.
    CommandButton* enterKey = nullptr;

    // A control the window does not show (a hidden state holder).
    void add(Control& control);
    // A control the window shows; placement.name is taken from the control.
    void place(Control& control, Placement placement);

    const std::vector<Control*>& all() const { return controls_; }
    Control* find(std::string_view name) const;
    // Where the window shows the control; null for one it does not show.
    const Placement* placement(const Control& control) const;
    // Every shown control, containers first.
    const std::vector<Placement>& layout() const { return layout_; }

    // Keeps the state every control has now (captions, texts, visibility,
    // enabled state, colours, list items and selection, option values, tab
    // page, sizes): called once the form table has been written.
    void keepInitialState();
    // Puts every control back into the kept state, without running any
    // handler: the screen as the form table made it.
    void restoreInitialState();

  private:
    // Every field a handler may change, of whichever kind the control is.
    struct ControlState {
        bool visible = true;
        Geometry geometry;
        bool enabled = true;
        std::string caption;  // key, label, option button, frame
        std::string text;     // text box
        Rgb foreColor, backColor;
        std::vector<std::string> items;  // drop-down; tab control: page captions
        int index = -1;                  // drop-down selection, tab page
        bool value = false;              // option button
    };
    static ControlState stateOf(const Control& control);
    static void restore(Control& control, const ControlState& state);

    template <class>
    friend class FormBuilder;
    std::vector<Control*> controls_;
    std::vector<Placement> layout_;
    std::unordered_map<const Control*, std::size_t> placed_;
    std::vector<ControlState> initial_;  // by registry order
};

// Why a clerk cannot reach the control now (not shown, hidden, disabled, or
// inside a hidden container or a tab page not in front); nullopt when a
// clerk can reach it.
std::optional<std::string> whyUnreachable(const ControlRegistry& form, const Control& control);

// Why a clerk cannot type `text` into `box` now: the window does not let a
// clerk type into it (it shows what the program wrote), it cannot be
// reached (whyUnreachable), or it takes digits only or fewer characters
// than `text` has. nullopt when the clerk can; typing then is
// `box.typeText(text)`.
enum class TypingRefusal { NotTyped, Unreachable, DigitsOnly, TooLong };
std::optional<TypingRefusal> whyUntypable(const ControlRegistry& form, const TextBox& box,
                                          std::string_view text);

// Whether the control must carry an accessible name: every kind a clerk
// works or reads a value from. Labels and frames are named by their captions.
bool needsAccessibleName(const Control& control, const Placement& placement);

// An arrow key on a keyboard grid: clicks the cell `across` columns and
// `down` rows from the marked one, as the clerk's click on it would (one
// past a row's end is the next row's first). With no cell marked, clicks
// the cells from the first (going back: from the last) until one takes the
// mark. Nothing beyond the grid's edge.
void moveGridMark(const KeyGrid& grid, int across, int down);

// Writes a screen's form table: one row per control, in registry order.
// Rows go into the container last opened with onForm(), in() or onPage().
template <class Screen>
class FormBuilder {
  public:
    using Handler = void (Screen::*)();

    template <class C>
    class Row {
      public:
        Row(FormBuilder& b, C& control, std::optional<std::size_t> placement)
            : b_(b), c_(control), placement_(placement) {}
        // The fixed caption; a text box's fixed text; a tab control's
        // page captions separated by '|'.
        Row& caption(std::string text) {
            if constexpr (std::is_same_v<C, TextBox>)
                c_.text = std::move(text);
            else if constexpr (std::is_same_v<C, TabControl>)
                c_.captions = splitCaptions(text);
            else {
                if constexpr (std::is_same_v<C, CommandButton> || std::is_same_v<C, OptionButton> ||
                              std::is_same_v<C, Frame>)
                    if (placement_ && place().accessibleName.empty()) place().accessibleName = text;
                c_.caption = std::move(text);
            }
            return *this;
        }
        // The name assistive technology gives the control, where its caption
        // does not say what it is or changes.
        Row& named(std::string name) {
            place().accessibleName = std::move(name);
            return *this;
        }
        // A label captioning `control`: a screen reader reads the two together.
        Row& labels(const Control& control) {
            place().buddyOf = control.name();
            return *this;
        }
        Row& hidden() {
            c_.visible = false;
            return *this;
        }
        Row& disabled() {
            c_.enabled = false;
            return *this;
        }
        Row& click(Handler handler) {
            return click([s = &b_.screen_, handler] { (s->*handler)(); });
        }
        Row& click(std::function<void()> handler) {
            c_.onClick = std::move(handler);
            return *this;
        }
        // A text box's handling of the clerk's typing.
        Row& change(Handler handler) {
            c_.onChange = [s = &b_.screen_, handler] { (s->*handler)(); };
            return *this;
        }
        Row& gotFocus(Handler handler) {
            c_.onGotFocus = [s = &b_.screen_, handler] { (s->*handler)(); };
            return *this;
        }
        // The window's face for this control.
        Row& points(int size) {
            place().pointSize = size;
            return *this;
        }
        // A label's caption or a text box's text centred.
        Row& centred() {
            if constexpr (std::is_same_v<C, TextBox>)
                c_.centred = true;
            else
                place().align = TextAlign::Centre;
            return *this;
        }
        Row& rightAligned() {
            c_.rightAligned = true;
            return *this;
        }
        // A label's text colour; a text box's or picture box's background.
        Row& colour(Rgb rgb) {
            if constexpr (std::is_same_v<C, Label>)
                c_.foreColor = rgb;
            else
                c_.backColor = rgb;
            return *this;
        }
        Row& transparent() {
            c_.transparent = true;
            return *this;
        }
        Row& behind() {
            place().behind = true;
            return *this;
        }
        Row& background(Rgb colour) {
            place().background = colour;
            return *this;
        }
        // A display box whose click is one of the clerk's actions: a Tab
        // stop, and Enter on it clicks it.
        Row& pressable() {
            place().pressable = true;
            return *this;
        }
        // A box the clerk types into: digits only, at most `maxLength` of them.
        Row& typedDigits(int maxLength) {
            place().readOnly = false;
            c_.digitsOnly = true;
            c_.maxLength = maxLength;
            return *this;
        }
        // A picture box whose height the screen changes at run time,
        // starting from its height on the form.
        Row& resizable() {
            c_.geometry = place().geometry;
            return *this;
        }
        Row& initialFocus() {
            b_.form_.initialFocus = &c_;
            return *this;
        }
        // A key: the keyboard key ("F1" ... "F12") that presses it from
        // anywhere on the form.
        Row& functionKey(std::string key) {
            place().functionKey = std::move(key);
            return *this;
        }
        // A key: Enter in a box the clerk types into presses it too.
        Row& enterKey() {
            b_.form_.enterKey = &c_;
            return *this;
        }
        // A drop-down of catalogue stations: the clerk finds a station by
        // typing its reading or number (data/station_search.h).
        Row& stationSearch() {
            place().stationSearch = true;
            return *this;
        }
        // A drop-down of types: entry i is permitted while `permitted(i)`,
        // as the type's handler refuses it otherwise.
        Row& itemsPermittedBy(std::function<bool(int)> permitted) {
            place().itemPermitted = std::move(permitted);
            return *this;
        }
        // A transparent label marking its cell (see Placement::marksCell).
        Row& marksCell() {
            place().marksCell = true;
            return *this;
        }
        // An option button drawn on `colour` while it is selected.
        Row& selectedColour(Rgb colour) {
            place().selectedColour = colour;
            return *this;
        }
        // A picture box: its cells worked from the keyboard (see KeyGrid).
        Row& keyGrid(KeyGrid grid) {
            place().grid = std::move(grid);
            return *this;
        }

      private:
        Placement& place() { return b_.form_.layout_[*placement_]; }
        static std::vector<std::string> splitCaptions(const std::string& text) {
            std::vector<std::string> out(1);
            for (char ch : text)
                if (ch == '|')
                    out.emplace_back();
                else
                    out.back() += ch;
            return out;
        }
        FormBuilder& b_;
        C& c_;
        std::optional<std::size_t> placement_;
    };

    FormBuilder(Screen& screen, ControlRegistry& form) : screen_(screen), form_(form) {}

    void form(std::string name, std::string caption, int width, int height) {
        form_.name = std::move(name);
        form_.caption = std::move(caption);
        form_.width = width;
        form_.height = height;
    }
    void onForm() { container_ = {}, page_ = -1; }
    void in(const Control& container) { container_ = container.name(), page_ = -1; }
    void onPage(const TabControl& tabs, int page) { container_ = tabs.name(), page_ = page; }

    // A control the window shows at `g` (twips) in the current container.
    template <class C>
    Row<C> put(C& control, Geometry g) {
        Placement p;
        p.container = container_;
        p.page = page_;
        p.geometry = g;
        form_.place(control, std::move(p));
        return Row<C>(*this, control, form_.layout_.size() - 1);
    }
    // A hidden state holder: registered, never shown.
    template <class C>
    Row<C> holder(C& control) {
        form_.add(control);
        control.visible = false;
        return Row<C>(*this, control, std::nullopt);
    }

  private:
    Screen& screen_;
    ControlRegistry& form_;
    std::string container_;
    int page_ = -1;
};

}  // namespace kippurun
