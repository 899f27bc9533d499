// The sales window over the real screen model and the sample tables, driven
// through its widgets as a clerk would.
#include <deque>
#include <memory>
#include <set>

#include <QComboBox>
#include <QDate>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "app/clock.h"
#include "app/frm_start.h"
#include "app/program_shell.h"
#include "app/qt/main_window.h"
#include "app/qt/window_prompt.h"
#include "data/data_file_error.h"
#include "data/number_reading.h"
#include "data/station_catalogue.h"
#include "tests/qt/program_window.h"
#include "tests/support/fakes.h"

using namespace kippurun;

namespace {

// Typed characters, Japanese ones included (QTest::keyClicks takes ASCII only).
void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

constexpr Date FixedToday{std::chrono::year(2026), std::chrono::December, std::chrono::day(9)};

struct Window : testing::ProgramWindow {
    frmStart& screen;

    explicit Window(Date today = FixedToday, bool messageBoxes = false)
        : ProgramWindow(testing::SampleTables, today, messageBoxes), screen(*shell.salesScreen()) {}
    // The clerk brings a page of the key pad to the front.
    void page(int n) const {
        QTabBar* bar = get<QTabWidget>("tabFullKey")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(n).center());
    }
    // The clerk clicks into a drop-down and closes its list again.
    void enterList(const char* name) const {
        click(name);
        if (QWidget* popup = QApplication::activePopupWidget())
            QTest::keyClick(popup, Qt::Key_Escape);
    }
    bool shown(const char* name) const { return !get(name)->isHidden(); }
    // The one-way adult fare of the default stations, as the table stores it.
    std::string oneWayAdultFare() const {
        return std::string(
            screen.tables.Otona.at(screen.cboChaku.listIndex(), screen.cboHatsu.listIndex()));
    }
};

QString q(const std::string& s) { return QString::fromStdString(s); }

// Controls that only hold state and have no widget.
const std::set<std::string> StateHolders = {
    "txtHatsu",  "txtChaku",  "txthatsu2", "txtChaku2", "txtHatsu4",  "txtChaku4",  "txtFocus",
    "txtYear",   "txtMonth",  "txtDay",    "txtWeek",   "optRyokin1", "optRyokin2", "optHatsu1",
    "optHatsu2", "optHatsu3", "optHatsu4", "optChaku1", "optChaku2",  "optChaku3",  "optChaku4"};

// The width a widget has for its text, by the style's own measure.
int roomForText(QWidget* w) {
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.rect = edit->rect();
        option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
        const QRect contents =
            edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
        const QMargins margins = edit->textMargins();
        return contents.width() - margins.left() - margins.right() - 2 * 2;  // Qt's inner margin
    }
    if (auto* key = qobject_cast<QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(key);
        option.rect = key->rect();
        return key->style()->subElementRect(QStyle::SE_PushButtonContents, &option, key).width();
    }
    return w->contentsRect().width();
}

QString shownText(QWidget* w) {
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return edit->text();
    if (auto* key = qobject_cast<QPushButton*>(w)) return key->text();
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    return {};
}

bool widgetFits(ControlKind kind, QWidget* w) {
    switch (kind) {
        case ControlKind::Key:
            return qobject_cast<QPushButton*>(w);
        case ControlKind::DropDown:
            return qobject_cast<QComboBox*>(w) && !qobject_cast<QComboBox*>(w)->isEditable();
        case ControlKind::TextBox:
            return qobject_cast<QLineEdit*>(w);
        case ControlKind::Label:
            return qobject_cast<QLabel*>(w);
        case ControlKind::Frame:
            return qobject_cast<QGroupBox*>(w);
        case ControlKind::Picture:
            return qobject_cast<QFrame*>(w);
        case ControlKind::Tab:
            return qobject_cast<QTabWidget*>(w);
        case ControlKind::Option:
            return false;
    }
    return false;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void everyShownControlHasItsWidget() {
        Window w;
        QVERIFY(w.window->view().unknownNames().empty());
        for (Control* control : w.screen.controls().all()) {
            const QString name = q(control->name());
            QWidget* widget = w.window->controlWidget(control->name());
            if (StateHolders.count(control->name())) {
                QVERIFY2(!widget, qPrintable(name));
                continue;
            }
            QVERIFY2(widget, qPrintable(name));
            QCOMPARE(widget->objectName(), name);
            QVERIFY2(widgetFits(control->kind(), widget), qPrintable(name));
            QCOMPARE(w.window->findChild<QWidget*>(name), widget);
            QVERIFY2(widget->isHidden() != control->visible, qPrintable(name));
        }
    }

    void windowAsTheClerkSeesIt() {
        Window w;
        QCOMPARE(w.window->windowTitle(), QString("キップルン"));
        auto* tabs = w.get<QTabWidget>("tabFullKey");
        QCOMPARE(tabs->count(), 4);
        const char* const pages[] = {"フルキー", "駅名", "カレンダー", "明細"};
        for (int i = 0; i < 4; ++i) QCOMPARE(tabs->tabText(i), QString(pages[i]));
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(w.get<QPushButton>("cmdJikkou")->text(), QString("実 行"));
        QVERIFY(w.get("frameRyokin")->isHidden());
        QVERIFY(w.get("txtNinzuG")->isHidden());
        QCOMPARE(w.get("txtJoryouken")->palette().color(QPalette::Base), QColor(192, 255, 192));
        QVERIFY(w.get<QPushButton>("cmdGaku")->font().bold());
        QVERIFY(w.get<QLabel>("lblOtona")->font().bold());
        QVERIFY(!w.get("cboKenshu")->font().bold());
        const QString face = QFontInfo(w.get("cmdJikkou")->font()).family();
        QVERIFY2(face == "ＭＳ Ｐゴシック" || face == "MS PGothic" || face == "Noto Sans CJK JP",
                 qPrintable(face));
        QVERIFY(w.get<QLineEdit>("txtSho01")->alignment() & Qt::AlignRight);
        QVERIFY(w.get<QLineEdit>("txtBill")->alignment() & Qt::AlignRight);
        QVERIFY(w.get<QLineEdit>("txtSeason")->alignment() & Qt::AlignHCenter);
        QCOMPARE(w.get<QLabel>("lblDay(0)")->font().pointSize(), 15);
    }

    // Every widget stands where its row puts it: inside its container's
    // widget (a tab control's page for a control on a page), at its
    // row's twips in pixels. A row moved in the form moves its widget, whatever
    // the numbers; a view that drops or misconverts a row fails here.
    void everyWidgetWhereItsRowPutsIt() {
        Window w;
        auto* tabs = w.get<QTabWidget>("tabFullKey");
        int checked = 0;
        for (const Placement& p : w.screen.controls().layout()) {
            QWidget* widget = w.get(p.name.c_str());
            QWidget* container = w.window.get();
            if (p.container == "tabFullKey")
                container = tabs->widget(p.page);
            else if (!p.container.empty())
                container = w.get(p.container.c_str());
            QVERIFY2(widget->parentWidget() == container, p.name.c_str());
            // The row's geometry; a picture box's height is the screen's
            // once it set one (the calendar's follows the month).
            Geometry g = p.geometry;
            if (const Control* c = w.screen.controls().find(p.name);
                c->kind() == ControlKind::Picture && c->geometry.height > 0)
                g.height = c->geometry.height;
            const QRect expected(g.left / TwipsPerPixel, g.top / TwipsPerPixel,
                                 g.width / TwipsPerPixel, g.height / TwipsPerPixel);
            QVERIFY2(widget->geometry() == expected,
                     qPrintable(q(p.name) + QStringLiteral(": ") +
                                QString::number(widget->geometry().x()) + "," +
                                QString::number(widget->geometry().y())));
            ++checked;
        }
        QVERIFY(checked > 100);
    }

    void keyPadsOnTheirPitch() {
        Window w;
        // Position n = 4 (row - 1) + column; 1080 across, 360 down, 1095 x 375.
        const QRect today = w.get("cmdToday")->geometry();
        QCOMPARE(today.size() * 15, QSize(1095, 375));
        QCOMPARE(w.get("cmdAsatte")->geometry().topLeft() - today.topLeft(), QPoint(144, 0));
        QCOMPARE(w.get("cmdGaku")->geometry().topLeft() - today.topLeft(), QPoint(0, 7 * 24));
        QCOMPARE(w.get("cmdFull52")->geometry().topLeft() - today.topLeft(),
                 QPoint(3 * 72, 12 * 24));
        QCOMPARE(w.get("cmdEki51")->geometry(), w.get("cmdFull52")->geometry());
        auto* tabs = w.get<QTabWidget>("tabFullKey");
        QCOMPARE(w.get("cmdToday")->parentWidget(), tabs->widget(0));
        QCOMPARE(w.get("cmdEki00")->parentWidget(), tabs->widget(1));
        QCOMPARE(w.get("picCalender")->parentWidget(), tabs->widget(2));
        QCOMPARE(w.get("txtBill")->parentWidget(), w.window.get());
        QCOMPARE(w.get("txtTan32")->parentWidget(), tabs->widget(3));
    }

    void everyWidgetFitsInsideItsContainer() {
        Window w;
        // On the page sizes Qt gives the tab widget, which lays out the page
        // in front only. The calendar's sixth row is cut off by design while
        // the picture box is short.
        auto* tabs = w.get<QTabWidget>("tabFullKey");
        for (int page = 0; page < 4; ++page) {
            QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                              tabs->tabBar()->tabRect(page).center());
            QCOMPARE(tabs->currentIndex(), page);
            for (const Placement& p : w.screen.controls().layout()) {
                QWidget* widget = w.get(p.name.c_str());
                bool elsewhere = false;
                for (int other = 0; other < 4; ++other)
                    elsewhere |= other != page && tabs->widget(other)->isAncestorOf(widget);
                if (elsewhere) continue;
                QRect inside = widget->parentWidget()->rect();
                if (p.container == "picCalender") inside.setHeight(3495 / TwipsPerPixel);
                QVERIFY2(inside.contains(widget->geometry()), p.name.c_str());
            }
        }
    }

    void noTextIsCutOff_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<double>("scale");
        QTest::newRow("two-digit era year, month and day") << QDate(2028, 12, 31) << 1.0;
        QTest::newRow("first year of an era") << QDate(2019, 11, 30) << 1.0;
        QTest::newRow("one-digit day") << QDate(2026, 12, 9) << 1.0;
        QTest::newRow("longest date at 1.3x") << QDate(2028, 12, 31) << 1.3;
        QTest::newRow("longest date at 1.5x") << QDate(2028, 12, 31) << 1.5;
        QTest::newRow("longest date at 2x") << QDate(2028, 12, 31) << 2.0;
        QTest::newRow("longest date at 2.7x") << QDate(2028, 12, 31) << 2.7;
    }
    void noTextIsCutOff() {
        QFETCH(QDate, today);
        QFETCH(double, scale);
        Window w(Date{std::chrono::year(today.year()), std::chrono::month(unsigned(today.month())),
                      std::chrono::day(unsigned(today.day()))});
        w.window->resize(QSize(713, 497) * scale);
        QVERIFY(qAbs(w.get("cmdJikkou")->height() - 25 * scale) <= 1);
        w.click("cmdJikkou");  // the bill filled too
        for (const Placement& p : w.screen.controls().layout()) {
            QWidget* widget = w.get(p.name.c_str());
            const QString text = shownText(widget);
            if (text.isEmpty()) continue;
            const int needed = QFontMetrics(widget->font()).horizontalAdvance(text);
            QVERIFY2(needed <= roomForText(widget), qPrintable(QString("%1 \"%2\": %3 px in %4")
                                                                   .arg(q(p.name), text)
                                                                   .arg(needed)
                                                                   .arg(roomForText(widget))));
        }
    }

    void dayMarksLieOverTheirCells() {
        Window w;
        for (int k : {0, 6, 20, 34}) {  // rows 1-5: the calendar may hide row 6
            QWidget* day = w.get(qPrintable(QString("lblDay(%1)").arg(k)));
            QWidget* mark = w.get(qPrintable(QString("lblHi%1").arg(k)));
            QCOMPARE(mark->geometry(), day->geometry());
            QCOMPARE(mark->parentWidget(), w.get("picCalender"));
            // Above the cell, so that it takes the click.
            QCOMPARE(mark->parentWidget()->childAt(day->geometry().center()), mark);
        }
    }

    void executeShowsTheBill() {
        Window w;
        const std::string fare = w.oneWayAdultFare();
        QVERIFY(readLenient(fare) > 0);
        w.click("cmdJikkou");
        QCOMPARE(w.get<QTabWidget>("tabFullKey")->currentIndex(), 3);
        QCOMPARE(w.get<QLabel>("lblKenshuM(0)")->text(), QString("片道乗車券"));
        QCOMPARE(w.text("txtTan01"), q(fare));
        QCOMPARE(w.text("txtNin01"), QString("1"));
        QCOMPARE(w.text("txtSho01"), q(formatPlain(readLenient(fare))));
        QCOMPARE(w.text("txtBill"), q(formatTotal(readLenient(fare))));
        QVERIFY(!w.get("txtTan01")->isHidden());
        for (const char* hidden : {"txtTan02", "txtSho03", "lbl02", "lbl21", "txtTan31"})
            QVERIFY2(w.get(hidden)->isHidden(), hidden);
        QVERIFY(w.fake.questions.empty());
    }

    void returnForTwoAdultsThroughTheWidgets() {
        Window w;
        int listFocus = 0;
        auto gotFocus = w.screen.cboKenshu.onGotFocus;
        w.screen.cboKenshu.onGotFocus = [&] {
            ++listFocus;
            if (gotFocus) gotFocus();
        };
        auto* kind = w.get<QComboBox>("cboKenshu");
        QTest::mouseClick(kind, Qt::LeftButton);  // focus, and the list opens
        if (QWidget* popup = QApplication::activePopupWidget())
            QTest::keyClick(popup, Qt::Key_Escape);
        QTest::keyClick(kind, Qt::Key_Down);  // a choice: 往復乗車券
        QCOMPARE(listFocus, 1);
        QCOMPARE(w.screen.cboKenshu.listIndex(), 1);
        QCOMPARE(kind->currentText(), QString("往復乗車券"));

        w.click("txtNinzu");
        QTest::keyClick(w.get("txtNinzu"), Qt::Key_A, Qt::ControlModifier);
        typeText(w.get("txtNinzu"), QStringLiteral("2"));
        QCOMPARE(w.screen.txtNinzu.text, std::string("2"));

        w.click("cmdJikkou");
        const double fare = readLenient(w.oneWayAdultFare());
        QCOMPARE(w.text("txtTan01"), q(formatPlain(2 * fare)));
        QCOMPARE(w.text("txtNin01"), QString("2"));
        QCOMPARE(w.text("txtSho01"), q(formatPlain(4 * fare)));
        QCOMPARE(w.text("txtBill"), q(formatTotal(4 * fare)));
        QCOMPARE(w.get<QLabel>("lblKenshuM(0)")->text(), QString("往復乗車券"));
    }

    void bringingPageZeroForwardEmptiesTheTotal() {
        Window w;
        w.click("cmdJikkou");
        QVERIFY(!w.text("txtBill").isEmpty());
        QTabBar* bar = w.get<QTabWidget>("tabFullKey")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
        QCOMPARE(w.screen.tabFullKey.tab(), 0);
        QCOMPARE(w.get<QTabWidget>("tabFullKey")->currentIndex(), 0);
        QCOMPARE(w.text("txtBill"), QString());
        QCOMPARE(w.text("txtTan01"), q(w.oneWayAdultFare()));  // the lines stay
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(3).center());
        QCOMPARE(w.text("txtBill"), QString());  // not back before the next run
    }

    void exitKeysAsk_data() {
        QTest::addColumn<QString>("key");
        QTest::newRow("終了") << "cmdExit(0)";
        QTest::newRow("empty in row 1") << "cmdExit(5)";
        QTest::newRow("empty in row 2") << "cmdExit(10)";
    }
    void exitKeysAsk() {
        QFETCH(QString, key);
        Window w;
        QSignalSpy ended(w.window.get(), &MainWindow::programEnded);
        w.click("cmdJikkou");
        w.fake.answers = {PromptAnswer::No};
        w.click(qPrintable(key));
        QCOMPARE(int(w.fake.questions.size()), 1);
        QCOMPARE(w.fake.questions[0].title, std::string("終了"));
        QCOMPARE(w.fake.questions[0].text, std::string("キップルンを終了しますか？"));
        QVERIFY(w.fake.questions[0].buttons == PromptButtons::YesNo);
        QVERIFY(w.window->isVisible());
        QCOMPARE(ended.count(), 0);
        QCOMPARE(w.text("txtTan01"), q(w.oneWayAdultFare()));  // the entry untouched

        w.fake.answers = {PromptAnswer::Yes};
        w.click(qPrintable(key));
        QCOMPARE(ended.count(), 1);
        QVERIFY(!w.window->isVisible());
    }

    void closingTheWindowAsksTheSameQuestion() {
        Window w;
        QSignalSpy ended(w.window.get(), &MainWindow::programEnded);
        w.fake.answers = {PromptAnswer::No};
        QVERIFY(!w.window->close());
        QCOMPARE(int(w.fake.questions.size()), 1);
        QCOMPARE(w.fake.questions[0].text, std::string("キップルンを終了しますか？"));
        QVERIFY(w.window->isVisible());
        w.fake.answers = {PromptAnswer::Yes};
        QVERIFY(w.window->close());
        QCOMPARE(ended.count(), 1);
        QCOMPARE(int(w.fake.questions.size()), 2);
    }

    void questionShowsTheCurrentScreen() {
        Window w;
        QString seen;
        w.fake.whileAsking = [&] { seen = w.text("txtNinzuK"); };
        w.screen.txtNinzuK.text = "3";  // changed by the program, not yet shown
        w.fake.answers = {PromptAnswer::No};
        w.click("cmdExit(0)");
        QCOMPARE(seen, QString("3"));
    }

    void countBoxesTakeDigitsOnly() {
        Window w;
        for (const char* name : {"txtNinzu", "txtNinzuK"}) {
            w.click(name);
            QTest::keyClick(w.get(name), Qt::Key_A, Qt::ControlModifier);
            typeText(w.get(name), QStringLiteral("a1b２2-"));
            QCOMPARE(w.text(name), QString("12"));
        }
        QCOMPARE(w.screen.txtNinzu.text, std::string("12"));
        QCOMPARE(w.screen.txtNinzuK.text, std::string("12"));
    }

    void countBoxesTakeFourDigitsAtMost() {
        Window w;
        w.click("txtNinzu");
        QTest::keyClick(w.get("txtNinzu"), Qt::Key_A, Qt::ControlModifier);
        typeText(w.get("txtNinzu"), QStringLiteral("123456"));
        QCOMPARE(w.screen.txtNinzu.text, std::string("1234"));
    }

    void displayBoxesTakeNoTyping() {
        Window w;
        for (const char* name : {"txtSeason", "txtBill", "txtDate", "txtJoryouken"}) {
            auto* box = static_cast<TextBox*>(w.screen.controls().find(name));
            const std::string before = box->text;
            typeText(w.get(name), QStringLiteral("999"));
            QCOMPARE(box->text, before);
            QCOMPARE(w.text(name), q(before));
        }
    }

    void questionsAreMessageBoxes_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("press");
        QTest::addColumn<int>("answer");
        const int yesNo = int(PromptButtons::YesNo), all = int(PromptButtons::YesNoCancel);
        QTest::newRow("yes") << yesNo << "はい(&Y)" << int(PromptAnswer::Yes);
        QTest::newRow("no") << yesNo << "いいえ(&N)" << int(PromptAnswer::No);
        QTest::newRow("escape on yes/no") << yesNo << "" << int(PromptAnswer::No);
        QTest::newRow("cancel") << all << "キャンセル" << int(PromptAnswer::Cancel);
        QTest::newRow("escape on yes/no/cancel") << all << "" << int(PromptAnswer::Cancel);
    }
    void questionsAreMessageBoxes() {
        QFETCH(int, buttons);
        QFETCH(QString, press);
        QFETCH(int, answer);
        MessageBoxPrompt prompt;
        QString title, text, shown;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            for (QAbstractButton* b : box->buttons()) shown += b->text() + "|";
            QAbstractButton* chosen = nullptr;
            for (QAbstractButton* b : box->buttons())
                if (b->text() == press) chosen = b;
            if (chosen)
                chosen->click();
            else
                QTest::keyClick(box, Qt::Key_Escape);
        });
        const PromptAnswer got =
            prompt.ask("終了", "キップルンを終了しますか？", PromptButtons(buttons));
        QCOMPARE(int(got), answer);
        QCOMPARE(title, QString("終了"));
        QCOMPARE(text, QString("キップルンを終了しますか？"));
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(shown.count('|'), buttons == int(PromptButtons::YesNo) ? 2 : 3);
    }

    void anotherScreenReplacesTheWidgets() {
        Window w;
        typeText(w.get("txtNinzu"), "3");
        QPointer<QWidget> oldKey = w.get("cmdSettei");
        frmStart* first = &w.screen;
        first->cmdSettei.onClick = [&w] { w.shell.openSales(); };
        w.click("cmdSettei");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(oldKey.isNull());  // the closed screen's widgets are gone
        frmStart* now = w.shell.salesScreen();
        QVERIFY(now != first);
        QCOMPARE(w.window->windowTitle(), QString("キップルン"));
        QCOMPARE(w.text("txtNinzu"), QString("1"));  // a fresh sale
        QVERIFY(w.get("cmdSettei")->isVisible());
        QCOMPARE(w.get("txtBill")->parentWidget(), w.window.get());
        w.click("cmdJikkou");  // the widgets now reach the new screen
        QVERIFY(!now->txtBill.text.empty());
        QCOMPARE(w.text("txtBill"), q(now->txtBill.text));
        QVERIFY(first->txtBill.text.empty());
    }

    void failingHandlerEndsWithoutQuestion() {
        Window w;
        QSignalSpy fatal(w.window.get(), &MainWindow::fatalError);
        w.screen.cmdSettei.onClick = [] {
            throw DataFileError(DataFileError::Kind::FileNotFound, "Otona.csv",
                                "Otona.csv が見つかりません");
        };
        w.click("cmdSettei");
        QCOMPARE(fatal.count(), 1);
        QCOMPARE(fatal.at(0).at(0).toString(), QString("Otona.csv が見つかりません"));
        QVERIFY(!w.window->isVisible());
        QVERIFY(w.fake.questions.empty());
        w.get<QPushButton>("cmdJikkou")->click();  // nothing runs on a failed screen
        QCOMPARE(w.screen.txtBill.text, std::string());
    }
    void stationKeysShowTheirStations() {
        Window w;
        w.page(1);
        for (int k = 0; k < StationKeyCount; ++k) {
            const QString name = QString("cmdEki%1").arg(k, 2, 10, QChar('0'));
            auto* key = w.get<QPushButton>(qPrintable(name));
            const StationKeyEntry& entry = w.screen.module().key(k);
            const QString station =
                entry.station == NotSet ? QString() : q(std::string(*stationName(entry.station)));
            QCOMPARE(key->text(), station);
            QVERIFY2(key->isVisible(), qPrintable(name));
        }
        // The sample layout puts 松山 on key 17.
        QCOMPARE(w.get<QPushButton>("cmdEki17")->text(), QString("松　　山"));
    }

    // The typical sale: the arrival list entered, the key "松　　山", "往 復",
    // "指特急" with No to the change at 松山 in a real message box,
    // "大人２", "明 日", "実 行".
    void mainRoadThroughTheWidgets() {
        Window w(FixedToday, true);
        w.click("cmdJikkou");
        w.enterList("cboChaku");
        QCOMPARE(w.text("txtBill"), QString());  // entering a list empties the bill
        w.page(1);
        w.click("cmdEki17");
        QCOMPARE(w.get<QComboBox>("cboChaku")->currentText(), QString("松　　山"));
        QCOMPARE(w.get<QComboBox>("cboHatsu")->currentText(), QString("岡　　山"));

        w.page(0);
        w.click("cmdOfuku");
        QCOMPARE(w.get<QComboBox>("cboKenshu")->currentText(), QString("往復乗車券"));

        QString title, question, typeWhileAsked;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            title = box->windowTitle();
            question = box->text();
            typeWhileAsked = w.get<QComboBox>("cboKenshu3")->currentText();
            for (QAbstractButton* b : box->buttons())
                if (box->buttonRole(b) == QMessageBox::NoRole) b->click();
        });
        w.click("cmdShiToku");
        QCOMPARE(title, QString("乗継判定"));
        QCOMPARE(question, QString("松山乗換えですか？"));
        QCOMPARE(typeWhileAsked, QString("指定席特急券"));  // the window is in step
        QVERIFY(w.shown("frameRyokin"));
        QVERIFY(!w.shown("frameRyokin2"));
        QCOMPARE(w.get<QComboBox>("cboHatsu3")->currentText(), QString("岡　　山"));
        QCOMPARE(w.get<QComboBox>("cboChaku3")->currentText(), QString("松　　山"));

        w.click("cmdO2");
        QCOMPARE(w.text("txtNinzu"), QString("2"));
        w.click("cmdTomorrow");
        QCOMPARE(w.text("txtDate"), QString("令和8年12月10日木曜日"));
        const QString season = w.text("txtSeason");
        QCOMPARE(season, QString("閑散期"));  // a Thursday before the 21st
        w.click("cmdJikkou");

        const FareTables& t = w.screen.tables;
        const double fare = readLenient(t.Otona.at(67, 0));
        const double charge = readLenient(t.Kansan.at(17, 0));
        QVERIFY(fare > 0 && charge > 0);
        QCOMPARE(w.get<QTabWidget>("tabFullKey")->currentIndex(), 3);
        QCOMPARE(w.get<QLabel>("lblKenshuM(0)")->text(), QString("往復乗車券"));
        QCOMPARE(w.text("txtTan01"), q(formatPlain(2 * fare)));
        QCOMPARE(w.text("txtNin01"), QString("2"));
        QCOMPARE(w.text("txtSho01"), q(formatPlain(4 * fare)));
        QCOMPARE(w.get<QLabel>("lblKenshuM(1)")->text(), "指定席(" + season + ")");
        QCOMPARE(w.text("txtTan21"), q(formatPlain(2 * charge)));
        QCOMPARE(w.text("txtNin21"), QString("2"));
        QCOMPARE(w.text("txtSho21"), q(formatPlain(4 * charge)));
        QCOMPARE(w.text("txtBill"), q(formatTotal(4 * fare + 4 * charge)));
        for (const char* line : {"txtTan01", "txtTan21", "lbl21"})
            QVERIFY2(w.get(line)->isVisible(), line);
        for (const char* line : {"txtTan02", "txtTan03", "txtTan22", "lbl22", "lblKenshuM(2)"})
            QVERIFY2(w.get(line)->isHidden(), line);
    }

    void sectionsFollowTheHandlers() {
        Window w;
        const char* const section2[] = {"cboHatsu2", "cboChaku2", "lblKukan1(1)", "lblArrow(1)"};
        w.click("cmdRenzoku");
        for (const char* name : section2) QVERIFY2(w.shown(name), name);
        QCOMPARE(w.get<QComboBox>("cboHatsu2")->count(), 107);
        QVERIFY(w.shown("frameRyokin2"));
        // Journey section 2 by the station keys: 岡山 -> 松山 -> 宇和島.
        w.enterList("cboHatsu2");
        w.page(1);
        w.click("cmdEki17");
        w.enterList("cboChaku2");
        w.page(1);
        w.click("cmdEki25");
        QCOMPARE(w.get<QComboBox>("cboHatsu2")->currentText(), QString("松　　山"));
        QCOMPARE(w.get<QComboBox>("cboChaku2")->currentText(), QString("宇和島"));
        QCOMPARE(w.get<QComboBox>("cboHatsu4")->currentText(), QString("松　　山"));
        QCOMPARE(w.get<QComboBox>("cboChaku4")->currentText(), QString("宇和島"));
        w.page(0);
        w.click("cmdKatamichi");
        for (const char* name : section2) QVERIFY2(!w.shown(name), name);
        QCOMPARE(w.get<QComboBox>("cboHatsu2")->count(), 0);
        QVERIFY(!w.shown("frameRyokin2"));  // 岡山 -> 松山 needs one charge section
    }

    void chargeFramesFollowTheHandlers() {
        Window w;
        QVERIFY(!w.shown("frameRyokin"));
        w.fake.answers = {PromptAnswer::No};
        w.click("cmdJitoku");
        QVERIFY(w.shown("frameRyokin"));
        QVERIFY(!w.shown("frameRyokin2"));
        QCOMPARE(int(w.fake.questions.size()), 1);
        // To 宇和島 the question comes again; Yes opens charge section 2 from 松山.
        w.enterList("cboChaku");
        w.page(1);
        w.fake.answers = {PromptAnswer::Yes};
        w.click("cmdEki25");
        QCOMPARE(int(w.fake.questions.size()), 2);
        QCOMPARE(w.fake.questions[1].text, std::string("松山乗換えですか？"));
        QVERIFY(w.shown("frameRyokin2"));
        QCOMPARE(w.get<QComboBox>("cboKenshu4")->currentText(), QString("自由席特急券"));
        QCOMPARE(w.get<QComboBox>("cboHatsu4")->currentText(), QString("松　　山"));
        QCOMPARE(w.get<QComboBox>("cboChaku3")->currentText(), QString("松　　山"));
        // Back to 松山 with No: charge section 2 out of use again.
        w.fake.answers = {PromptAnswer::No};
        w.click("cmdEki17");
        QVERIFY(!w.shown("frameRyokin2"));
        QCOMPARE(w.get<QComboBox>("cboKenshu4")->currentText(), QString("なし"));
    }

    void studentCountFollowsTheHandlers() {
        Window w;
        QVERIFY(!w.shown("txtNinzuG"));
        w.click("cmdGaku");
        QVERIFY(w.shown("txtNinzuG"));
        QVERIFY(w.shown("lblGaku"));
        QCOMPARE(w.text("txtNinzuG"), QString("1"));
        w.click("txtNinzuG");
        typeText(w.get("txtNinzuG"), QStringLiteral("3"));
        w.click("cmdGaku");
        QCOMPARE(w.text("txtNinzuG"), QString("1"));
        // 大元 is too near for a student ticket: the count closes again.
        w.enterList("cboChaku");
        w.page(1);
        w.click("cmdEki26");
        QCOMPARE(w.get<QComboBox>("cboChaku")->currentText(), QString("大　　元"));
        QVERIFY(!w.shown("txtNinzuG"));
        QVERIFY(!w.shown("lblGaku"));
        QVERIFY(!w.get("cmdGaku")->isEnabled());
    }
};

QTEST_MAIN(MainWindowTest)
#include "sales_window.moc"
