#pragma once
// The sales screen: every control of the screen under its own name, and the
// screen's handlers and procedures. The whole state of a sale lives in the
// controls; the Qt window and the script driver only show them and forward a
// clerk's actions to the handlers. Each control's caption, initial state,
// handler and place on the window are its row of the form table
// (frm_start_form.cpp).
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/clock.h"
#include "app/control_array.h"
#include "app/controls.h"
#include "app/module1.h"
#include "app/screen.h"
#include "app/table_prefetch.h"
#include "data/fare_tables.h"
#include "fare/ticket_types.h"
#include "fare/yen.h"

namespace kippurun {

// Where a load step may take its start-up set from instead of reading it:
// the set, or nullopt when there is none (TablePrefetch::take).
using TablesAhead = std::function<std::optional<CounterSet>()>;

class frmStart : public Screen {
  public:
    // `module` is the program shell's Module1, the key layout shared with
    // the settings screen; without one the screen keeps a layout of its own
    // (tests, benchmarks).
    frmStart(CounterFolders folders, const Clock& clock, Prompt& prompt, Module1* module = nullptr);

    const std::filesystem::path& untinDir() const { return folders_.tables; }
    void load() override { Form_Load(); }
    // The next load step takes its start-up tables from `ahead` (read ahead
    // while the program started) rather than reading them; once, and only
    // where `ahead` has them.
    void takeTablesFrom(TablesAhead ahead) { tablesAhead_ = std::move(ahead); }
    void closeByWindow() override { cmdExit_Click(0); }

    // ---- Top key rows (on the form) ----
    ControlArray<CommandButton> cmdExit{"cmdExit", 11};
    CommandButton cmdSettei{"cmdSettei"};
    CommandButton cmdJikkou{"cmdJikkou"};
    TextBox txtDate{"txtDate"};
    TextBox txtJoryouken{"txtJoryouken"};
    CommandButton cmdKaihou{"cmdKaihou"};

    // Arrays whose elements sit in different frames (see the registry order).
    ControlArray<Label> lblKenshu{"lblKenshu", 4};
    ControlArray<Label> lblKukan1{"lblKukan1", 4};
    ControlArray<Label> lblArrow{"lblArrow", 4};

    // ---- Passenger-ticket frame ----
    Frame frameJosha{"frameJosha"};
    ComboBox cboKenshu{"cboKenshu"};
    Label lblHizuke{"lblHizuke"};
    TextBox txtTuki{"txtTuki"};
    Label lblSrash{"lblSrash"};
    TextBox txtNichi{"txtNichi"};
    ComboBox cboHatsu{"cboHatsu"};
    ComboBox cboChaku{"cboChaku"};
    ComboBox cboHatsu2{"cboHatsu2"};
    ComboBox cboChaku2{"cboChaku2"};
    TextBox txtHatsu{"txtHatsu"};    // hidden
    TextBox txtChaku{"txtChaku"};    // hidden
    TextBox txthatsu2{"txthatsu2"};  // hidden
    TextBox txtChaku2{"txtChaku2"};  // hidden
    Label lblOtona{"lblOtona"};
    TextBox txtNinzu{"txtNinzu"};
    Label lblShoni{"lblShoni"};
    TextBox txtNinzuK{"txtNinzuK"};
    Label lblGaku{"lblGaku"};
    TextBox txtNinzuG{"txtNinzuG"};

    // ---- Charge-ticket frame ----
    Frame frameRyokin{"frameRyokin"};
    ComboBox cboKenshu3{"cboKenshu3"};
    ComboBox cboHatsu3{"cboHatsu3"};
    ComboBox cboChaku3{"cboChaku3"};
    OptionGroup ryokinGroup;
    OptionButton optRyokin1{"optRyokin1", ryokinGroup};  // hidden
    OptionButton optRyokin2{"optRyokin2", ryokinGroup};  // hidden
    Frame frameRyokin2{"frameRyokin2"};
    ComboBox cboKenshu4{"cboKenshu4"};
    ComboBox cboHatsu4{"cboHatsu4"};
    ComboBox cboChaku4{"cboChaku4"};
    TextBox txtHatsu4{"txtHatsu4"};  // hidden
    TextBox txtChaku4{"txtChaku4"};  // hidden

    // ---- Bottom of the form: station-key target (one group), total ----
    OptionGroup targetGroup;
    OptionButton optHatsu1{"optHatsu1", targetGroup};  // all eight hidden
    OptionButton optChaku1{"optChaku1", targetGroup};
    OptionButton optHatsu2{"optHatsu2", targetGroup};
    OptionButton optChaku2{"optChaku2", targetGroup};
    OptionButton optHatsu3{"optHatsu3", targetGroup};
    OptionButton optChaku3{"optChaku3", targetGroup};
    OptionButton optHatsu4{"optHatsu4", targetGroup};
    OptionButton optChaku4{"optChaku4", targetGroup};
    TextBox txtBill{"txtBill"};

    // ---- Tab control: pages "フルキー", "駅名", "カレンダー", "明細" ----
    TabControl tabFullKey{"tabFullKey"};

    // Page 0
    CommandButton cmdToday{"cmdToday"};
    CommandButton cmdTomorrow{"cmdTomorrow"};
    CommandButton cmdAsatte{"cmdAsatte"};
    CommandButton cmdO1{"cmdO1"}, cmdO2{"cmdO2"}, cmdO3{"cmdO3"}, cmdO4{"cmdO4"};
    CommandButton cmdK1{"cmdK1"}, cmdK2{"cmdK2"}, cmdK3{"cmdK3"}, cmdK4{"cmdK4"};
    CommandButton cmdKatamichi{"cmdKatamichi"};
    CommandButton cmdOfuku{"cmdOfuku"};
    CommandButton cmdRenzoku{"cmdRenzoku"};
    CommandButton cmd11Kai{"cmd11Kai"};
    CommandButton cmd6Kai{"cmd6Kai"};
    CommandButton cmdJiyuKai{"cmdJiyuKai"};
    CommandButton cmdJitoku{"cmdJitoku"};
    CommandButton cmdShiToku{"cmdShiToku"};
    CommandButton cmdGToku{"cmdGToku"};
    CommandButton cmdMarine{"cmdMarine"};
    CommandButton cmdMarineG{"cmdMarineG"};
    CommandButton cmdGaku{"cmdGaku"};
    // The page-0 key at position n (1-52, 4 per row from the top left): a
    // named key above or one of the empty cmdFullNN keys.
    CommandButton& fullKey(int n);
    // The empty key "cmdFullNN" at position n; throws std::out_of_range for
    // a position held by a named key.
    CommandButton& cmdFull(int n);

    // Page 1: "cmdEki00" ... "cmdEki51".
    CommandButton& cmdEki(int k);

    // Page 2: the calendar
    PictureBox picYear{"picYear"};
    CommandButton cmdZenNen{"cmdZenNen"};
    TextBox txtNannen{"txtNannen"};
    CommandButton cmdYokuNen{"cmdYokuNen"};
    PictureBox picMonth{"picMonth"};
    CommandButton cmdZenGetu{"cmdZenGetu"};
    TextBox txtNangatsu{"txtNangatsu"};
    CommandButton cmdYokuGetsu{"cmdYokuGetsu"};
    PictureBox picCalender{"picCalender"};
    ControlArray<Label> lblWeek{"lblWeek", 7};
    ControlArray<Label> lblDay{"lblDay", 42};
    // "lblHi0" ... "lblHi41", separate labels over the day cells.
    Label& lblHi(int n);
    Label Label1{"Label1"};
    TextBox txtSeason{"txtSeason"};
    CommandButton cmdDayKettei{"cmdDayKettei"};
    TextBox txtFocus{"txtFocus"};  // hidden
    TextBox txtYear{"txtYear"};    // hidden
    TextBox txtMonth{"txtMonth"};  // hidden
    TextBox txtDay{"txtDay"};      // hidden
    TextBox txtWeek{"txtWeek"};    // hidden

    // Page 3: the bill
    Label lblTanka{"lblTanka"};
    Label lblMaisu{"lblMaisu"};
    Label lblShokei{"lblShokei"};
    ControlArray<Label> lblKenshuM{"lblKenshuM", 3};
    Label lbl01{"lbl01"}, lbl02{"lbl02"}, lbl03{"lbl03"};
    Label lbl21{"lbl21"}, lbl22{"lbl22"}, lbl31{"lbl31"}, lbl32{"lbl32"};
    TextBox txtTan01{"txtTan01"}, txtNin01{"txtNin01"}, txtSho01{"txtSho01"};
    TextBox txtTan02{"txtTan02"}, txtNin02{"txtNin02"}, txtSho02{"txtSho02"};
    TextBox txtTan03{"txtTan03"}, txtNin03{"txtNin03"}, txtSho03{"txtSho03"};
    TextBox txtTan21{"txtTan21"}, txtNin21{"txtNin21"}, txtSho21{"txtSho21"};
    TextBox txtTan22{"txtTan22"}, txtNin22{"txtNin22"}, txtSho22{"txtSho22"};
    TextBox txtTan31{"txtTan31"}, txtNin31{"txtNin31"}, txtSho31{"txtSho31"};
    TextBox txtTan32{"txtTan32"}, txtNin32{"txtNin32"}, txtSho32{"txtSho32"};

    // The seven bill lines in bill order; block 0 is the passenger ticket,
    // 1 and 2 the charge sections, each named by lblKenshuM(block).
    struct BillLine {
        const char* suffix;  // "01", "02", "03", "21", "22", "31", "32"
        int block;
        Label* label;
        TextBox* unit;
        TextBox* count;
        TextBox* subtotal;
    };
    std::array<BillLine, 7> billLines();

    // The tables read by the load step; replaced only after a complete load.
    FareTables tables;
    // The station key layout the keys of page 1 stand for.
    Module1& module() { return *module_; }

    // ---- Load step and exit ----
    // Throws DataFileError when a table file cannot be used.
    void Form_Load();
    void cmdExit_Click(int index);

    // ---- Calculation run and bill ----
    void cmdJikkou_Click();
    void tabFullKey_Click();
    void MeisaiClear();
    void CheckClear();

    // ---- Station entry ----
    void cboHatsu_Click();
    void cboChaku_Click();
    void cboHatsu2_Click();
    void cboChaku2_Click();
    void cboHatsu4_Click();
    void cboChaku4_Click();
    void cboHatsu_GotFocus();
    void cboChaku_GotFocus();
    void cboHatsu2_GotFocus();
    void cboChaku2_GotFocus();
    void cboHatsu3_GotFocus();
    void cboChaku3_GotFocus();
    void cboHatsu4_GotFocus();
    void cboChaku4_GotFocus();
    void cmdEki_Click(int k);
    void Eki1Set();

    // ---- Ticket-type and count keys ----
    // The key whose enabled state permits a type: the determinations enable
    // it where the journey allows the type. Null: always permitted.
    const CommandButton* permittingKey(TicketPermit permit) const;
    // Whether the journey allows the type at a list position, as the lists'
    // handlers decide before selling it; no selection refuses nothing.
    bool passengerTypePermitted(int position) const;
    bool chargeTypePermitted(int position) const;
    void cboKenshu_Click();
    void cboKenshu3_Click();
    void cboKenshu4_Click();
    void cboKenshu_GotFocus();
    void cboKenshu3_GotFocus();
    void cboKenshu4_GotFocus();
    void cmdKatamichi_Click();
    void cmdOfuku_Click();
    void cmdRenzoku_Click();
    void cmd11Kai_Click();
    void cmd6Kai_Click();
    void cmdJiyuKai_Click();
    void cmdJitoku_Click();
    void cmdShiToku_Click();
    void cmdGToku_Click();
    void cmdMarine_Click();
    void cmdMarineG_Click();
    void cmdO1_Click();
    void cmdO2_Click();
    void cmdO3_Click();
    void cmdO4_Click();
    void cmdK1_Click();
    void cmdK2_Click();
    void cmdK3_Click();
    void cmdK4_Click();
    void txtNinzu_Click();
    void txtNinzuK_Click();
    void txtNinzuG_Click();
    // The clerk's typing changed a count box.
    void txtNinzu_Change();
    void txtNinzuK_Change();
    void txtNinzuG_Change();

    // ---- Determinations: charge stops and the keys the journey allows ----
    void ExpressSet();
    void ExpressSet2();
    void ExpressHantei();
    void ExpressHantei2();
    void Norikae();
    void MarineHantei();
    void MarineSet();
    void MarineSet2();
    void MarineSettei();
    void MarineSettei2();
    void Ghantei();
    void KHantei();
    void JiKaiHantei();
    // The student key of one-way and return tickets by distance, and of the
    // coupons (always closed); run by the ticket-type handler.
    void distanceRule();
    void couponRule();
    // The three express charge keys opened or closed together.
    void expressKeys(bool allowed);
    // Student key disabled, its label and count hidden, the count "0".
    void closeStudentDiscount();

    // ---- Release, student and settings keys ----
    void cmdKaihou_Click();
    void cmdGaku_Click();
    void cmdSettei_Click();

    // ---- Travel date and calendar (frm_start_calendar.cpp) ----
    void dateBoxesFromToday();  // load step 1: txtDate, txtTuki, txtNichi
    void Today();
    void Calender();
    void lblHi_Click(int n);
    void cmdZenNen_Click();
    void cmdYokuNen_Click();
    void cmdZenGetu_Click();
    void cmdYokuGetsu_Click();
    void cmdDayKettei_Click();
    void cmdToday_Click();
    void cmdTomorrow_Click();
    void cmdAsatte_Click();
    void txtTuki_Click();
    void txtNichi_Click();

  private:
    // The form table: every control's row, in registry order.
    void buildForm();

    // The helpers of the station-entry and key handlers that more than one
    // file needs (frm_start_entry.cpp, frm_start_keys.cpp); a helper of one
    // file only is file-local there.

    // Station entry: the determinations after a change of journey section 1.
    void chargeBranch();
    // A change of journey section 2, or the continuous ticket chosen:
    // charge section 1 re-derived in the stops its type needs (`refill`:
    // the express stops are put in anew), and the express keys set as the
    // express determination sets them.
    void chargeSection1Again(bool refill);
    // Charge section 2 re-derived from journey section 2 in the stops its
    // type needs, and the express keys set, while section 2 is shown.
    void chargeSection2Again();
    void enterList(OptionButton& target);

    CounterFolders folders_;
    TablesAhead tablesAhead_;
    const Clock& clock_;
    Prompt& prompt_;
    Module1 ownModule_;
    Module1* module_;

    std::array<CommandButton*, 53> fullKeys_{};            // page 0 by position 1-52
    std::vector<std::unique_ptr<CommandButton>> cmdFull_;  // indexed by position 1-52
    std::vector<std::unique_ptr<CommandButton>> cmdEki_;
    std::vector<std::unique_ptr<Label>> lblHi_;
};

}  // namespace kippurun
