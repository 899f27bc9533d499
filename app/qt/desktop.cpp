#include "app/qt/desktop.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QDebug>
#include <QIconEngine>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QResource>
#include <QTranslator>

// The icon's resource lives in a static library: it must be named to be
// linked in, and from outside any namespace.
static void initIconResource() { Q_INIT_RESOURCE(kippurun); }

namespace kippurun {

bool installJapaneseTexts(QCoreApplication& app) {
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // The widgets' texts are all in qtbase; "qt" is the catalogue of every
    // Qt module (qtbase again, QML, multimedia, ...), wanted only where
    // qtbase has no catalogue of its own.
    for (const char* module : {"qtbase", "qt"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(japanese, QString::fromLatin1(module), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
        delete translator;
    }
    return false;
}

namespace {

// The icon from its sizes rendered at build time: raw pixels up to 128 px,
// which the window system is offered (as it was when the window carried
// the SVG itself), a PNG above. Any other size is drawn from the nearest
// larger one.
class ProgramIconEngine : public QIconEngine {
  public:
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int wanted = std::max(size.width(), size.height());
        int side = Sides.back();
        for (const int s : Sides)
            if (s >= wanted) {
                side = s;
                break;
            }
        QPixmap pixmap = side > RawUpTo ? QPixmap(QStringLiteral(":/kippurun-%1.png").arg(side))
                                        : rawPixmap(side);
        if (pixmap.size() != size)
            pixmap = pixmap.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return pixmap;
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min(size.width(), size.height());
        return QSize(side, side);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(16, 16), QSize(32, 32), QSize(64, 64), QSize(128, 128)};
    }
    QIconEngine* clone() const override { return new ProgramIconEngine; }

  private:
    static constexpr std::array<int, 5> Sides = {16, 32, 64, 128, 256};
    static constexpr int RawUpTo = 128;

    static QPixmap rawPixmap(int side) {
        const QResource raw(QStringLiteral(":/kippurun-%1.argb").arg(side));
        if (raw.size() != qint64(side) * side * 4 ||
            raw.compressionAlgorithm() != QResource::NoCompression)
            return {};
        return QPixmap::fromImage(QImage(raw.data(), side, side, QImage::Format_ARGB32));
    }
};

}  // namespace

QIcon programIcon() {
    initIconResource();
    return QIcon(new ProgramIconEngine);
}

QString noDisplayMessage() {
    const QString tail = QStringLiteral("。画面なしで使うには --script FILE を指定してください。");
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    const QString x11 = qEnvironmentVariable("DISPLAY");
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    QString cause;
    if (!platform.isEmpty())
        cause = QStringLiteral("キップルン: 画面を開けません (QT_QPA_PLATFORM=%1)").arg(platform);
    else if (!x11.isEmpty())
        cause = QStringLiteral("キップルン: 画面 %1 に接続できません").arg(x11);
    else if (!wayland.isEmpty())
        cause = QStringLiteral("キップルン: 画面 %1 (Wayland) に接続できません").arg(wayland);
    else
        cause = QStringLiteral(
            "キップルン: 表示する画面がありません (DISPLAY も WAYLAND_DISPLAY も未設定です)");
    return cause + tail;
}

namespace {

struct HeldMessage {
    QtMsgType type;
    QString text;
};

QtMessageHandler passedOn = nullptr;

std::vector<HeldMessage>& held() {
    static std::vector<HeldMessage> messages;
    return messages;
}

void holdBack(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs((noDisplayMessage() + QLatin1Char('\n')).toUtf8().constData(), stderr);
        std::fflush(stderr);
        // Qt is half set up: nothing of it may run any more.
        std::_Exit(1);
    }
    held().push_back({type, text});
}

}  // namespace

DisplayGuard::DisplayGuard() { passedOn = qInstallMessageHandler(holdBack); }

DisplayGuard::~DisplayGuard() {
    qInstallMessageHandler(passedOn);
    const std::vector<HeldMessage> messages = std::exchange(held(), {});
    for (const HeldMessage& m : messages) {
        switch (m.type) {
            case QtDebugMsg:
                qDebug().noquote() << m.text;
                break;
            case QtInfoMsg:
                qInfo().noquote() << m.text;
                break;
            case QtWarningMsg:
                qWarning().noquote() << m.text;
                break;
            default:
                qCritical().noquote() << m.text;
                break;
        }
    }
}

}  // namespace kippurun
