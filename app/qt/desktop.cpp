#include "app/qt/desktop.h"

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

// The icon's resource lives in a static library: it must be named to be
// linked in, and from outside any namespace.
static void initIconResource() { Q_INIT_RESOURCE(kippurun); }

namespace kippurun {

bool installJapaneseTexts(QCoreApplication& app) {
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    QLocale::setDefault(japanese);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    bool loaded = false;
    for (const char* module : {"qtbase", "qt"}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(japanese, QString::fromLatin1(module), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(translator);
            loaded = true;
        } else {
            delete translator;
        }
    }
    return loaded;
}

QIcon programIcon() {
    initIconResource();
    return QIcon(QStringLiteral(":/kippurun.svg"));
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
    const QMessageLogContext context;
    for (const HeldMessage& m : messages) qt_message_output(m.type, context, m.text);
}

}  // namespace kippurun
