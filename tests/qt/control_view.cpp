// The widgets of a small hand-made screen: what reaches a handler and what
// must not.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "app/controls.h"
#include "app/qt/clerk_widgets.h"
#include "app/qt/control_view.h"

using namespace kippurun;

namespace {

// Typed characters, Japanese ones included (QTest::keyClicks takes ASCII only).
void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

Placement at(std::string name, std::string container, Geometry g, int page = -1) {
    Placement p;
    p.name = std::move(name);
    p.container = std::move(container);
    p.page = page;
    p.geometry = g;
    p.readOnly = false;
    return p;
}

// A screen of one of each kind, the way a screen model wires its handlers.
struct MiniScreen {
    CommandButton key{"cmdGo"};
    ComboBox first{"cboFirst"};
    ComboBox second{"cboSecond"};
    TextBox box{"txtBox"};
    Label label{"lblSign"};
    Frame frame{"frameBox"};
    PictureBox picture{"picBox"};
    TabControl tabs{"tabPages"};
    ControlRegistry registry;
    int keyClicks = 0, firstFocus = 0, secondFocus = 0, firstChoices = 0, labelClicks = 0,
        boxClicks = 0, tabChanges = 0;

    MiniScreen() {
        for (Control* c : std::initializer_list<Control*>{&key, &first, &second, &box, &label,
                                                          &frame, &picture, &tabs})
            registry.add(*c);
        for (const char* item : {"一", "二", "三"}) {
            first.addItem(item);
            second.addItem(item);
        }
        tabs.captions = {"表", "裏"};
        key.caption = "実 行";
        picture.geometry.height = 1500;
        key.onClick = [this] { ++keyClicks; };
        first.onGotFocus = [this] { ++firstFocus; };
        second.onGotFocus = [this] { ++secondFocus; };
        first.onClick = [this] { ++firstChoices; };
        label.onClick = [this] { ++labelClicks; };
        box.onClick = [this] { ++boxClicks; };
        tabs.onClick = [this] { ++tabChanges; };
    }

    // Controls on the second page of the tab control, one of them a frame
    // holding a drop-down.
    static std::vector<Placement> pagesLayout() {
        return {at("cmdGo", "", {0, 0, 1200, 375}),
                at("tabPages", "", {4800, 0, 4500, 4500}),
                at("txtBox", "tabPages", {150, 150, 1800, 375}, 1),
                at("frameBox", "tabPages", {150, 600, 3000, 2000}, 1),
                at("cboSecond", "frameBox", {150, 300, 1800, 375}),
                at("cboFirst", "", {0, 600, 1800, 375})};
    }

    static std::vector<Placement> layout() {
        return {at("cmdGo", "", {0, 0, 1200, 375}),
                at("frameBox", "", {0, 600, 4500, 3000}),
                at("cboFirst", "frameBox", {150, 300, 1800, 375}),
                at("cboSecond", "frameBox", {150, 900, 1800, 375}),
                at("txtBox", "frameBox", {150, 1500, 1800, 375}),
                at("lblSign", "frameBox", {2100, 300, 900, 375}),
                at("tabPages", "", {4800, 0, 4500, 4500}),
                at("picBox", "tabPages", {150, 150, 3000, 3000}, 1)};
    }
};

class Harness {
  public:
    MiniScreen screen;
    QWidget form;
    int dispatches = 0;
    ControlView view{screen.registry, MiniScreen::layout(), form, QFont(),
                     [this](const std::function<void()>& action) {
                         ++dispatches;
                         action();
                         view.sync();
                     }};

    Harness() {
        form.resize(700, 400);
        view.sync();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }
    template <class W>
    W* get(const char* name) {
        W* w = qobject_cast<W*>(view.widget(name));
        if (!w) qWarning("no widget %s", name);
        return w;
    }
};

}  // namespace

class ControlViewTest : public QObject {
    Q_OBJECT
  private slots:
    void oneClerkActionIsOneHandlerCall() {
        Harness h;
        // The handler changes every kind of widget; none of those writes may
        // come back as a further action.
        h.screen.key.onClick = [&] {
            ++h.screen.keyClicks;
            h.screen.tabs.setTab(1);
            h.screen.first.setListIndex(2);
            h.screen.box.text = "12";
            h.screen.label.caption = "済";
            h.screen.second.clear();
        };
        QTest::mouseClick(h.get<QPushButton>("cmdGo"), Qt::LeftButton);
        QCOMPARE(h.dispatches, 1);
        QCOMPARE(h.screen.keyClicks, 1);
        QCOMPARE(h.screen.tabChanges, 1);
        QCOMPARE(h.screen.firstChoices, 1);
        QCOMPARE(h.get<QTabWidget>("tabPages")->currentIndex(), 1);
        QCOMPARE(h.get<QComboBox>("cboFirst")->currentIndex(), 2);
        QCOMPARE(h.get<QComboBox>("cboSecond")->count(), 0);
        QCOMPARE(h.get<QLineEdit>("txtBox")->text(), QString("12"));
        QCOMPARE(h.get<QLabel>("lblSign")->text(), QString("済"));
    }

    void clerkFocusCallsGotFocusOnce() {
        Harness h;
        auto* key = h.get<QPushButton>("cmdGo");
        key->setFocus(Qt::OtherFocusReason);
        QCOMPARE(h.screen.firstFocus, 0);  // the program's own focus
        QTest::keyClick(key, Qt::Key_Tab);
        QVERIFY(h.get<QComboBox>("cboFirst")->hasFocus());
        QCOMPARE(h.screen.firstFocus, 1);
        // A message box closing gives the focus back to the window.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        h.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.form));
        QCOMPARE(h.screen.firstFocus, 1);
    }

    void focusGivenWhileInactiveCountsOnActivation() {
        Harness h;
        // The clerk's press can reach a list before the window system has
        // activated the window; the focus then arrives with the activation.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        h.get<QComboBox>("cboSecond")->setFocus(Qt::MouseFocusReason);
        QCOMPARE(h.screen.secondFocus, 0);
        h.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&h.form));
        QVERIFY(h.get<QComboBox>("cboSecond")->hasFocus());
        QCOMPARE(h.screen.secondFocus, 1);
    }

    void focusMovedByHidingIsNotTheClerks() {
        Harness h;
        // Focus entering the first list hides it; Qt then moves the focus on
        // to the second list, which the clerk never touched.
        h.screen.first.onGotFocus = [&] {
            ++h.screen.firstFocus;
            h.screen.first.visible = false;
        };
        h.get<QPushButton>("cmdGo")->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(h.get<QPushButton>("cmdGo"), Qt::Key_Tab);
        QCOMPARE(h.screen.firstFocus, 1);
        QVERIFY(h.get<QComboBox>("cboFirst")->isHidden());
        QCOMPARE(h.screen.secondFocus, 0);
    }

    void enterAndSpacePressAFocusedKeyOnce_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void enterAndSpacePressAFocusedKeyOnce() {
        QFETCH(int, key);
        Harness h;
        auto* button = h.get<QPushButton>("cmdGo");
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, Qt::Key(key));
        QCOMPARE(h.screen.keyClicks, 1);
        // A key held down: the window system repeats it, but the key is
        // pressed once, when it comes up, so that a question box opened by
        // the key does not take the repeats as its answer.
        auto send = [&](QEvent::Type type, bool repeat) {
            QKeyEvent event(type, key, Qt::NoModifier, QString(), repeat);
            QApplication::sendEvent(button, &event);
        };
        send(QEvent::KeyPress, false);
        for (int i = 0; i < 3; ++i) {
            send(QEvent::KeyRelease, true);
            send(QEvent::KeyPress, true);
        }
        QCOMPARE(h.screen.keyClicks, 1);
        send(QEvent::KeyRelease, false);
        QCOMPARE(h.screen.keyClicks, 2);
        QCOMPARE(h.dispatches, 2);
    }

    void keyboardChoiceIsSelectionHandling() {
        Harness h;
        QComboBox* list = h.get<QComboBox>("cboFirst");
        h.screen.first.setListIndex(0);
        h.screen.firstChoices = 0;
        h.view.sync();
        list->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(h.screen.first.listIndex(), 1);
        QCOMPARE(h.screen.firstChoices, 1);
        QCOMPARE(h.dispatches, 1);
    }

    void labelClickNeedsPressAndReleaseInside() {
        Harness h;
        QLabel* label = h.get<QLabel>("lblSign");
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(h.screen.labelClicks, 1);
        QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(label->width() + 20, 5));
        QCOMPARE(h.screen.labelClicks, 1);
    }

    void typingReachesTheModelAndClickTheHandler() {
        Harness h;
        QLineEdit* edit = h.get<QLineEdit>("txtBox");
        QTest::mouseClick(edit, Qt::LeftButton);
        QCOMPARE(h.screen.boxClicks, 1);
        typeText(edit, QStringLiteral("あ2"));
        QCOMPARE(h.screen.box.text, std::string("あ2"));
        h.screen.box.digitsOnly = true;
        h.screen.box.text.clear();
        h.view.sync();
        typeText(edit, QStringLiteral("x3y4"));
        QCOMPARE(edit->text(), QString("34"));
        QCOMPARE(h.screen.box.text, std::string("34"));
    }

    void hiddenFrameKeepsItsControlsOwnSetting() {
        Harness h;
        h.screen.frame.visible = false;
        h.view.sync();
        QWidget* list = h.view.widget("cboFirst");
        QVERIFY(!list->isVisible());
        QVERIFY(!list->isHidden());
        h.screen.frame.visible = true;
        h.view.sync();
        QVERIFY(list->isVisible());
    }

    void dropDownListOpensInTheDropDownsFace() {
        Harness h;
        auto* list = h.get<QComboBox>("cboFirst");
        QVERIFY(!list->font().bold());  // on a bold frame, in its own face
        list->showPopup();
        QCOMPARE(list->view()->font(), list->font());
        list->hidePopup();
        // A new scale changes the drop-down's face; its list takes it when it opens.
        const QFont before = list->font();
        h.view.setScale(FormScale::fitting(QSize(1400, 800), QSize(700, 400)));
        QVERIFY(list->font() != before);
        list->showPopup();
        QCOMPARE(list->view()->font(), list->font());
        QCOMPARE(list->view()->window()->font(), list->font());
        list->hidePopup();
    }

    void pictureTakesTheModelsHeight() {
        Harness h;
        QWidget* picture = h.view.widget("picBox");
        QCOMPARE(picture->height(), 100);
        h.screen.picture.geometry.height = 1020;
        h.view.sync();
        QCOMPARE(picture->height(), 68);
        QCOMPARE(picture->width(), 200);
    }

    void clerkTabChangeIsForwarded() {
        Harness h;
        auto* tabs = h.get<QTabWidget>("tabPages");
        QTabBar* bar = tabs->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QCOMPARE(h.screen.tabs.tab(), 1);
        QCOMPARE(h.screen.tabChanges, 1);
        QCOMPARE(tabs->tabText(1), QString("裏"));
    }

    // The pages behind the one a screen opens on are built after its first
    // frame: then in their places, up to date and in the layout's Tab order.
    void pagesBehindFollowTheFirstFrame() {
        MiniScreen screen;
        screen.box.text = "12";
        QWidget form;
        form.resize(700, 400);
        ControlView view(screen.registry, MiniScreen::pagesLayout(), form, QFont(),
                         [](const std::function<void()>& a) { a(); });
        view.sync();
        QVERIFY(!view.pagesBehindBuilt());
        QVERIFY(!form.findChild<QLineEdit*>("txtBox"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_VERIFY(view.pagesBehindBuilt());
        QVERIFY(view.unknownNames().empty());
        auto* tabs = form.findChild<QTabWidget*>("tabPages");
        auto* edit = form.findChild<QLineEdit*>("txtBox");
        QVERIFY(edit);
        QCOMPARE(edit->parentWidget(), tabs->widget(1));
        QCOMPARE(edit->text(), QString("12"));
        QCOMPARE(form.findChild<QWidget*>("cboSecond")->parentWidget(),
                 form.findChild<QWidget*>("frameBox"));
        // Tab from the first key: the layout's order, the late widgets in it.
        const QStringList bound{"cmdGo", "tabPages", "txtBox", "cboSecond", "cboFirst"};
        QStringList stops;
        QWidget* w = view.widget("cmdGo");
        do {
            if (bound.contains(w->objectName()) && (w->focusPolicy() & Qt::TabFocus))
                stops << w->objectName();
            w = w->nextInFocusChain();
        } while (w != view.widget("cmdGo"));
        QCOMPARE(stops, bound);
    }

    // A screen that opens on another page: that page is built with the
    // form, and the first page is one of those behind.
    void pagesBehindOfAScreenOpenedOnAnotherPage() {
        MiniScreen screen;
        screen.tabs.restore(1);
        QWidget form;
        std::vector<Placement> layout = MiniScreen::pagesLayout();
        layout.push_back(at("lblSign", "tabPages", {150, 150, 900, 375}, 0));
        ControlView view(screen.registry, layout, form, QFont(),
                         [](const std::function<void()>& a) { a(); });
        view.sync();
        auto* tabs = form.findChild<QTabWidget*>("tabPages");
        QCOMPARE(tabs->currentIndex(), 1);
        QVERIFY(form.findChild<QLineEdit*>("txtBox"));
        QVERIFY(!form.findChild<QLabel*>("lblSign"));
        screen.tabs.setTab(0);
        view.sync();
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(view.pagesBehindBuilt());
        QCOMPARE(form.findChild<QLabel*>("lblSign")->parentWidget(), tabs->widget(0));
    }

    // Whatever needs a page behind before the first frame has it at once.
    void pagesBehindComeAsSoonAsNeeded_data() {
        QTest::addColumn<QString>("need");
        for (const char* need : {"look-up", "model", "click", "keyboard"})
            QTest::newRow(need) << need;
    }
    void pagesBehindComeAsSoonAsNeeded() {
        QFETCH(QString, need);
        MiniScreen screen;
        QWidget form;
        form.resize(700, 400);
        ControlView view(screen.registry, MiniScreen::pagesLayout(), form, QFont(),
                         [&view](const std::function<void()>& a) {
                             a();
                             view.sync();
                         });
        view.sync();
        form.show();  // no event handled yet: the first frame is still to come
        QVERIFY(!view.pagesBehindBuilt());
        auto* tabs = form.findChild<QTabWidget*>("tabPages");
        bool pageReady = false;
        QObject::connect(tabs, &QTabWidget::currentChanged, [&](int page) {
            pageReady = tabs->widget(page)->findChild<QLineEdit*>("txtBox") != nullptr;
        });
        if (need == "look-up") {
            // The widget looked up is the one on its page, not a stand-in.
            QWidget* box = view.widget("txtBox");
            pageReady = box && tabs->widget(1)->isAncestorOf(box);
        } else if (need == "model") {
            screen.tabs.setTab(1);
            view.sync();  // the page changes with the widget's signals blocked
            pageReady =
                tabs->currentIndex() == 1 && tabs->widget(1)->findChild<QLineEdit*>("txtBox");
        } else if (need == "click") {
            QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                              tabs->tabBar()->tabRect(1).center());
        } else {
            QTest::keyClick(tabs, Qt::Key_Tab, Qt::ControlModifier);
        }
        QVERIFY(view.pagesBehindBuilt());
        QVERIFY(pageReady);
        QCOMPARE(view.widget("txtBox")->isVisible(), need != "look-up");
    }

    // The view's group frames and tab control are the style's own: to the
    // pixel what a stock widget of the same title, face and size shows.
    void framesLookAsStockWidgets_data() {
        QTest::addColumn<QString>("caption");
        QTest::newRow("no title") << QString();
        QTest::newRow("title") << QString("人数");
        QTest::newRow("long title") << QString("乗車券・料金券の区間");
    }
    void framesLookAsStockWidgets() {
        QFETCH(QString, caption);
        Harness h;
        h.screen.frame.caption = caption.toStdString();
        h.view.sync();
        auto* frame = h.get<QGroupBox>("frameBox");
        auto* tabs = h.get<QTabWidget>("tabPages");
        QVERIFY(frame && tabs);
        QCOMPARE(frame->title(), caption);

        QWidget form;
        QGroupBox stockFrame(&form);
        stockFrame.setFont(frame->font());
        stockFrame.setTitle(caption);
        stockFrame.resize(frame->size());
        // The frame alone: what it holds is the view's other widgets.
        auto frameOnly = [](QWidget& widget) {
            QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            widget.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
            return image;
        };
        QCOMPARE(frameOnly(*frame), frameOnly(stockFrame));

        QTabWidget stockTabs(&form);
        stockTabs.setFont(tabs->font());
        for (int page = 0; page < tabs->count(); ++page)
            stockTabs.addTab(new QWidget(&stockTabs), tabs->tabText(page));
        stockTabs.resize(tabs->size());
        QCOMPARE(tabs->currentIndex(), 0);  // the page in front holds nothing
        QCOMPARE(tabs->grab().toImage(), stockTabs.grab().toImage());
    }

    void unplacedAndUnknownControls() {
        MiniScreen screen;
        QWidget form;
        std::vector<Placement> layout = MiniScreen::layout();
        layout.push_back(at("cmdNowhere", "", {0, 0, 100, 100}));
        ControlView view(screen.registry, layout, form, QFont(),
                         [](const std::function<void()>& a) { a(); });
        QCOMPARE(view.unknownNames(), std::vector<std::string>{"cmdNowhere"});
        QCOMPARE(view.widget("cmdNowhere"), nullptr);
        QVERIFY(qobject_cast<QGroupBox*>(view.widget("frameBox")));
        QCOMPARE(view.widget("cboFirst")->parentWidget(), view.widget("frameBox"));
    }
};

QTEST_MAIN(ControlViewTest)
#include "control_view.moc"
