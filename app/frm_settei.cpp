// The settings screen's handlers: the load step, the key captions, the two
// modes of a key press, the default stations and the way out with saving.
#include "app/frm_settei.h"

#include <utility>

#include "data/data_file_error.h"
#include "data/folder_transaction.h"
#include "data/key_layout.h"
#include "data/station_catalogue.h"
#include "data/table_file.h"
#include "data/table_files.h"

namespace kippurun {

namespace {

const std::string Unassigned = std::to_string(NotSet);

}  // namespace

frmSettei::frmSettei(std::filesystem::path untinDir, Prompt& prompt, Module1* module)
    : untinDir_(std::move(untinDir)), prompt_(prompt), module_(module ? module : &ownModule_) {
    buildForm();
}

CommandButton& frmSettei::cmdEki(int k) { return *cmdEki_.at(static_cast<std::size_t>(k)); }

void frmSettei::Form_Load() {
    // The pair is read as one whole set; what is read is remembered, to
    // notice another counter's save before overwriting it.
    StartStations stations;
    module().ekimei = readWholeSet({untinDir_}, [&] {
        onDisk_ = keySettingsOnDisk(untinDir_);
        stations = readStartStations(untinDir_, &start);
        return EkimeiLoad(untinDir_);
    });

    for (std::string_view name : stationNames()) cboHatsu.addItem(std::string(name));

    optEkimei.select();

    Eki1Set();

    cboHatsu.setListIndex(stations.arrival);
    txtChaku.text = cboHatsu.text();
    cboHatsu.setListIndex(stations.departure);
    txtHatsu.text = cboHatsu.text();

    grid.fill(Unassigned);
    for (int k = 0; k < StationKeyCount; ++k)
        grid[static_cast<std::size_t>(k)] = std::to_string(module().key(k).station);
}

// An unassigned key shows its number, so that the clerk sees where a
// station will go.
void frmSettei::Eki1Set() {
    captionStationKeys(
        module(), cboHatsu, [this](int k) -> CommandButton& { return cmdEki(k); }, keyNumberText);
}

void frmSettei::cmdEki_Click(int k) {
    std::string& cell = grid[static_cast<std::size_t>(k)];
    if (optEkimei.value()) {
        // No station chosen: nothing to assign.
        if (cboHatsu.listIndex() < 0) return;
        cell = std::to_string(cboHatsu.listIndex());
        cmdEki(k).caption = cboHatsu.text();
    } else {
        cell = Unassigned;
        cmdEki(k).caption = keyNumberText(k);
    }
}

void frmSettei::cmdAllClear_Click() {
    optClear.select();
    for (int k = 0; k < StationKeyCount; ++k) cmdEki_Click(k);
}

void frmSettei::txtHatsu_Click() {
    if (cboHatsu.listIndex() < 0) return;
    txtHatsu.text = cboHatsu.text();
    start[0] = std::to_string(cboHatsu.listIndex());
}

void frmSettei::txtChaku_Click() {
    if (cboHatsu.listIndex() < 0) return;
    txtChaku.text = cboHatsu.text();
    start[1] = std::to_string(cboHatsu.listIndex());
}

void frmSettei::cmdStart_Click() {
    const PromptAnswer answer =
        prompt_.ask("設定終了", "設定を保存しますか？", PromptButtons::YesNoCancel);
    if (answer == PromptAnswer::Cancel) return;
    if (answer == PromptAnswer::Yes) {
        // A save that fails keeps the screen and every edit, and both files
        // as they were, so that the clerk can mend the cause and save again.
        try {
            while (!writeKeySettings(untinDir_, grid, start[0], start[1], &onDisk_)) {
                // Another counter saved since this screen read the files;
                // overwriting its settings is the clerk's choice.
                const std::string files = std::string(KeyLayoutFile.fileName()) + "、" +
                                          std::string(StartStationsFile.fileName());
                if (prompt_.ask("設定終了",
                                "この画面を開いた後に、駅名キーの設定（" + files +
                                    "）がほかの窓口などで書き換えられました。上書きしますか？",
                                PromptButtons::YesNo) != PromptAnswer::Yes)
                    return;
            }
        } catch (const DataFileError& e) {
            prompt_.inform("設定終了", e.what());
            return;
        }
    }
    if (shell_) shell_->openSales();
}

}  // namespace kippurun
