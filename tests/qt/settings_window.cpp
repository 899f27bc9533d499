// The settings screen in the real window, offscreen: reached from the sales
// screen's "設 定", edited through its widgets, and left again.
#include <cstdlib>
#include <memory>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/clock.h"
#include "app/program_shell.h"
#include "app/qt/main_window.h"
#include "app/qt/window_prompt.h"
#include "tests/qt/program_window.h"
#include "tests/support/fakes.h"
#include "tests/support/table_folder.h"

using namespace kippurun;

namespace {

// The program on a copy of the sample tables, which the settings screen may
// overwrite.
// A copy of the sample tables, made before the program starts on it.
struct CopiedTables {
    testing::TableFolder folder{testing::TableFolder::Contents::Empty};
    CopiedTables() {
        std::filesystem::copy(testing::SampleTables, folder.path(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
    }
};

struct Program : CopiedTables, testing::ProgramWindow {
    explicit Program(bool messageBoxes = false)
        : ProgramWindow(folder.path(), testing::ymd(2026, 12, 9), messageBoxes) {}
    // The clerk picks an entry of a drop-down.
    void choose(const char* name, int index) const {
        auto* box = get<QComboBox>(name);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    QString keyText(const char* name) const { return get<QPushButton>(name)->text(); }
};

QByteArray keyName(int k) {
    return QByteArray("cmdEki") + (k < 10 ? "0" : "") + QByteArray::number(k);
}

const char* const Uwajima = "宇和島";
const char* const Matsuyama = "松　　山";

}  // namespace

class SettingsWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void roundTripFromSalesToSettingsAndBack() {
        Program p;
        QCOMPARE(p.window->windowTitle(), QString("キップルン"));
        p.click("cmdSettei");
        QCOMPARE(p.window->windowTitle(), QString("設定画面"));
        QCOMPARE(p.window->objectName(), QString("frmSettei"));
        QVERIFY(p.window->view().unknownNames().empty());
        QVERIFY(p.get<QRadioButton>("optEkimei")->isChecked());
        QCOMPARE(p.get<QLineEdit>("txtChaku")->text(), QString(Matsuyama));

        p.choose("cboHatsu", 106);
        p.click("cmdEki07");
        QCOMPARE(p.keyText("cmdEki07"), QString(Uwajima));
        // The clear mode through its radio button, and back.
        p.click("optClear");
        QVERIFY(p.get<QRadioButton>("optClear")->isChecked());
        QVERIFY(!p.get<QRadioButton>("optEkimei")->isChecked());
        p.click("cmdEki08");
        QCOMPARE(p.keyText("cmdEki08"), QString("08"));
        p.click("optEkimei");
        QVERIFY(p.shell.settingsScreen()->optEkimei.value());
        p.choose("cboHatsu", 20);
        p.click("txtHatsu");
        QCOMPARE(p.get<QLineEdit>("txtHatsu")->text(), QString("坂　　出"));

        p.fake.answers = {PromptAnswer::Yes};
        p.click("cmdStart");
        QCOMPARE(p.fake.questions.size(), std::size_t(1));
        QCOMPARE(p.window->windowTitle(), QString("キップルン"));
        QVERIFY(p.shell.salesScreen());
        QCOMPARE(p.keyText("cmdEki07"), QString(Uwajima));
        QCOMPARE(p.keyText("cmdEki08"), QString(""));
        QCOMPARE(p.get<QComboBox>("cboHatsu")->currentText(), QString("坂　　出"));
        QCOMPARE(p.get<QComboBox>("cboChaku")->currentText(), QString(Matsuyama));
        // The settings screen's widgets are gone once the event loop ran.
        QTest::qWait(0);
        QVERIFY(!p.window->findChild<QRadioButton*>("optEkimei"));
    }

    void theKeysStandInFourColumnsBesideTheChooser() {
        Program p;
        p.click("cmdSettei");
        const QRect panel = p.get("cboHatsu")->geometry();
        const QRect first = p.get(keyName(0).constData())->geometry();
        for (int k = 0; k < 52; ++k) {
            const QByteArray name = keyName(k);
            QWidget* key = p.get(name.constData());
            QVERIFY2(key && key->isVisible(), name.constData());
            const QRect g = key->geometry();
            // Scaled to the window: a pixel of rounding either way.
            QVERIFY2(std::abs(g.width() - first.width()) <= 1 &&
                         std::abs(g.height() - first.height()) <= 1,
                     name.constData());
            QCOMPARE(g.left(), p.get(keyName(k % 4).constData())->geometry().left());
            if (k % 4)
                QVERIFY2(g.left() > p.get(keyName(k - 1).constData())->geometry().left(),
                         name.constData());
            if (k >= 4)
                QVERIFY2(g.top() > p.get(keyName(k - 4).constData())->geometry().bottom() - 2,
                         name.constData());
            QVERIFY2(g.left() > panel.right(), name.constData());
            QVERIFY2(p.window->rect().contains(g), name.constData());
        }
        for (const char* name : {"cboHatsu", "optEkimei", "optClear", "cmdAllClear", "txtHatsu",
                                 "lblArrow", "txtChaku", "cmdStart", "lblEkimei"})
            QVERIFY2(p.window->rect().contains(p.get(name)->geometry()), name);
    }

    void closingTheWindowAsksTheSettingsQuestion() {
        Program p(true);
        p.click("cmdSettei");
        QString title, text;
        int buttons = 0;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        auto answerWith = [&](QMessageBox::ButtonRole role) {
            QTimer::singleShot(0, [&, role] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (!box) return;
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                buttons = int(box->buttons().size());
                for (QAbstractButton* b : box->buttons())
                    if (box->buttonRole(b) == role) b->click();
            });
        };
        answerWith(QMessageBox::RejectRole);  // Cancel
        p.window->close();
        QCOMPARE(title, QString("設定終了"));
        QCOMPARE(text, QString("設定を保存しますか？"));
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(buttons, 3);
        QVERIFY(p.window->isVisible());
        QCOMPARE(p.window->windowTitle(), QString("設定画面"));

        answerWith(QMessageBox::NoRole);
        p.window->close();
        QVERIFY(p.window->isVisible());
        QCOMPARE(p.window->windowTitle(), QString("キップルン"));
    }

    void aFailedSaveShowsOneMessageAndStays() {
        Program p;
        p.click("cmdSettei");
        p.choose("cboHatsu", 106);
        p.click("cmdEki07");
        std::filesystem::remove(p.folder.file("Start.csv"));
        std::filesystem::create_directory(p.folder.file("Start.csv"));
        // Yes to saving, and Yes to overwriting what changed on disk.
        p.fake.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
        p.click("cmdStart");
        QCOMPARE(p.fake.messages.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(p.fake.messages[0].first), QString("設定終了"));
        QCOMPARE(p.window->windowTitle(), QString("設定画面"));
        QCOMPARE(p.keyText("cmdEki07"), QString(Uwajima));
    }
};

QTEST_MAIN(SettingsWindowTest)
#include "settings_window.moc"
