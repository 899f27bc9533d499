// The counter's flow from the keyboard, offscreen: the focus after question
// boxes and screen changes, stations found by typing, the arrow keys in the
// key pads and the closed ticket types in their lists.
#include <algorithm>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "app/frm_start.h"
#include "app/program_shell.h"
#include "app/qt/station_search_popup.h"
#include "tests/qt/program_window.h"
#include "tests/support/fakes.h"

using namespace kippurun;

namespace {

struct Window : testing::ProgramWindow {
    explicit Window(bool messageBoxes = false)
        : ProgramWindow(testing::SampleTables, testing::ymd(2026, 12, 9), messageBoxes) {}
    frmStart& sales() { return *shell.salesScreen(); }
    static QString focused() {
        QWidget* w = QApplication::focusWidget();
        return w ? w->objectName() : QString("<none>");
    }
    // Keys pressed on whatever has the focus, one by one, as the clerk types.
    static void typeKeys(const QString& text) {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                QString(c), Qt::NoModifier);
    }
    static void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }
    StationSearchPopup* popup(const char* list) const {
        return get(list)->findChild<StationSearchPopup*>();
    }
    // The clerk moves into a list with Tab (its focus handling runs).
    void enter(const char* list) const { get(list)->setFocus(Qt::TabFocusReason); }
    int index(const char* list) const { return get<QComboBox>(list)->currentIndex(); }
};

// Answers every question box shown while it lives by `key`, counting them.
struct BoxAnswers {
    QTimer timer;
    int shown = 0;
    explicit BoxAnswers(Qt::Key key) {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this, key] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                if (box->property("answered").toBool()) return;
                box->setProperty("answered", true);
                ++shown;
                QTest::keyClick(box, key);
            }
        });
        timer.start();
    }
};

}  // namespace

class CounterFlowTest : public QObject {
    Q_OBJECT
  private slots:
    void theWindowTakesTheFocusWhenItOpens() {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QCOMPARE(Window::focused(), QString("cmdJikkou"));
    }

    void theFocusComesBackAfterEveryQuestionBox() {
        Window w(true);
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w.get("txtNinzu")->setFocus(Qt::TabFocusReason);
        {
            BoxAnswers answers(Qt::Key_Escape);
            Window::key(Qt::Key_F8);  // the exit question
            QCOMPARE(answers.shown, 1);
        }
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QCOMPARE(Window::focused(), QString("txtNinzu"));

        // 指特急 on the way to 宇和島 asks about 松山; the list the clerk was
        // working on has the focus again afterwards.
        w.enter("cboChaku");
        Window::typeKeys("uwajima");
        Window::key(Qt::Key_Return);
        QCOMPARE(w.index("cboChaku"), 106);
        QCOMPARE(Window::focused(), QString("cboChaku"));
        {
            BoxAnswers answers(Qt::Key_N);
            w.get<QPushButton>("cmdShiToku")->click();
            QCOMPARE(answers.shown, 1);
        }
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QCOMPARE(Window::focused(), QString("cboChaku"));
        // Another station found by typing: one change, one question.
        {
            BoxAnswers answers(Qt::Key_N);
            Window::typeKeys("yawata");
            Window::key(Qt::Key_Return);
            QCOMPARE(answers.shown, 1);
        }
        QCOMPARE(w.get<QComboBox>("cboChaku")->currentText(), QString("八幡浜"));
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QCOMPARE(Window::focused(), QString("cboChaku"));
    }

    void screenChangesKeepTheWindowAndGiveTheFocusToTheFirstStop_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("designed") << QSize(713, 497);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
    }
    void screenChangesKeepTheWindowAndGiveTheFocusToTheFirstStop() {
        QFETCH(QSize, size);
        Window w(true);
        w.window->resize(size);
        const QRect place = w.window->geometry();
        Window::key(Qt::Key_F5);
        QVERIFY(w.shell.settingsScreen());
        QCOMPARE(w.window->geometry(), place);
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QCOMPARE(Window::focused(), QString("cboHatsu"));
        {
            BoxAnswers answers(Qt::Key_N);  // 設定終了, not saved
            Window::key(Qt::Key_F5);
            QCOMPARE(answers.shown, 1);
        }
        QVERIFY(w.shell.salesScreen());
        QCOMPARE(w.window->geometry(), place);
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QCOMPARE(Window::focused(), QString("cmdJikkou"));
    }

    void stationsFoundByTyping_data() {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("found");
        QTest::newRow("rōmaji") << "cboHatsu"
                                << "matsu"
                                << "松　　山";
        QTest::newRow("capitals") << "cboChaku"
                                  << "UWA"
                                  << "宇和島";
        QTest::newRow("kana") << "cboHatsu"
                              << "こじ"
                              << "児　　島";
        QTest::newRow("katakana") << "cboHatsu"
                                  << "サイジョウ"
                                  << "伊予西条";
        QTest::newRow("number") << "cboChaku"
                                << "96"
                                << "八幡浜";
    }
    void stationsFoundByTyping() {
        QFETCH(QString, list);
        QFETCH(QString, typed);
        QFETCH(QString, found);
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        const QByteArray name = list.toUtf8();
        w.enter(name);
        Window::typeKeys(typed);
        StationSearchPopup* popup = w.popup(name);
        QVERIFY(popup && popup->isVisible());
        QCOMPARE(popup->typedLine().text(), typed);
        // The open list narrows to what the typing finds, the first marked.
        QVERIFY(popup->foundList().count() >= 1);
        QVERIFY(popup->foundList().item(0)->text().startsWith(found));
        QCOMPARE(popup->foundList().currentRow(), 0);
        QCOMPARE(w.get<QComboBox>(name)->currentText() == found, false);
        Window::key(Qt::Key_Return);
        QVERIFY(!popup->isVisible());
        QCOMPARE(w.get<QComboBox>(name)->currentText(), found);
        QCOMPARE(Window::focused(), list);
    }

    void anInputMethodsKanaStartTheSearch() {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w.enter("cboChaku");
        QInputMethodEvent composed;
        composed.setCommitString(QStringLiteral("うわじ"));
        QApplication::sendEvent(w.get("cboChaku"), &composed);
        StationSearchPopup* popup = w.popup("cboChaku");
        QVERIFY(popup && popup->isVisible());
        QCOMPARE(popup->foundList().count(), 1);
        // A click takes a station as Enter does.
        QListWidget& found = popup->foundList();
        QTest::mouseClick(found.viewport(), Qt::LeftButton, {},
                          found.visualItemRect(found.item(0)).center());
        QCOMPARE(w.index("cboChaku"), 106);
    }

    void escapeAndNothingFoundChangeNothing() {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w.enter("cboChaku");
        const int before = w.index("cboChaku");
        Window::typeKeys("uwa");
        Window::key(Qt::Key_Escape);
        QVERIFY(!w.popup("cboChaku")->isVisible());
        QCOMPARE(w.index("cboChaku"), before);
        QCOMPARE(Window::focused(), QString("cboChaku"));

        Window::typeKeys("xq");
        StationSearchPopup* popup = w.popup("cboChaku");
        QCOMPARE(popup->foundList().count(), 1);
        QVERIFY(!(popup->foundList().item(0)->flags() & Qt::ItemIsEnabled));
        Window::key(Qt::Key_Return);  // nothing to take: the clerk types on
        QVERIFY(popup->isVisible());
        QCOMPARE(w.index("cboChaku"), before);
        Window::key(Qt::Key_Backspace);
        Window::key(Qt::Key_Backspace);
        Window::typeKeys("ko");
        Window::key(Qt::Key_Down);  // the second station found
        const QString second = popup->foundList().item(1)->text();
        Window::key(Qt::Key_Return);
        QVERIFY(second.startsWith(w.get<QComboBox>("cboChaku")->currentText()));
    }

    void arrowsOnAClosedStationListOpenItWithoutChoosing() {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w.enter("cboChaku");
        int changes = 0;
        w.sales().cboChaku.onClick = [&] { ++changes; };
        auto* list = w.get<QComboBox>("cboChaku");
        const int before = list->currentIndex();
        Window::key(Qt::Key_Down);
        QVERIFY(list->view()->isVisible());
        QCOMPARE(list->currentIndex(), before);
        QCOMPARE(changes, 0);
        list->hidePopup();
        Window::key(Qt::Key_Up);
        QVERIFY(list->view()->isVisible());
        list->hidePopup();
        QCOMPARE(changes, 0);
    }

    void everyStationListIsSearched() {
        Window w;  // questions answered No by the recording prompt
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        // The charge lists hold express stops: 67 is 松山, stop 17.
        w.get<QPushButton>("cmdJitoku")->click();
        QVERIFY(w.get("cboChaku3")->isVisible());
        w.enter("cboChaku3");
        Window::typeKeys("67");
        Window::key(Qt::Key_Return);
        QCOMPARE(w.get<QComboBox>("cboChaku3")->currentText(), QString("松　　山"));
        // The settings screen's chooser.
        w.get("cmdJikkou")->setFocus(Qt::TabFocusReason);
        Window::key(Qt::Key_F5);
        QVERIFY(w.shell.settingsScreen());
        w.enter("cboHatsu");
        Window::typeKeys("yawatahama");
        Window::key(Qt::Key_Return);
        QCOMPARE(w.get<QComboBox>("cboHatsu")->currentText(), QString("八幡浜"));
    }

    void stationListRowsAreLargeOnALargeScreen() {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w.window->resize(1920, 1080);
        auto* list = w.get<QComboBox>("cboChaku");
        list->showPopup();
        QAbstractItemView* view = list->view();
        QVERIFY(view->isVisible());
        QVERIFY2(
            view->visualRect(view->model()->index(0, 0)).height() >= 40,
            qPrintable(QString::number(view->visualRect(view->model()->index(0, 0)).height())));
        QVERIFY(view->verticalScrollBar()->isVisible());
        QVERIFY(view->verticalScrollBar()->width() >= 24);  // a finger's width, not the style's
        list->hidePopup();
        w.enter("cboChaku");
        Window::typeKeys("i");
        StationSearchPopup* popup = w.popup("cboChaku");
        QListWidget& found = popup->foundList();
        QVERIFY(found.visualItemRect(found.item(0)).height() >= 40);
        QVERIFY(found.verticalScrollBar()->isVisible());
        QVERIFY(found.verticalScrollBar()->width() >= 24);
        Window::key(Qt::Key_Escape);
    }

    void closedTicketTypesAreGreyedAndPassedOver() {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        frmStart& s = w.sales();
        // On 岡山 -> 松山 the coupons are closed.
        QVERIFY(!s.cmd11Kai.enabled && !s.cmd6Kai.enabled && !s.cmdJiyuKai.enabled);
        auto* kenshu = w.get<QComboBox>("cboKenshu");
        auto* model = qobject_cast<QStandardItemModel*>(kenshu->model());
        QVERIFY(model);
        // Every entry, wherever it stands in the list, greyed exactly when
        // the list's handler would refuse it.
        QCOMPARE(model->rowCount(), int(PassengerTypes.size()));
        for (int i = 0; i < model->rowCount(); ++i)
            QCOMPARE(model->item(i)->isEnabled(), s.passengerTypePermitted(i));
        QVERIFY(!model->item(SixRideCoupon)->isEnabled());
        w.enter("cboKenshu");
        kenshu->setCurrentIndex(2);
        emit kenshu->activated(2);  // 連続乗車券
        int runs = 0;
        const auto handler = s.cboKenshu.onClick;
        s.cboKenshu.onClick = [&] {
            ++runs;
            handler();
        };
        Window::key(Qt::Key_Down);  // no bounce back to 片道乗車券
        QCOMPARE(s.cboKenshu.listIndex(), s.cmdJiyuKai.enabled ? 5 : 2);
        Window::typeKeys(QStringLiteral("週"));  // 週末回数券 is closed too
        QVERIFY(s.cboKenshu.listIndex() != 6 && s.cboKenshu.listIndex() != 0);
        Window::key(Qt::Key_Up);
        QCOMPARE(s.cboKenshu.listIndex(), s.cmdJiyuKai.enabled ? 2 : 1);
        QVERIFY(runs <= 3);
        // The charge types follow their keys as the determinations change them.
        auto* charge = qobject_cast<QStandardItemModel*>(w.get<QComboBox>("cboKenshu3")->model());
        QCOMPARE(charge->rowCount(), int(ChargeTypes.size()));
        for (int i = 0; i < charge->rowCount(); ++i)
            QCOMPARE(charge->item(i)->isEnabled(), s.chargeTypePermitted(i));
        QVERIFY(!charge->item(MarineSeat)->isEnabled());  // closed on this journey
        QVERIFY(charge->item(NoCharge)->isEnabled());
    }

    void questionBoxesTakeTheFormsScale_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("designed") << QSize(713, 497);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
    }
    void questionBoxesTakeTheFormsScale() {
        QFETCH(QSize, size);
        Window w(true);
        w.window->resize(size);
        const double factor = std::min(size.width() / 713.0, size.height() / 497.0);
        const int keyHeight = w.get("cmdJikkou")->height();
        // The key the clerk is on lies where a box centred on the window
        // would cover it.
        w.get("cmdJitoku")->setFocus(Qt::TabFocusReason);
        const QRect key(w.get("cmdJitoku")->mapToGlobal(QPoint()), w.get("cmdJitoku")->size());
        bool checked = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            QVERIFY(box->font().pointSizeF() >= 10 * factor - 0.1);
            for (QAbstractButton* button : box->buttons()) {
                QVERIFY2(button->height() >= keyHeight,
                         qPrintable(QString("%1 %2 %3")
                                        .arg(button->height())
                                        .arg(keyHeight)
                                        .arg(button->minimumHeight())));
                QCOMPARE(button->font().pointSizeF(), box->font().pointSizeF());
            }
            QCOMPARE(box->icon(), QMessageBox::Question);
            // Drawn at the form's size, and the program's own: a blue disc.
            const QPixmap icon = box->iconPixmap();
            QVERIFY(icon.deviceIndependentSize().width() >= 32 * factor - 1);
            const QColor disc = icon.toImage().pixelColor(icon.width() / 5, icon.height() / 2);
            QVERIFY2(disc.blue() > 150 && disc.red() < 80, qPrintable(disc.name()));
            QRect centred(QPoint(), box->frameGeometry().size());
            centred.moveCenter(QRect(w.window->mapToGlobal(QPoint()), w.window->size()).center());
            QVERIFY(centred.intersects(key));
            QVERIFY(!box->frameGeometry().intersects(key));
            checked = true;
            QTest::keyClick(box, Qt::Key_Escape);
        });
        Window::key(Qt::Key_F8);
        QVERIFY(checked);
    }

    void theSettingsModeShowsInColour() {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w.click("cmdSettei");
        auto reddish = [&](const char* name) {
            const QImage image = w.get(name)->grab().toImage();
            const QColor c = image.pixelColor(image.width() - 4, image.height() / 2);
            return c.red() > c.green() + 60 && c.red() > c.blue() + 60;
        };
        QVERIFY(!reddish("optClear"));
        w.click("optClear");
        QVERIFY(w.get<QRadioButton>("optClear")->isChecked());
        QVERIFY(reddish("optClear"));
        QVERIFY(!reddish("optEkimei"));
    }

    void calendarDaysKeepAGapAndTheChosenDayShows_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("designed") << QSize(713, 497);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
    }
    void calendarDaysKeepAGapAndTheChosenDayShows() {
        QFETCH(QSize, size);
        Window w;
        w.window->resize(size);
        w.get<QTabWidget>("tabFullKey")->setCurrentIndex(2);
        int pairs = 0;
        for (int k = 0; k + 1 < 42; ++k) {
            if (k % 7 == 6) continue;
            auto* day = w.get<QLabel>(qPrintable(QString("lblDay(%1)").arg(k)));
            auto* next = w.get<QLabel>(qPrintable(QString("lblDay(%1)").arg(k + 1)));
            if (day->text().size() < 2 || next->text().size() < 2) continue;
            ++pairs;
            // Half of each number's width from its cell's centre: what is
            // left between them is the gap.
            const QFontMetrics metrics(day->font());
            const int pitch = next->geometry().center().x() - day->geometry().center().x();
            const int gap = pitch - (metrics.horizontalAdvance(day->text()) +
                                     metrics.horizontalAdvance(next->text())) /
                                        2;
            QVERIFY2(gap * 5 >= pitch, qPrintable(day->text() + " " + QString::number(gap)));
        }
        QVERIFY(pairs > 10);
        // The chosen day's cell is tinted, not only ringed.
        int marked = -1;
        for (int k = 0; k < 42; ++k)
            if (!w.get<QLabel>(qPrintable(QString("lblHi%1").arg(k)))->text().isEmpty()) marked = k;
        QVERIFY(marked >= 0);
        QWidget* calendar = w.get("picCalender");
        const QImage image = calendar->grab().toImage();
        auto cornerOf = [&](int k) {
            QWidget* cell = w.get(qPrintable(QString("lblHi%1").arg(k)));
            return image.pixelColor(cell->geometry().topLeft() + QPoint(3, 3));
        };
        const QColor tinted = cornerOf(marked), plain = cornerOf(marked == 20 ? 21 : 20);
        QVERIFY2(tinted.red() > tinted.green() + 30, qPrintable(tinted.name()));
        QVERIFY2(plain.red() <= plain.green() + 5, qPrintable(plain.name()));
    }

    void arrowsMoveThroughTheKeyPadAsItIsLaidOut() {
        Window w;
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        w.get("cmdO1")->setFocus(Qt::TabFocusReason);
        const struct {
            Qt::Key key;
            const char* to;
        } moves[] = {
            {Qt::Key_Right, "cmdO2"},     {Qt::Key_Down, "cmdK2"},
            {Qt::Key_Down, "cmdOfuku"},   {Qt::Key_Down, "cmdShiToku"},  // ６枚回数 closed
            {Qt::Key_Left, "cmdJitoku"},  {Qt::Key_Left, "cmdRenzoku"},  // a row back
            {Qt::Key_Right, "cmdJitoku"}, {Qt::Key_Up, "cmdKatamichi"},  // past closed keys
            {Qt::Key_Up, "cmdK1"},        {Qt::Key_Up, "cmdO1"},
            {Qt::Key_Up, "cmdToday"},     {Qt::Key_Up, "cmdToday"},
            {Qt::Key_Left, "cmdToday"},   {Qt::Key_Right, "cmdTomorrow"},
        };
        for (const auto& move : moves) {
            Window::key(move.key);
            QCOMPARE(Window::focused(), QString(move.to));
        }
        // The station keys of page 1 and the settings screen's keys alike.
        w.get<QTabWidget>("tabFullKey")->setCurrentIndex(1);
        w.get("cmdEki00")->setFocus(Qt::TabFocusReason);
        Window::key(Qt::Key_Down);
        QCOMPARE(Window::focused(), QString("cmdEki04"));
        Window::key(Qt::Key_Right);
        QCOMPARE(Window::focused(), QString("cmdEki05"));
        Window::key(Qt::Key_F5);
        QVERIFY(w.shell.settingsScreen());
        w.get("cmdEki00")->setFocus(Qt::TabFocusReason);
        Window::key(Qt::Key_Down);
        QCOMPARE(Window::focused(), QString("cmdEki04"));
        Window::key(Qt::Key_Right);
        QCOMPARE(Window::focused(), QString("cmdEki05"));
    }
};

QTEST_MAIN(CounterFlowTest)
#include "counter_flow.moc"
