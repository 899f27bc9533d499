#pragma once
// The settings screen: the clerk assigns stations to the 52 station keys and
// chooses the stations the sales screen opens with. It works on its own
// grid and start pair; only a Yes to "設定終了" writes them to the files.
// Each control's caption, handler and place on the window are its row of
// the form table (frm_settei_form.cpp).
#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/controls.h"
#include "app/module1.h"
#include "app/screen.h"
#include "data/key_layout.h"

namespace kippurun {

class frmSettei : public Screen {
  public:
    // `module` is the shell's Module1; without one the screen keeps a layout
    // of its own.
    // `counterDir` holds the pair the screen reads and saves.
    frmSettei(std::filesystem::path counterDir, Prompt& prompt, Module1* module = nullptr);

    void load() override { Form_Load(); }
    // Closing the window asks what "設定終了" asks.
    void closeByWindow() override { cmdStart_Click(); }

    ComboBox cboHatsu{"cboHatsu"};
    OptionGroup modeGroup;
    OptionButton optEkimei{"optEkimei", modeGroup};
    OptionButton optClear{"optClear", modeGroup};
    Label lblEkimei{"lblEkimei"};
    // "cmdEki00" ... "cmdEki51".
    CommandButton& cmdEki(int k);
    CommandButton cmdAllClear{"cmdAllClear"};
    Label lblHatsu{"lblHatsu"};
    TextBox txtHatsu{"txtHatsu"};
    Label lblArrow{"lblArrow"};
    Label lblChaku{"lblChaku"};
    TextBox txtChaku{"txtChaku"};
    CommandButton cmdStart{"cmdStart"};

    // The working data: cell k holds key k's station number as text or
    // "999"; cells 52-99 "999". The start pair: departure, arrival.
    EkimeiGrid grid;
    std::array<std::string, 2> start;

    Module1& module() { return *module_; }

    // Throws DataFileError when "Start.csv" or "Ekimei1.csv" cannot be used.
    void Form_Load();
    void Eki1Set();
    void cmdEki_Click(int k);
    void cmdAllClear_Click();
    void txtHatsu_Click();
    void txtChaku_Click();
    void cmdStart_Click();

  private:
    void buildForm();

    std::filesystem::path untinDir_;
    // The pair as this screen read it (keySettingsOnDisk).
    std::string onDisk_;
    Prompt& prompt_;
    Module1 ownModule_;
    Module1* module_;
    std::vector<std::unique_ptr<CommandButton>> cmdEki_;
};

}  // namespace kippurun
