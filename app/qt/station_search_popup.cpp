#include "app/qt/station_search_popup.h"

#include <algorithm>

#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QVBoxLayout>

#include "app/qt/clerk_widgets.h"
#include "data/station_catalogue.h"
#include "data/station_search.h"

namespace kippurun {

namespace {

constexpr int VisibleRows = 10;

}  // namespace

StationSearchPopup::StationSearchPopup(QComboBox& list)
    : QFrame(&list, Qt::Popup),
      list_(list),
      line_(new QLineEdit(this)),
      found_(new QListWidget(this)) {
    setObjectName(QStringLiteral("stationSearch"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(line_);
    layout->addWidget(found_);
    line_->setPlaceholderText(QStringLiteral("読み（ローマ字・かな）か駅番号"));
    line_->setAttribute(Qt::WA_InputMethodEnabled);
    line_->installEventFilter(this);
    found_->setFocusPolicy(Qt::NoFocus);
    found_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    found_->setUniformItemSizes(true);
    connect(line_, &QLineEdit::textChanged, this, [this] { refill(); });
    connect(found_, &QListWidget::itemClicked, this, [this] { take(); });
}

int StationSearchPopup::rowHeight() const {
    return std::max(fontMetrics().height() + 6, qRound(list_.height() * 0.8));
}

void StationSearchPopup::open(const QString& typed) {
    setFont(list_.font());
    setScrollBarWidth(*found_, qRound(list_.height() * 0.6));
    const int rows = rowHeight() * VisibleRows + 2 * found_->frameWidth();
    const QSize size(
        std::max(list_.width(), fontMetrics().horizontalAdvance(QString(12, QChar(0x3000)))),
        line_->sizeHint().height() + rows + 8);
    QPoint at = list_.mapToGlobal(QPoint(0, list_.height()));
    if (const QScreen* screen = list_.screen()) {
        const QRect room = screen->availableGeometry();
        if (at.y() + size.height() > room.bottom())
            at.setY(std::max(room.top(), list_.mapToGlobal(QPoint()).y() - size.height()));
        at.setX(
            std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - size.width())));
    }
    setGeometry(QRect(at, size));
    line_->setText(typed);
    refill();
    show();
    activateWindow();
    line_->setFocus(Qt::PopupFocusReason);
}

void StationSearchPopup::refill() {
    std::vector<std::string> names;
    names.reserve(std::size_t(list_.count()));
    for (int i = 0; i < list_.count(); ++i) names.push_back(list_.itemText(i).toStdString());
    positions_ = findStations(names, line_->text().toStdString());
    found_->clear();
    const QSize row(0, rowHeight());
    for (int position : positions_) {
        const std::string& name = names[std::size_t(position)];
        const auto& catalogue = stationNames();
        const auto number = std::find(catalogue.begin(), catalogue.end(), name) - catalogue.begin();
        auto* item = new QListWidgetItem(
            QStringLiteral("%1　%2").arg(QString::fromStdString(name)).arg(number), found_);
        item->setSizeHint(row);
    }
    if (positions_.empty()) {
        auto* item = new QListWidgetItem(line_->text().isEmpty()
                                             ? QStringLiteral("読みか駅番号を入力してください")
                                             : QStringLiteral("当てはまる駅がありません"),
                                         found_);
        item->setFlags(Qt::NoItemFlags);
        item->setSizeHint(row);
    } else {
        found_->setCurrentRow(0);
    }
}

void StationSearchPopup::take() {
    const int row = found_->currentRow();
    if (row < 0 || row >= int(positions_.size())) return;
    const int position = positions_[std::size_t(row)];
    hide();
    emit chosen(position);
}

bool StationSearchPopup::eventFilter(QObject* watched, QEvent* event) {
    if (watched != line_ || event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const int rows = found_->count();
    int row = found_->currentRow();
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            take();
            return true;
        case Qt::Key_Escape:
            hide();
            return true;
        case Qt::Key_Down:
            row = std::min(row + 1, int(positions_.size()) - 1);
            break;
        case Qt::Key_Up:
            row = std::max(row - 1, 0);
            break;
        case Qt::Key_PageDown:
            row = std::min(row + VisibleRows, int(positions_.size()) - 1);
            break;
        case Qt::Key_PageUp:
            row = std::max(row - VisibleRows, 0);
            break;
        default:
            return QFrame::eventFilter(watched, event);
    }
    if (rows > 0 && !positions_.empty()) found_->setCurrentRow(row);
    return true;
}

}  // namespace kippurun
