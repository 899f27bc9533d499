// The program shell: the open screen, the shared module, screen changes.
#include <gtest/gtest.h>

#include "app/program_shell.h"
#include "app/table_prefetch.h"
#include "tests/support/screen_test.h"

namespace kippurun {
namespace {

using Shell = testing::ShellTest;

TEST(ProgramShell, StartOpensTheSalesScreenLoadedOnTheSharedModule) {
    Shell s;
    s.folder.setKey(7, "106");
    s.folder.write();
    s.shell.start();
    frmStart* sales = s.shell.salesScreen();
    ASSERT_NE(sales, nullptr);
    EXPECT_EQ(&s.shell.current(), sales);
    EXPECT_EQ(&s.shell.currentControls(), &sales->controls());
    EXPECT_EQ(&sales->module(), &s.shell.module1());
    EXPECT_EQ(s.shell.module1().key(7).station, 106);  // read by the load step
    EXPECT_EQ(sales->cboChaku.listIndex(), 67);
    EXPECT_EQ(s.shell.screensOpened(), 1);
    EXPECT_FALSE(s.shell.ended());
}

TEST(ProgramShell, ReopeningTheSalesScreenStartsAFreshSaleWithTheFilesAsTheyAreNow) {
    Shell s;
    s.shell.start();
    s.shell.salesScreen()->txtNinzu.typeText("3");
    s.folder.setStart("0", "11");
    s.folder.write();
    s.shell.openSales();
    EXPECT_EQ(s.shell.screensOpened(), 2);
    EXPECT_EQ(s.shell.salesScreen()->txtNinzu.text, "1");
    EXPECT_EQ(s.shell.salesScreen()->cboChaku.listIndex(), 11);
}

TEST(ProgramShell, EndedFollowsTheOpenScreensExitQuestion) {
    Shell s;
    s.shell.start();
    s.prompt.answers = {PromptAnswer::No, PromptAnswer::Yes};
    s.shell.current().closeByWindow();
    EXPECT_FALSE(s.shell.ended());
    s.shell.current().closeByWindow();
    EXPECT_TRUE(s.shell.ended());
    ASSERT_EQ(s.prompt.questions.size(), 2u);
    EXPECT_EQ(s.prompt.questions[1].text, "キップルンを終了しますか？");
}

TEST(ProgramShell, AScreenMayAskForTheChangeFromItsOwnHandler) {
    Shell s;
    s.shell.start();
    // The key's handler runs on the screen being closed; that screen must
    // outlive the handler.
    frmStart* first = s.shell.salesScreen();
    first->cmdSettei.onClick = [&s, first] {
        s.shell.openSales();
        first->txtNinzu.text = "still here";
    };
    first->cmdSettei.press();
    EXPECT_NE(s.shell.salesScreen(), first);
    EXPECT_EQ(s.shell.screensOpened(), 2);
}

// The start reads the first tables on another thread; the first sales screen
// must come out exactly as if it had read them itself, and only the first.
TEST(ProgramShell, TablesReadAheadGiveTheSameScreenAndOnlyOnce) {
    Shell plain;
    plain.folder.set("Otona.csv", 67, 0, "12345");
    plain.folder.write();
    plain.shell.start();

    testing::TableFolder folder;
    folder.set("Otona.csv", 67, 0, "12345");
    folder.write();
    testing::FixedClock clock{
        Date{std::chrono::year(2026), std::chrono::month(12), std::chrono::day(9)}};
    testing::RecordingPrompt prompt;
    TablePrefetch ahead(folder.path());
    int asked = 0;
    ProgramShell shell(folder.path(), clock, prompt, [&] {
        ++asked;
        return ahead.take();
    });
    shell.start();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(testing::snapshot(*shell.salesScreen()),
              testing::snapshot(*plain.shell.salesScreen()));
    EXPECT_EQ(shell.salesScreen()->tables.Otona.at(67, 0), "12345");
    EXPECT_EQ(ahead.take(), std::nullopt);  // taken

    // A release reads the folder as it is by then.
    folder.setStart("0", "11");
    folder.write();
    shell.openSales();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(shell.salesScreen()->cboChaku.listIndex(), 11);
}

TEST(ProgramShell, TablesReadAheadFailAsTheLoadStepWould) {
    testing::TableFolder folder;
    folder.write();
    folder.write("KHan.csv", "1,2\r\n");  // a table of the wrong size
    std::string plainFailure, aheadFailure;
    try {
        static_cast<void>(readCounterSet(folder.path()));
    } catch (const DataFileError& e) {
        plainFailure = e.what();
    }
    TablePrefetch ahead(folder.path());
    testing::FixedClock clock{
        Date{std::chrono::year(2026), std::chrono::month(12), std::chrono::day(9)}};
    testing::RecordingPrompt prompt;
    ProgramShell shell(folder.path(), clock, prompt, [&] { return ahead.take(); });
    try {
        shell.start();
    } catch (const DataFileError& e) {
        aheadFailure = e.what();
    }
    EXPECT_FALSE(plainFailure.empty());
    EXPECT_EQ(aheadFailure, plainFailure);
}

}  // namespace
}  // namespace kippurun
