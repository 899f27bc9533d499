// The calendar page of the real window, offscreen: the clerk clicks a day
// label and "決定", and the travel date shows in the widgets.
#include <memory>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "app/clock.h"
#include "app/frm_start.h"
#include "app/program_shell.h"
#include "app/qt/main_window.h"
#include "app/qt/window_prompt.h"
#include "tests/support/fakes.h"

using namespace kippurun;

namespace {

struct Window {
    SystemClock clock{Date{std::chrono::year(2026), std::chrono::September, std::chrono::day(21)}};
    testing::RecordingPrompt none;
    SyncedPrompt prompt{none};
    ProgramShell shell{std::filesystem::path(KIPPURUN_SOURCE_DIR) / "Untin", clock, prompt};
    frmStart& screen = (shell.start(), *shell.salesScreen());
    std::unique_ptr<MainWindow> window;

    Window() {
        window = std::make_unique<MainWindow>(shell, prompt);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) qWarning("window not exposed");
    }
    template <class W = QWidget>
    W* get(const char* name) const {
        return qobject_cast<W*>(window->controlWidget(name));
    }
    QString text(const char* name) const {
        auto* edit = get<QLineEdit>(name);
        return edit ? edit->text() : QStringLiteral("<no widget>");
    }
};

}  // namespace

class CalendarWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void opensOnTodayWithItsSeason() {
        Window w;
        QCOMPARE(w.text("txtDate"), QString("令和8年9月21日月曜日"));
        QCOMPARE(w.text("txtTuki"), QString("9"));
        QCOMPARE(w.text("txtNichi"), QString("21"));
        QCOMPARE(w.text("txtSeason"), QString("通常期"));
        QCOMPARE(w.get<QLabel>("lblDay(23)")->text(), QString("22"));
        QCOMPARE(w.get<QLabel>("lblDay(23)")->palette().color(QPalette::WindowText),
                 QColor(255, 0, 0));
        QCOMPARE(w.get<QLabel>("lblDay(27)")->palette().color(QPalette::WindowText),
                 QColor(0, 0, 255));
        QCOMPARE(w.get<QLabel>("lblHi22")->text(), QString("○"));
    }

    void dayClickAndKetteiFixTheDate() {
        Window w;
        QTest::mouseClick(w.get("txtTuki"), Qt::LeftButton);
        QCOMPARE(w.get<QTabWidget>("tabFullKey")->currentIndex(), 2);

        QTest::mouseClick(w.get("cmdYokuGetsu"), Qt::LeftButton);  // October 2026
        QCOMPARE(w.text("txtNangatsu"), QString("10月"));
        QCOMPARE(w.get<QLabel>("lblDay(15)")->text(), QString("12"));
        QTest::mouseClick(w.get("lblHi15"), Qt::LeftButton);  // the sports day
        QCOMPARE(w.get<QLabel>("lblHi15")->text(), QString("○"));
        QCOMPARE(w.text("txtSeason"), QString("通常期"));
        QCOMPARE(w.text("txtDate"), QString("令和8年9月21日月曜日"));

        QTest::mouseClick(w.get("cmdDayKettei"), Qt::LeftButton);
        QCOMPARE(w.text("txtDate"), QString("令和8年10月12日月曜日"));
        QCOMPARE(w.text("txtTuki"), QString("10"));
        QCOMPARE(w.text("txtNichi"), QString("12"));
        QCOMPARE(w.text("txtSeason"), QString("通常期"));

        QTest::mouseClick(w.get("cmdZenGetu"), Qt::LeftButton);  // back to September
        QTest::mouseClick(w.get("lblHi25"), Qt::LeftButton);     // Thursday the 24th
        QTest::mouseClick(w.get("cmdDayKettei"), Qt::LeftButton);
        QCOMPARE(w.text("txtDate"), QString("令和8年9月24日木曜日"));
        QCOMPARE(w.text("txtTuki"), QString("9"));
        QCOMPARE(w.text("txtNichi"), QString("24"));
        QCOMPARE(w.text("txtSeason"), QString("閑散期"));
        QVERIFY(w.get<QLabel>("lblHi15")->text().isEmpty());
    }

    void blankCellClickChangesNothing() {
        Window w;
        QTest::mouseClick(w.get("txtNichi"), Qt::LeftButton);
        QTest::mouseClick(w.get("lblHi0"), Qt::LeftButton);
        QCOMPARE(w.get<QLabel>("lblHi22")->text(), QString("○"));
        QVERIFY(w.get<QLabel>("lblHi0")->text().isEmpty());
        QTest::mouseClick(w.get("cmdDayKettei"), Qt::LeftButton);
        QCOMPARE(w.text("txtDate"), QString("令和8年9月21日月曜日"));
    }
};

QTEST_MAIN(CalendarWindowTest)
#include "calendar_window.moc"
