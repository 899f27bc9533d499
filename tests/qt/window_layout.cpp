// The sales screen's form table as the window lays it out: containers come
// first, and no two controls of one container cover each other except where
// the screen means them to.
#include <algorithm>
#include <map>
#include <set>

#include <QTest>

#include "app/clock.h"
#include "app/frm_start.h"
#include "app/qt/window_layout.h"
#include "tests/support/fakes.h"

using namespace kippurun;

namespace {

// The form of a sales screen that has not loaded any table.
struct SalesForm {
    testing::FixedClock clock{
        Date{std::chrono::year(2026), std::chrono::December, std::chrono::day(9)}};
    testing::RecordingPrompt prompt;
    frmStart screen{"/nonexistent-untin", clock, prompt};
    const ControlRegistry& form = screen.controls();
};

int overlap(int a0, int a1, int b0, int b1) { return std::min(a1, b1) - std::max(a0, b0); }

std::string where(const Placement& p) { return p.container + "/" + std::to_string(p.page); }

// Cells on their pitch share one pixel's edge; a day mark lies exactly over
// its cell; the white strip lies behind the weekday header.
bool meantToOverlap(const Placement& a, const Placement& b, int across, int down) {
    if (across <= TwipsPerPixel || down <= TwipsPerPixel) return true;
    if (a.name == "Label1" || b.name == "Label1") return true;
    auto isPair = [](const std::string& day, const std::string& mark) {
        return day.rfind("lblDay(", 0) == 0 && mark == "lblHi" + day.substr(7, day.size() - 8);
    };
    return isPair(a.name, b.name) || isPair(b.name, a.name);
}

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT
  private slots:
    void namesAreUniqueAndContainersComeFirst() {
        SalesForm s;
        std::set<std::string> seen;
        for (const Placement& p : s.form.layout()) {
            QVERIFY2(seen.insert(p.name).second, p.name.c_str());
            if (!p.container.empty()) QVERIFY2(seen.count(p.container), p.name.c_str());
            QVERIFY2((p.container == "tabFullKey") == (p.page >= 0 && p.page <= 3), p.name.c_str());
            QCOMPARE(s.form.placement(*s.form.find(p.name)), &p);
        }
        QCOMPARE(s.form.placement(s.screen.txtYear), nullptr);
        QCOMPARE(s.form.placement(s.screen.optHatsu1), nullptr);
    }

    void wholePixelsInsideTheForm() {
        SalesForm s;
        for (const Placement& p : s.form.layout()) {
            const Geometry& g = p.geometry;
            for (int v : {g.left, g.top, g.width, g.height})
                QVERIFY2(v % TwipsPerPixel == 0, p.name.c_str());
            QVERIFY2(g.width > 0 && g.height > 0, p.name.c_str());
            if (p.container.empty())
                QVERIFY2(g.left + g.width <= s.form.width && g.top + g.height <= s.form.height,
                         p.name.c_str());
        }
    }

    void noControlCoversAnother() {
        SalesForm s;
        std::map<std::string, std::vector<const Placement*>> byContainer;
        for (const Placement& p : s.form.layout()) byContainer[where(p)].push_back(&p);
        for (const auto& [container, members] : byContainer) {
            for (std::size_t i = 0; i < members.size(); ++i) {
                for (std::size_t j = i + 1; j < members.size(); ++j) {
                    const Geometry& a = members[i]->geometry;
                    const Geometry& b = members[j]->geometry;
                    const int across = overlap(a.left, a.left + a.width, b.left, b.left + b.width);
                    const int down = overlap(a.top, a.top + a.height, b.top, b.top + b.height);
                    if (across <= 0 || down <= 0) continue;
                    const std::string pair = members[i]->name + " / " + members[j]->name;
                    QVERIFY2(meantToOverlap(*members[i], *members[j], across, down), pair.c_str());
                }
            }
        }
    }
};

QTEST_APPLESS_MAIN(WindowLayoutTest)
#include "window_layout.moc"
