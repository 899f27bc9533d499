// The window's place on a Japanese desktop: Qt's own texts in Japanese and
// the program's icon.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "app/qt/desktop.h"

using namespace kippurun;

class DesktopTest : public QObject {
    Q_OBJECT
  private slots:
    void qtsOwnTextsAreJapanese() {
        QLineEdit edit(QStringLiteral("岡山"));
        const auto actionTexts = [&edit] {
            QStringList texts;
            std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
            for (QAction* action : menu->actions())
                if (!action->isSeparator()) texts << action->text();
            return texts.join('|');
        };
        const QString english = actionTexts();
        QVERIFY2(english.contains("Copy"), qPrintable(english));
        QVERIFY(installJapaneseTexts(*qApp));
        const QString japanese = actionTexts();
        QVERIFY2(japanese.contains(QStringLiteral("コピー")), qPrintable(japanese));
        QVERIFY2(japanese.contains(QStringLiteral("貼り付け")), qPrintable(japanese));
        QVERIFY2(!japanese.contains("Copy"), qPrintable(japanese));
        QCOMPARE(QLocale().language(), QLocale::Japanese);
    }

    void theIconIsDrawn() {
        const QIcon icon = programIcon();
        QVERIFY(!icon.isNull());
        for (int side : {16, 48, 256}) {
            const QImage image = icon.pixmap(side, side).toImage();
            QCOMPARE(image.size(), QSize(side, side));
            // The green ground in the middle of the left edge, clear corners.
            const QColor ground = image.pixelColor(side * 10 / 128, side / 2);
            QVERIFY2(ground.green() > 90 && ground.red() < 60, qPrintable(ground.name()));
            QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        }
    }

    void noDisplayMessageNamesTheCause() {
        qputenv("QT_QPA_PLATFORM", "");
        qunsetenv("QT_QPA_PLATFORM");
        qunsetenv("WAYLAND_DISPLAY");
        qputenv("DISPLAY", ":42");
        QVERIFY(noDisplayMessage().contains(":42"));
        qunsetenv("DISPLAY");
        QVERIFY(noDisplayMessage().contains("DISPLAY"));
        QVERIFY(noDisplayMessage().contains("--script"));
        qputenv("WAYLAND_DISPLAY", "wayland-9");
        QVERIFY(noDisplayMessage().contains("wayland-9"));
        QVERIFY(!noDisplayMessage().contains('\n'));
    }
};

QTEST_MAIN(DesktopTest)
#include "desktop.moc"
