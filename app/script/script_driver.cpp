#include "app/script/script_driver.h"

#include <fstream>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/form.h"
#include "app/program_shell.h"
#include "app/script/script_parser.h"
#include "app/script/script_prompt.h"
#include "app/script/state_lines.h"
#include "data/data_file_error.h"
#include "data/station_search.h"

namespace kippurun {

namespace {

class ScriptRun {
  public:
    ScriptRun(ProgramShell& shell, ScriptPrompt& prompt, std::ostream& out)
        : shell_(shell), prompt_(prompt), out_(out) {}

    void execute(const ScriptCommand& c) {
        const std::string& verb = c.verb;
        if (verb == "click") {
            arity(c, 1, 1);
            click(control(c.args[0]));
        } else if (verb == "focus") {
            arity(c, 1, 1);
            focus(control(c.args[0]));
        } else if (verb == "select") {
            arity(c, 2, 2);
            select(dropDown(c.args[0]), number(c.args[1]));
        } else if (verb == "choose") {
            arity(c, 2, 2);
            ComboBox& list = dropDown(c.args[0]);
            int position = number(c.args[1]);
            focus(list);
            select(list, position);
        } else if (verb == "search") {
            arity(c, 2, 2);
            search(dropDown(c.args[0]), c.args[1]);
        } else if (verb == "type") {
            arity(c, 2, 2);
            type(c.args[0], c.args[1]);
        } else if (verb == "tab") {
            arity(c, 1, 1);
            tab(number(c.args[0]));
        } else if (verb == "answer") {
            arity(c, 1, 1);
            answer(c.args[0]);
        } else if (verb == "show") {
            arity(c, 1, -1);
            for (const ScriptArgument& name : c.args) out_ << stateLine(control(name)) << "\n";
        } else if (verb == "bill") {
            arity(c, 0, 0);
            out_ << billText(salesScreen("bill"));
        } else if (verb == "dump") {
            arity(c, 0, 0);
            for (const Control* each : shell_.currentControls().all())
                out_ << stateLine(*each) << "\n";
        } else if (verb == "names") {
            // What assistive technology calls each control of the screen,
            // as its row declares it: the window's accessibility test
            // compares the window against this.
            arity(c, 0, 0);
            const ControlRegistry& form = shell_.currentControls();
            for (const Placement& placed : form.layout())
                if (!placed.accessibleName.empty())
                    out_ << placed.name << " name=" << quoteText(placed.accessibleName) << "\n";
        } else {
            throw ScriptError("不明なコマンドです: " + verb);
        }
    }

  private:
    static void arity(const ScriptCommand& c, int least, int most) {
        const int n = static_cast<int>(c.args.size());
        if (n < least || (most >= 0 && n > most))
            throw ScriptError("引数の数が正しくありません: " + c.verb);
    }

    Control& control(const ScriptArgument& name) {
        Control* found = name.quoted ? nullptr : shell_.currentControls().find(name.text);
        if (!found) throw ScriptError("不明なコントロールです: " + name.text);
        return *found;
    }

    ComboBox& dropDown(const ScriptArgument& name) {
        Control& c = control(name);
        if (c.kind() != ControlKind::DropDown)
            throw ScriptError("ドロップダウンではありません: " + name.text);
        return static_cast<ComboBox&>(c);
    }

    static int number(const ScriptArgument& arg) {
        std::optional<int> value = arg.quoted ? std::nullopt : parseScriptInt(arg.text);
        if (!value) throw ScriptError("数ではありません: " + arg.text);
        return *value;
    }

    // A clerk reaches a control only while it and every container it sits
    // in are shown (its tab page in front) and it is enabled; a script
    // asking for more stops, naming the control and the reason.
    void reachable(const Control& c, const char* what) const {
        if (std::optional<std::string> why = whyUnreachable(shell_.currentControls(), c))
            throw ScriptError(std::string(what) + ": " + c.name() + " (" + *why + ")");
    }

    void click(Control& c) {
        switch (c.kind()) {
            case ControlKind::Key:
                reachable(c, "クリックできないコントロールです");
                static_cast<CommandButton&>(c).press();
                return;
            case ControlKind::Label:
                reachable(c, "クリックできないコントロールです");
                static_cast<Label&>(c).click();
                return;
            case ControlKind::TextBox:
                reachable(c, "クリックできないコントロールです");
                static_cast<TextBox&>(c).click();
                return;
            case ControlKind::Option:
                reachable(c, "クリックできないコントロールです");
                static_cast<OptionButton&>(c).click();
                return;
            default:
                throw ScriptError("クリックできないコントロールです: " + c.name());
        }
    }

    void focus(Control& c) {
        switch (c.kind()) {
            case ControlKind::DropDown:
                reachable(c, "フォーカスを受けられないコントロールです");
                static_cast<ComboBox&>(c).gotFocus();
                return;
            case ControlKind::Key:
            case ControlKind::TextBox:
                reachable(c, "フォーカスを受けられないコントロールです");
                return;  // no focus handlers
            default:
                throw ScriptError("フォーカスを受けないコントロールです: " + c.name());
        }
    }

    void select(ComboBox& list, int position) {
        reachable(list, "選択できないコントロールです");
        if (position < 0 || position >= list.count())
            throw ScriptError("位置が範囲外です: " + list.name() + " " + std::to_string(position) +
                              " (項目数 " + std::to_string(list.count()) + ")");
        list.setListIndex(position);
    }

    // The clerk types `text` into a station list and presses Enter: the
    // first station found is chosen, one selection change; nothing found
    // changes nothing and says so.
    void search(ComboBox& list, const ScriptArgument& text) {
        const Placement* placed = shell_.currentControls().placement(list);
        if (!placed || !placed->stationSearch)
            throw ScriptError("駅を探せるドロップダウンではありません: " + list.name());
        if (!text.quoted) throw ScriptError("文字列は二重引用符で囲んでください: " + text.text);
        reachable(list, "選択できないコントロールです");
        const std::vector<int> found = findStations(list.items(), text.text);
        if (found.empty()) {
            out_ << "! " << list.name() << " " << quoteText(text.text)
                 << ": 当てはまる駅がありません\n";
            return;
        }
        list.setListIndex(found.front());
    }

    void type(const ScriptArgument& name, const ScriptArgument& text) {
        Control& c = control(name);
        if (c.kind() != ControlKind::TextBox)
            throw ScriptError("テキストボックスではありません: " + c.name());
        if (!text.quoted) throw ScriptError("文字列は二重引用符で囲んでください: " + text.text);
        auto& box = static_cast<TextBox&>(c);
        if (const auto refusal = whyUntypable(shell_.currentControls(), box, text.text)) {
            switch (*refusal) {
                case TypingRefusal::NotTyped:
                    throw ScriptError("入力できないコントロールです: " + c.name());
                case TypingRefusal::Unreachable:
                    reachable(box, "入力できないコントロールです");
                    break;
                case TypingRefusal::DigitsOnly:
                    throw ScriptError(box.name() +
                                      " には数字しか入力できません: " + quoteText(text.text));
                case TypingRefusal::TooLong:
                    throw ScriptError(box.name() + " には " + std::to_string(box.maxLength) +
                                      " 文字までしか入力できません: " + quoteText(text.text));
            }
        }
        box.typeText(text.text);
    }

    // `bill` and `tab` belong to the sales screen.
    frmStart& salesScreen(const char* verb) {
        frmStart* sales = shell_.salesScreen();
        if (!sales) throw ScriptError(std::string("販売画面が開いていません: ") + verb);
        return *sales;
    }

    void tab(int page) {
        TabControl& tabs = salesScreen("tab").tabFullKey;
        reachable(tabs, "選択できないコントロールです");
        if (!tabs.setTab(page))
            throw ScriptError("タブの番号が範囲外です: " + std::to_string(page));
    }

    void answer(const ScriptArgument& word) {
        if (word.text == "yes")
            prompt_.queue(PromptAnswer::Yes);
        else if (word.text == "no")
            prompt_.queue(PromptAnswer::No);
        else if (word.text == "cancel")
            prompt_.queue(PromptAnswer::Cancel);
        else
            throw ScriptError("答えは yes, no, cancel のどれかです: " + word.text);
    }

    ProgramShell& shell_;
    ScriptPrompt& prompt_;
    std::ostream& out_;
};

// A script line longer than this is refused before it fills memory (a
// file without line breaks, such as /dev/zero, included).
constexpr std::size_t kMaxLineBytes = 64 * 1024;

// std::getline with a limit: false at the end of the script; a line over
// the limit is left unfinished and `tooLong` set.
bool readLine(std::istream& script, std::string& line, bool& tooLong) {
    line.clear();
    bool any = false;
    for (int c; (c = script.get()) != std::char_traits<char>::eof();) {
        any = true;
        if (c == '\n') return true;
        if (line.size() == kMaxLineBytes) {
            tooLong = true;
            return true;
        }
        line.push_back(static_cast<char>(c));
    }
    return any;
}

int runLines(std::istream& script, ProgramShell& shell, ScriptPrompt& prompt, std::ostream& out,
             std::ostream& err) {
    ScriptRun run(shell, prompt, out);
    std::string line;
    bool tooLong = false;
    for (long number = 1; readLine(script, line, tooLong); ++number) {
        if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
        try {
            if (tooLong)
                throw ScriptError("行が長すぎます（上限 " + std::to_string(kMaxLineBytes) +
                                  " バイト）");
            if (std::optional<ScriptCommand> command = parseScriptLine(line)) run.execute(*command);
        } catch (const ScriptError& e) {
            out.flush();
            err << "script:" << number << ": " << e.what() << "\n";
            return 2;
        }
        if (shell.ended()) return 0;
    }
    return 0;
}

}  // namespace

int runScript(const ProgramOptions& options, std::istream& in, std::ostream& out,
              std::ostream& err) {
    const std::string& name = *options.script;
    std::ifstream file;
    if (name != "-") {
        file.open(name, std::ios::binary);
        if (!file) {
            err << "スクリプトを開けません: " << name << "\n";
            return 2;
        }
    }
    std::istream& script = name == "-" ? in : file;

    SystemClock clock(options.today);
    ScriptPrompt prompt(out);
    ProgramShell shell({options.untinDir, options.counterDir}, clock, prompt);
    try {
        shell.start();
        if (shell.ended()) return 0;
        const int status = runLines(script, shell, prompt, out, err);
        // A read error ends getline like the end of the file does; a script
        // cut short must not pass for one that ran to its end.
        if (status == 0 && !shell.ended() && script.bad()) {
            out.flush();
            err << "スクリプトを読めません: " << name << "\n";
            return 2;
        }
        return status;
    } catch (const DataFileError& e) {
        out.flush();
        err << e.what() << "\n";
        return 1;
    } catch (const ScriptError& e) {
        // A question during the load step, before any script line.
        out.flush();
        err << "script:0: " << e.what() << "\n";
        return 2;
    }
}

}  // namespace kippurun
