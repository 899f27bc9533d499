// The settings screen on small tables: its load step, the key press in both
// modes, the default stations, and the way back to the sales screen with
// and without saving.
#include <gtest/gtest.h>

#include "app/frm_settei.h"
#include "data/key_layout.h"
#include "tests/support/screen_test.h"

namespace kippurun {
namespace {

using testing::ShellTest;

constexpr int Uwajima = 106, Matsuyama = 67, Kojima = 11, Sakaide = 20;

std::string nines(int lines) {
    std::string out;
    for (int i = 0; i < lines; ++i) out += "999,999,999,999,999,999,999,999,999,999\r\n";
    return out;
}

struct Settings : ShellTest {
    Settings() {
        folder.setKey(0, "0");
        folder.setKey(7, "20.4");  // read as 20
        folder.setKey(51, "67");
        folder.setKey(60, "12");  // beyond the keys: no effect, written back 999
        folder.setStart("11", "0");
        folder.write();
    }
    frmSettei& screen() { return *shell.settingsScreen(); }
    void leave(PromptAnswer answer) {
        prompt.answers.push_back(answer);
        screen().cmdStart.press();
    }
};

TEST(SettingsLoad, KeysStationsAndChooserFromTheFiles) {
    Settings s;
    s.folder.setKey(7, "999");
    s.folder.write();
    frmSettei& screen = s.openSettings();
    EXPECT_EQ(screen.controls().caption, "設定画面");
    EXPECT_EQ(screen.cboHatsu.count(), 107);
    EXPECT_TRUE(screen.optEkimei.value());
    EXPECT_FALSE(screen.optClear.value());
    EXPECT_EQ(screen.cmdEki(0).caption, "岡　　山");
    EXPECT_EQ(screen.cmdEki(51).caption, "松　　山");
    // Unassigned keys show their own number.
    EXPECT_EQ(screen.cmdEki(1).caption, "01");
    EXPECT_EQ(screen.cmdEki(7).caption, "07");
    EXPECT_EQ(screen.cmdEki(50).caption, "50");
    // The chooser starts on the departure, after both boxes were filled.
    EXPECT_EQ(screen.txtHatsu.text, "児　　島");
    EXPECT_EQ(screen.txtChaku.text, "岡　　山");
    EXPECT_EQ(screen.cboHatsu.listIndex(), Kojima);
    EXPECT_EQ(screen.grid[0], "0");
    EXPECT_EQ(screen.grid[7], "999");
    EXPECT_EQ(screen.grid[51], "67");
    EXPECT_EQ(screen.grid[60], "999");
    EXPECT_EQ(screen.start[0], "11");
    EXPECT_EQ(screen.start[1], "0");
    // The shared module holds the layout just read.
    EXPECT_EQ(s.shell.module1().key(51).station, Matsuyama);
}

TEST(SettingsLoad, TheSaleInProgressIsDiscardedAndLeftoversRemoved) {
    Settings s;
    s.folder.write(".Start.csv.Ab3dE9", "left by a killed save");
    s.folder.write("notes.txt", "the office's own");
    s.shell.start();
    frmStart* sales = s.shell.salesScreen();
    sales->txtNinzu.typeText("3");
    sales->cmdSettei.press();
    ASSERT_NE(s.shell.settingsScreen(), nullptr);
    EXPECT_EQ(s.shell.screensOpened(), 2);
    EXPECT_FALSE(std::filesystem::exists(s.folder.file(".Start.csv.Ab3dE9")));
    EXPECT_TRUE(std::filesystem::exists(s.folder.file("notes.txt")));
    s.leave(PromptAnswer::No);
    EXPECT_EQ(s.shell.salesScreen()->txtNinzu.text, "1");
}

TEST(SettingsKeys, APressAssignsOrClearsByTheMode) {
    const struct {
        const char* name;
        bool clearMode;
        int chosen, key;
        const char *cell, *caption;
    } cases[] = {
        {"station to an unassigned key", false, Uwajima, 7, "106", "宇和島"},
        {"station over another station", false, Sakaide, 0, "20", "坂　　出"},
        {"station 0 is a station", false, 0, 3, "0", "岡　　山"},
        {"clear an assigned key", true, Uwajima, 51, "999", "51"},
        {"clear an unassigned key", true, Uwajima, 9, "999", "09"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Settings s;
        frmSettei& screen = s.openSettings();
        screen.cboHatsu.setListIndex(c.chosen);
        if (c.clearMode) screen.optClear.click();
        EkimeiGrid expected = screen.grid;
        expected[static_cast<std::size_t>(c.key)] = c.cell;
        screen.cmdEki(c.key).press();
        EXPECT_EQ(screen.grid, expected);
        EXPECT_EQ(screen.cmdEki(c.key).caption, c.caption);
        // The chooser and the default stations are not touched.
        EXPECT_EQ(screen.cboHatsu.listIndex(), c.chosen);
        EXPECT_EQ(screen.start[0], "11");
        EXPECT_EQ(screen.txtHatsu.text, "児　　島");
    }
}

TEST(SettingsKeys, AllClearStaysInTheClearMode) {
    Settings s;
    frmSettei& screen = s.openSettings();
    screen.cmdAllClear.press();
    EXPECT_TRUE(screen.optClear.value());
    EXPECT_FALSE(screen.optEkimei.value());
    for (int k = 0; k < StationKeyCount; ++k) {
        EXPECT_EQ(screen.grid[k], "999");
        EXPECT_EQ(screen.cmdEki(k).caption, (k < 10 ? "0" : "") + std::to_string(k));
    }
    // Still clearing: a key the clerk meant to assign stays unassigned ...
    screen.cboHatsu.setListIndex(Uwajima);
    screen.cmdEki(7).press();
    EXPECT_EQ(screen.grid[7], "999");
    // ... until "駅名" is chosen again.
    screen.optEkimei.click();
    screen.cmdEki(7).press();
    EXPECT_EQ(screen.grid[7], "106");
    EXPECT_EQ(screen.cmdEki(7).caption, "宇和島");
}

TEST(SettingsDefaults, AClickIntoABoxTakesTheChosenStation) {
    Settings s;
    frmSettei& screen = s.openSettings();
    screen.cboHatsu.setListIndex(Matsuyama);
    screen.txtChaku.click();
    EXPECT_EQ(screen.txtChaku.text, "松　　山");
    EXPECT_EQ(screen.start[1], "67");
    EXPECT_EQ(screen.start[0], "11");
    screen.cboHatsu.setListIndex(Sakaide);
    screen.txtHatsu.click();
    EXPECT_EQ(screen.txtHatsu.text, "坂　　出");
    EXPECT_EQ(screen.start[0], "20");
    EXPECT_EQ(screen.txtChaku.text, "松　　山");
}

TEST(SettingsLeave, TheQuestionAndTheWindowsCloseAskTheSame) {
    Settings s;
    frmSettei& screen = s.openSettings();
    s.prompt.answers = {PromptAnswer::Cancel, PromptAnswer::Cancel};
    screen.cmdStart.press();
    screen.closeByWindow();
    ASSERT_EQ(s.prompt.questions.size(), 2u);
    for (const auto& q : s.prompt.questions) {
        EXPECT_EQ(q.title, "設定終了");
        EXPECT_EQ(q.text, "設定を保存しますか？");
        EXPECT_EQ(q.buttons, PromptButtons::YesNoCancel);
    }
    EXPECT_EQ(s.shell.settingsScreen(), &screen);
}

TEST(SettingsLeave, YesSavesBothFilesAndTheSalesScreenOpensWithThem) {
    Settings s;
    frmSettei& screen = s.openSettings();
    screen.cboHatsu.setListIndex(Uwajima);
    screen.cmdEki(7).press();
    screen.cboHatsu.setListIndex(Matsuyama);
    screen.txtChaku.click();
    s.leave(PromptAnswer::Yes);

    // Value 7 of the first line is 宇和島's number; 52-99 are 999 whatever they held.
    EXPECT_EQ(s.folder.read("Ekimei1.csv"), "0,999,999,999,999,999,999,106,999,999\r\n" + nines(4) +
                                                "999,67,999,999,999,999,999,999,999,999\r\n" +
                                                nines(4));
    EXPECT_EQ(s.folder.read("Start.csv"), "11,67\r\n");

    frmStart* sales = s.shell.salesScreen();
    ASSERT_NE(sales, nullptr);
    EXPECT_EQ(sales->cmdEki(7).caption, "宇和島");
    EXPECT_EQ(sales->cmdEki(51).caption, "松　　山");
    EXPECT_EQ(sales->cmdEki(1).caption, "");
    EXPECT_EQ(sales->cboHatsu.listIndex(), Kojima);
    EXPECT_EQ(sales->cboChaku.listIndex(), Matsuyama);
    EXPECT_EQ(sales->txtChaku.text, "67");
}

TEST(SettingsLeave, AllClearedAndSavedLeavesEverySalesKeyEmpty) {
    Settings s;
    frmSettei& screen = s.openSettings();
    screen.cmdAllClear.press();
    s.leave(PromptAnswer::Yes);
    EXPECT_EQ(s.folder.read("Ekimei1.csv"), nines(10));
    frmStart* sales = s.shell.salesScreen();
    ASSERT_NE(sales, nullptr);
    for (int k = 0; k < StationKeyCount; ++k) EXPECT_EQ(sales->cmdEki(k).caption, "") << k;
}

TEST(SettingsLeave, NoLeavesBothFilesAndCancelKeepsEveryEdit) {
    Settings s;
    frmSettei& screen = s.openSettings();
    const std::string layout = s.folder.read("Ekimei1.csv");
    const std::string start = s.folder.read("Start.csv");
    screen.cboHatsu.setListIndex(Uwajima);
    screen.cmdEki(7).press();
    screen.txtHatsu.click();
    screen.optClear.click();

    s.leave(PromptAnswer::Cancel);
    ASSERT_EQ(s.shell.settingsScreen(), &screen);
    EXPECT_EQ(screen.grid[7], "106");
    EXPECT_EQ(screen.cmdEki(7).caption, "宇和島");
    EXPECT_EQ(screen.txtHatsu.text, "宇和島");
    EXPECT_EQ(screen.start[0], "106");
    EXPECT_TRUE(screen.optClear.value());
    EXPECT_EQ(screen.cboHatsu.listIndex(), Uwajima);

    s.leave(PromptAnswer::No);
    EXPECT_EQ(s.folder.read("Ekimei1.csv"), layout);
    EXPECT_EQ(s.folder.read("Start.csv"), start);
    frmStart* sales = s.shell.salesScreen();
    ASSERT_NE(sales, nullptr);
    EXPECT_EQ(sales->cmdEki(7).caption, "坂　　出");
    EXPECT_EQ(sales->cboHatsu.listIndex(), Kojima);
}

TEST(SettingsLeave, AFailedSaveKeepsTheScreenItsEditsAndBothOldFiles) {
    Settings s;
    frmSettei& screen = s.openSettings();
    const std::string layout = s.folder.read("Ekimei1.csv");
    screen.cboHatsu.setListIndex(Uwajima);
    screen.cmdEki(7).press();
    screen.txtChaku.click();
    // The start file cannot be replaced once the layout file has been.
    s.folder.remove("Start.csv");
    std::filesystem::create_directory(s.folder.file("Start.csv"));

    // The folder in its place is a change since the screen read the files:
    // overwrite it.
    s.prompt.answers.push_back(PromptAnswer::Yes);
    s.leave(PromptAnswer::Yes);
    ASSERT_EQ(s.prompt.messages.size(), 1u);
    EXPECT_EQ(s.prompt.messages[0].first, "設定終了");
    EXPECT_NE(s.prompt.messages[0].second.find("「Start.csv」を保存できません"), std::string::npos);
    EXPECT_NE(s.prompt.messages[0].second.find("フォルダです"), std::string::npos);
    ASSERT_EQ(s.shell.settingsScreen(), &screen);
    EXPECT_EQ(screen.grid[7], "106");
    EXPECT_EQ(screen.start[1], "106");
    EXPECT_EQ(s.folder.read("Ekimei1.csv"), layout);

    // The cause mended, the same edits are saved.
    std::filesystem::remove(s.folder.file("Start.csv"));
    s.prompt.answers.push_back(PromptAnswer::Yes);
    s.leave(PromptAnswer::Yes);
    ASSERT_NE(s.shell.salesScreen(), nullptr);
    EXPECT_EQ(s.folder.read("Start.csv"), "11,106\r\n");
    EXPECT_EQ(s.shell.salesScreen()->cmdEki(7).caption, "宇和島");
    EXPECT_EQ(s.prompt.messages.size(), 1u);
}

// Another counter saved while this screen was open: Yes to saving says so
// and asks before overwriting; No, the default, keeps the screen, its edits
// and the other counter's files.
TEST(SettingsLeave, AnotherCountersSaveIsNotOverwrittenUnasked) {
    Settings s;
    frmSettei& screen = s.openSettings();
    screen.cboHatsu.setListIndex(Uwajima);
    screen.cmdEki(7).press();
    EkimeiGrid theirs;
    theirs.fill("999");
    theirs[3] = "5";
    writeKeySettings(s.folder.path(), theirs, "1", "2");
    const std::string theirLayout = s.folder.read("Ekimei1.csv");

    s.leave(PromptAnswer::Yes);
    ASSERT_EQ(s.prompt.questions.size(), 2u);
    EXPECT_EQ(s.prompt.questions[1].title, "設定終了");
    EXPECT_NE(s.prompt.questions[1].text.find("書き換えられました。上書きしますか？"),
              std::string::npos);
    EXPECT_EQ(s.prompt.questions[1].buttons, PromptButtons::YesNo);
    ASSERT_EQ(s.shell.settingsScreen(), &screen);
    EXPECT_EQ(screen.grid[7], "106");
    EXPECT_EQ(s.folder.read("Ekimei1.csv"), theirLayout);
    EXPECT_EQ(s.folder.read("Start.csv"), "1,2\r\n");

    // Saved again, and the overwrite confirmed.
    writeKeySettings(s.folder.path(), theirs, "3", "4");
    s.prompt.answers.push_back(PromptAnswer::Yes);
    s.leave(PromptAnswer::Yes);
    EXPECT_EQ(s.prompt.questions.size(), 4u);
    ASSERT_NE(s.shell.salesScreen(), nullptr);
    EXPECT_EQ(s.shell.salesScreen()->cmdEki(7).caption, "宇和島");
    EXPECT_EQ(s.shell.salesScreen()->cmdEki(3).caption, "");
    EXPECT_EQ(s.folder.read("Start.csv"), "11,0\r\n");
}

}  // namespace
}  // namespace kippurun
