// The program shell: the open screen, the shared module, screen changes.
#include <gtest/gtest.h>

#include "app/program_shell.h"
#include "tests/support/fakes.h"
#include "tests/support/table_folder.h"

namespace kippurun {
namespace {

using testing::FixedClock;
using testing::RecordingPrompt;
using testing::TableFolder;
using testing::ymd;

struct Shell {
    TableFolder folder;
    FixedClock clock{ymd(2026, 12, 9)};
    RecordingPrompt prompt;
    ProgramShell shell{folder.path(), clock, prompt};
};

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

}  // namespace
}  // namespace kippurun
