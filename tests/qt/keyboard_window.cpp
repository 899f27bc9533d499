// The sales window worked from the keyboard alone, and grown to a large
// screen: Tab order, function keys, Enter, the calendar's keys, the focus
// mark and the question boxes' safe answers.
#include <algorithm>
#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "app/frm_start.h"
#include "app/program_shell.h"
#include "app/qt/main_window.h"
#include "app/qt/window_prompt.h"
#include "tests/qt/program_window.h"
#include "tests/support/fakes.h"

using namespace kippurun;

namespace {

struct Window : testing::ProgramWindow {
    frmStart& screen;

    // With `messageBoxes` the questions are real message boxes.
    explicit Window(bool messageBoxes = false)
        : ProgramWindow(testing::SampleTables, testing::ymd(2026, 12, 9), messageBoxes),
          screen(*shell.salesScreen()) {
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) qWarning("window not active");
    }
    // A key the clerk presses on whatever has the focus.
    void key(Qt::Key key) const {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : window.get(), key);
    }
    // The control holding the focus, by name; the tab control's page
    // captions count as the tab control.
    static QString focused() {
        QWidget* w = QApplication::focusWidget();
        if (!w) return "<none>";
        if (qobject_cast<QTabBar*>(w)) w = w->parentWidget();
        return w->objectName();
    }
    // Tab from `first` round to it again, every stop on the way.
    QStringList tabStops(const char* first) const {
        get(first)->setFocus(Qt::OtherFocusReason);
        QStringList stops{focused()};
        for (int i = 0; i < 200; ++i) {
            key(Qt::Key_Tab);
            if (focused() == stops.front()) break;
            stops << focused();
        }
        return stops;
    }
    // The cell of the calendar carrying the day mark, or -1.
    int markedCell() const {
        for (int k = 0; k < 42; ++k)
            if (!get<QLabel>(qPrintable(QString("lblHi%1").arg(k)))->text().isEmpty()) return k;
        return -1;
    }
};

// Answers the next message box by `key` once it is open, recording it.
struct BoxAnswer {
    QObject context;  // no answer once this is gone
    QString text, defaultButton;
    bool shown = false;
    explicit BoxAnswer(Qt::Key key) {
        QTimer::singleShot(0, &context, [this, key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            shown = true;
            text = box->text();
            if (box->defaultButton()) defaultButton = box->defaultButton()->text();
            QTest::keyClick(box, key);
        });
    }
};

const QStringList TopOfForm = {"cmdExit(0)", "cmdSettei", "cmdJikkou", "cmdKaihou", "cboKenshu",
                               "cboHatsu",   "cboChaku",  "txtNinzu",  "txtNinzuK"};

}  // namespace

class KeyboardWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void tabStopsAreWhatTheClerkUsesInReadingOrder() {
        Window w;
        QStringList expected = TopOfForm;
        // Then the tab row and the front page's keys that have a caption and
        // a handler, in the pad's reading order (the form's order).
        expected << "tabFullKey";
        for (const Placement& p : w.screen.controls().layout()) {
            const Control* c = w.screen.controls().find(p.name);
            if (p.container != "tabFullKey" || p.page != 0 || c->kind() != ControlKind::Key)
                continue;
            const auto* key = static_cast<const CommandButton*>(c);
            if (!key->caption.empty() && key->onClick) expected << QString::fromStdString(p.name);
        }
        QCOMPARE(expected.mid(TopOfForm.size(), 2), (QStringList{"tabFullKey", "cmdToday"}));
        // Keys the determinations closed for the journey on the screen are no stops.
        int closed = 0;
        for (const QString& name : QStringList(expected))
            if (!w.get(qPrintable(name))->isEnabled()) closed += expected.removeAll(name);
        QVERIFY(closed > 0);
        QCOMPARE(w.tabStops("cmdExit(0)"), expected);
    }

    void tabStopsFollowTheShownControlsAndPage() {
        Window w;
        w.fake.answers = {PromptAnswer::No};
        w.get<QPushButton>("cmdJitoku")->click();  // the charge frame opens
        w.get<QTabWidget>("tabFullKey")->setCurrentIndex(2);
        QStringList expected = TopOfForm;
        expected << "cboKenshu3"
                 << "cboHatsu3"
                 << "cboChaku3"
                 << "tabFullKey"
                 << "cmdZenNen"
                 << "cmdYokuNen"
                 << "cmdZenGetu"
                 << "cmdYokuGetsu"
                 << "picCalender"
                 << "cmdDayKettei";
        QCOMPARE(w.tabStops("cmdExit(0)"), expected);

        // The station keys without a station are no stops.
        for (const char* unassigned : {"cmdEki05", "cmdEki30"})
            static_cast<CommandButton*>(w.screen.controls().find(unassigned))->caption.clear();
        w.get<QTabWidget>("tabFullKey")->setCurrentIndex(1);
        const QStringList stops = w.tabStops("tabFullKey");
        int captioned = 0;
        for (int k = 0; k < StationKeyCount; ++k) {
            const QString name = QString("cmdEki%1").arg(k, 2, 10, QChar('0'));
            const bool hasStation = !w.get<QPushButton>(qPrintable(name))->text().isEmpty();
            captioned += hasStation;
            QCOMPARE(stops.contains(name), hasStation);
        }
        QVERIFY(captioned > 0 && captioned < StationKeyCount);
    }

    void functionKeysPressTheirKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("button");
        QTest::newRow("本日 F1") << int(Qt::Key_F1) << "cmdToday";
        QTest::newRow("明日 F2") << int(Qt::Key_F2) << "cmdTomorrow";
        QTest::newRow("明後日 F3") << int(Qt::Key_F3) << "cmdAsatte";
        QTest::newRow("設定 F5") << int(Qt::Key_F5) << "cmdSettei";
        QTest::newRow("終了 F8") << int(Qt::Key_F8) << "cmdExit(0)";
        QTest::newRow("開放 F9") << int(Qt::Key_F9) << "cmdKaihou";
        QTest::newRow("実行 F12") << int(Qt::Key_F12) << "cmdJikkou";
    }
    void functionKeysPressTheirKeys() {
        QFETCH(int, key);
        QFETCH(QString, button);
        Window w;
        auto* widget = w.get<QPushButton>(qPrintable(button));
        auto* control = static_cast<CommandButton*>(w.screen.controls().find(button.toStdString()));
        int presses = 0;
        control->onClick = [&] { ++presses; };
        QVERIFY2(widget->toolTip().contains(QKeySequence(key).toString()),
                 qPrintable(widget->toolTip()));
        // From anywhere on the form, whichever page is in front.
        w.get<QTabWidget>("tabFullKey")->setCurrentIndex(3);
        w.get("txtNinzu")->setFocus(Qt::OtherFocusReason);
        w.key(Qt::Key(key));
        QCOMPARE(presses, 1);
        // Not while the key is closed, as with a click.
        control->enabled = false;
        w.window->findChild<QWidget*>("cmdJikkou")->setFocus(Qt::OtherFocusReason);
        w.key(Qt::Key(key));
        QCOMPARE(presses, 1);
    }

    void f12AndEnterInACountBoxRunTheBill() {
        Window w;
        w.key(Qt::Key_F12);
        QCOMPARE(w.get<QTabWidget>("tabFullKey")->currentIndex(), 3);
        QCOMPARE(w.text("txtNin01"), QString("1"));

        w.get<QTabWidget>("tabFullKey")->setCurrentIndex(0);  // the total is emptied
        QVERIFY(w.text("txtBill").isEmpty());
        w.tabStops("cmdExit(0)");
        while (Window::focused() != "txtNinzu") w.key(Qt::Key_Tab);
        w.key(Qt::Key_Backspace);
        QTest::keyClicks(QApplication::focusWidget(), "3");
        w.key(Qt::Key_Return);
        QCOMPARE(w.get<QTabWidget>("tabFullKey")->currentIndex(), 3);
        QCOMPARE(w.text("txtNin01"), QString("3"));
        QVERIFY(!w.text("txtBill").isEmpty());
        QVERIFY(w.get("cmdJikkou")->toolTip().contains("Enter"));

        // Enter in a display box runs nothing.
        w.get<QTabWidget>("tabFullKey")->setCurrentIndex(0);
        w.get("txtDate")->setFocus(Qt::OtherFocusReason);
        w.key(Qt::Key_Return);
        QCOMPARE(w.get<QTabWidget>("tabFullKey")->currentIndex(), 0);

        // F12 from a key of page 0, which the bill page then covers: the
        // focus rests on 実 行, and the next Tab goes on from there.
        w.get("cmdO2")->setFocus(Qt::OtherFocusReason);
        w.key(Qt::Key_F12);
        QCOMPARE(w.get<QTabWidget>("tabFullKey")->currentIndex(), 3);
        QCOMPARE(Window::focused(), QString("cmdJikkou"));
        w.key(Qt::Key_Tab);
        QCOMPARE(Window::focused(), QString("cmdKaihou"));
        // F12 from a count box, still in view: the focus stays there.
        w.get("txtNinzuK")->setFocus(Qt::OtherFocusReason);
        w.key(Qt::Key_F12);
        QCOMPARE(Window::focused(), QString("txtNinzuK"));
    }

    void calendarByKeyboard() {
        Window w;
        w.get<QTabWidget>("tabFullKey")->setCurrentIndex(2);
        w.tabStops("cmdExit(0)");
        while (Window::focused() != "picCalender") w.key(Qt::Key_Tab);
        // December 2026 starts on a Tuesday: the 9th is cell 10.
        QCOMPARE(w.markedCell(), 10);
        w.key(Qt::Key_Right);
        QCOMPARE(w.markedCell(), 11);
        w.key(Qt::Key_Down);
        QCOMPARE(w.markedCell(), 18);
        w.key(Qt::Key_Left);
        w.key(Qt::Key_Up);
        QCOMPARE(w.markedCell(), 10);
        QCOMPARE(w.text("txtDate"), QString("令和8年12月9日水曜日"));  // not before 決定
        w.key(Qt::Key_Down);
        w.key(Qt::Key_Return);
        QCOMPARE(w.text("txtDate"), QString("令和8年12月16日水曜日"));
        QCOMPARE(w.text("txtNichi"), QString("16"));

        // Nothing before the 1st (a blank cell) or past the grid's edge.
        for (int i = 0; i < 3; ++i) w.key(Qt::Key_Up);
        QCOMPARE(w.markedCell(), 3);
        w.key(Qt::Key_Left);
        w.key(Qt::Key_Left);
        w.key(Qt::Key_Up);
        QCOMPARE(w.markedCell(), 2);

        // Page Down: January 2027, no day marked; the first arrow marks the 1st.
        w.key(Qt::Key_PageDown);
        QCOMPARE(w.text("txtNangatsu"), QString("1月"));
        QCOMPARE(w.text("txtNannen"), QString("2027年"));
        QCOMPARE(w.markedCell(), -1);
        w.key(Qt::Key_Right);
        QCOMPARE(w.get<QLabel>(qPrintable(QString("lblDay(%1)").arg(w.markedCell())))->text(),
                 QString("1"));
        w.key(Qt::Key_Enter);  // the keypad's Enter too
        QCOMPARE(w.text("txtDate"), QString("令和9年1月1日金曜日"));
        w.key(Qt::Key_PageUp);
        w.key(Qt::Key_PageUp);
        QCOMPARE(w.text("txtNangatsu"), QString("11月"));
        w.key(Qt::Key_Left);  // no mark, going back: the month's last day
        QCOMPARE(w.get<QLabel>(qPrintable(QString("lblDay(%1)").arg(w.markedCell())))->text(),
                 QString("30"));
    }

    void focusMarkSurroundsTheFocusedWidget() {
        Window w;
        for (const char* name : {"cmdJikkou", "cboKenshu", "txtNinzu", "cmdToday"}) {
            w.get(name)->setFocus(Qt::TabFocusReason);
            const FocusFrame* mark = w.window->focusMark().frameIn(*w.window);
            QVERIFY(mark && mark->isVisible());
            QVERIFY(mark->thickness() >= 3);
            QWidget* target = w.get(name);
            const QRect around(target->mapTo(w.window.get(), QPoint()), target->size());
            QVERIFY2(mark->geometry().contains(around), name);
            QVERIFY2(
                around.contains(mark->geometry().adjusted(mark->thickness(), mark->thickness(),
                                                          -mark->thickness(), -mark->thickness())),
                name);
            // Drawn above every other widget of the window.
            QCOMPARE(w.window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).last(), mark);
        }
        // A page change hides the focused key: the mark follows the focus.
        w.get<QTabWidget>("tabFullKey")->setCurrentIndex(3);
        QWidget* now = QApplication::focusWidget();
        const FocusFrame* mark = w.window->focusMark().frameIn(*w.window);
        QVERIFY(!mark->isVisible() || (now && now->isVisible()));
    }

    void formFillsALargeWindow_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("1920x1080") << QSize(1920, 1080);
        QTest::newRow("1920x1010 under a title and panel") << QSize(1920, 1010);
        QTest::newRow("tall and narrow") << QSize(800, 1000);
    }
    void formFillsALargeWindow() {
        QFETCH(QSize, size);
        Window w;
        const QRect designedKey = w.get("cmdJikkou")->geometry();
        const QRect designedPad = w.get("cmdToday")->geometry();
        w.window->resize(size);
        QCOMPARE(w.window->size(), size);
        const double factor = std::min(size.width() / 713.0, size.height() / 497.0);
        const QRect key = w.get("cmdJikkou")->geometry();
        QVERIFY(qAbs(key.height() - designedKey.height() * factor) <= 1);
        QVERIFY(qAbs(key.width() - designedKey.width() * factor) <= 1);
        if (size.width() >= 1920)
            QVERIFY2(key.height() >= 40, qPrintable(QString::number(key.height())));
        const QRect pad = w.get("cmdToday")->geometry();
        QVERIFY(qAbs(pad.height() - designedPad.height() * factor) <= 1);
        QVERIFY(w.get("cmdJikkou")->font().pointSizeF() >= 10 * factor - 0.01);
        // The spare space evenly around the form.
        const QRect exitKey = w.get("cmdExit(0)")->geometry();
        const QRect bill = w.get("txtBill")->geometry();
        const int left = exitKey.left() - qRound(8 * factor);
        const int right =
            size.width() - (key.right() + 1) - qRound((10695 - 9720 - 855) / 15.0 * factor);
        QVERIFY2(qAbs(left - right) <= 2, qPrintable(QString("%1 %2").arg(left).arg(right)));
        const int top = key.top() - qRound(8 * factor);
        const int bottom =
            size.height() - (bill.bottom() + 1) - qRound((7455 - 6660 - 495) / 15.0 * factor);
        QVERIFY2(qAbs(top - bottom) <= 2, qPrintable(QString("%1 %2").arg(top).arg(bottom)));
        // The mark grows with the form.
        w.get("cmdJikkou")->setFocus(Qt::TabFocusReason);
        const FocusFrame* mark = w.window->focusMark().frameIn(*w.window);
        QCOMPARE(mark->thickness(), std::max(3, qRound(3 * factor)));
        QVERIFY(mark->geometry().contains(QRect(key.topLeft(), key.size())));

        // Back to the designed size, the designed places.
        w.window->resize(713, 497);
        QCOMPARE(w.get("cmdJikkou")->geometry(), designedKey);
    }

    void questionsAnswerSafelyByEscapeAndEnter_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Escape") << int(Qt::Key_Escape);
        QTest::newRow("Enter") << int(Qt::Key_Return);
    }
    void questionsAnswerSafelyByEscapeAndEnter() {
        QFETCH(int, key);
        Window w(true);
        // The exit question: the window stays.
        {
            BoxAnswer answer{Qt::Key(key)};
            w.key(Qt::Key_F8);
            QVERIFY(answer.shown);
            QCOMPARE(answer.text, QString("キップルンを終了しますか？"));
            QCOMPARE(answer.defaultButton, QString("いいえ(&N)"));
        }
        QVERIFY(w.window->isVisible());
        QVERIFY(!w.shell.ended());
        // The change at 松山 on the way to 宇和島: charge section 2 stays closed.
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QTest::mouseClick(w.get("cboChaku"), Qt::LeftButton);
        if (QWidget* popup = QApplication::activePopupWidget())
            QTest::keyClick(popup, Qt::Key_Escape);
        w.get<QTabWidget>("tabFullKey")->setCurrentIndex(1);
        w.get<QPushButton>("cmdEki25")->click();
        QCOMPARE(w.get<QComboBox>("cboChaku")->currentText(), QString("宇和島"));
        w.get<QTabWidget>("tabFullKey")->setCurrentIndex(0);
        {
            BoxAnswer answer{Qt::Key(key)};
            w.get<QPushButton>("cmdJitoku")->click();
            QVERIFY(answer.shown);
            QCOMPARE(answer.text, QString("松山乗換えですか？"));
            QCOMPARE(answer.defaultButton, QString("いいえ(&N)"));
        }
        QVERIFY(w.get("frameRyokin")->isVisible());
        QVERIFY(!w.get("frameRyokin2")->isVisible());
    }

    // The settings screen from the keyboard alone: F5 opens it, Tab reaches
    // the chooser, the default stations and 設定終了, Enter sets a default
    // station, and the save question answers Cancel to Escape and Enter,
    // keeping every edit.
    void settingsScreenByKeyboard() {
        Window w(true);
        w.key(Qt::Key_F5);
        QVERIFY(w.shell.settingsScreen());
        const QStringList stops = w.tabStops("cboHatsu");
        for (const char* name : {"txtHatsu", "txtChaku", "cmdStart", "cmdAllClear", "cmdEki00"})
            QVERIFY2(stops.contains(name), name);
        QVERIFY(stops.indexOf("txtHatsu") < stops.indexOf("txtChaku"));

        auto* chooser = w.get<QComboBox>("cboHatsu");
        chooser->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(chooser, Qt::Key_End);  // 宇和島
        QCOMPARE(chooser->currentText(), QString("宇和島"));
        w.get("txtChaku")->setFocus(Qt::OtherFocusReason);
        w.key(Qt::Key_Return);
        QCOMPARE(w.text("txtChaku"), QString("宇和島"));

        for (Qt::Key answerKey : {Qt::Key_Escape, Qt::Key_Return}) {
            BoxAnswer answer{answerKey};
            w.key(Qt::Key_F5);  // 設定終了
            QVERIFY(answer.shown);
            QCOMPARE(answer.text, QString("設定を保存しますか？"));
            QCOMPARE(answer.defaultButton, QString("キャンセル"));
            QVERIFY(w.shell.settingsScreen());
            QCOMPARE(w.text("txtChaku"), QString("宇和島"));
            w.window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        }
    }

    void theFocusMarkShowsInAQuestionBox() {
        Window w(true);
        bool marked = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            const bool active = QTest::qWaitFor([box] {
                return QApplication::focusWidget() && QApplication::focusWidget()->window() == box;
            });
            const FocusFrame* mark = w.window->focusMark().frameIn(*box);
            QWidget* focus = QApplication::focusWidget();
            marked = active && mark && mark->isVisible() && focus && focus->window() == box &&
                     mark->geometry().contains(QRect(focus->mapTo(box, QPoint()), focus->size()));
            QTest::keyClick(box, Qt::Key_Escape);
        });
        w.key(Qt::Key_F8);
        QVERIFY(marked);
    }
};

QTEST_MAIN(KeyboardWindowTest)
#include "keyboard_window.moc"
