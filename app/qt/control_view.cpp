#include "app/qt/control_view.h"

#include <algorithm>

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>

#include "app/qt/clerk_widgets.h"
#include "app/qt/station_search_popup.h"

namespace kippurun {

namespace {

QColor toQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

QString toQString(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QFont placedFont(const QFont& base, const Placement& placement, bool bold) {
    QFont font = base;
    if (placement.pointSize > 0) font.setPointSize(placement.pointSize);
    font.setBold(bold);
    return font;
}

void setRole(QWidget& widget, QPalette::ColorRole role, QColor colour) {
    QPalette palette = widget.palette();
    if (palette.color(role) == colour) return;
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

void setShown(QWidget& widget, bool visible) {
    // isHidden, not isVisible: a widget inside a hidden frame is not visible
    // but keeps its own setting.
    if (widget.isHidden() == visible) widget.setVisible(visible);
}

}  // namespace

QString screenFontFamily() {
    // The face may be installed under its Japanese or its English name.
    for (const QString& preferred :
         {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic")})
        if (QFontDatabase::hasFamily(preferred)) return preferred;
    return QStringLiteral("Noto Sans CJK JP");
}

// One placed control's widget. The widget keeps its designed place and face
// and is drawn at the view's scale.
class ControlView::Binding {
  public:
    Binding(const Placement& placement, const FormScale& scale, QFont font)
        : placement_(placement), scale_(scale), font_(std::move(font)) {}
    virtual ~Binding() = default;
    virtual QWidget& widget() = 0;
    virtual void sync() = 0;
    void rescale() {
        QWidget& w = widget();
        const QRect rect = scale_.toPixels(geometry(), placement_.container.empty());
        if (w.geometry() != rect) w.setGeometry(rect);
        const QFont font = scale_.font(designedFont());
        if (w.font() != font) w.setFont(font);
        rescaled();
    }
    const Placement& placement() const { return placement_; }

  protected:
    virtual Geometry geometry() const { return placement_.geometry; }
    // After the widget took its place and face at the view's scale.
    virtual void rescaled() {}
    virtual QFont designedFont() const { return font_; }

    const Placement placement_;
    const FormScale& scale_;
    QFont font_;
};

namespace {

using Forward = std::function<void(const std::function<void()>&)>;
using FocusTest = std::function<bool(QWidget*, Qt::FocusReason)>;

class KeyBinding : public ControlView::Binding {
  public:
    KeyBinding(CommandButton& key, QWidget* parent, const Placement& placement,
               const FormScale& scale, const QFont& font, const Forward& forward,
               bool pressedByEnter)
        : Binding(placement, scale, font), key_(key), button_(new ClerkKey(parent)) {
        QObject::connect(button_, &QPushButton::clicked,
                         [this, forward] { forward([this] { key_.press(); }); });
        if (!placement.functionKey.empty()) {
            QString tip = QStringLiteral("%1 キー").arg(toQString(placement.functionKey));
            if (pressedByEnter) tip += QStringLiteral("（入力欄では Enter キーでも）");
            button_->setToolTip(tip);
        }
    }
    QWidget& widget() override { return *button_; }
    void sync() override {
        QSignalBlocker block(button_);
        if (key_.caption != caption_) {
            caption_ = key_.caption;
            button_->setText(toQString(caption_));
            // A key named for its place (a station key) tells what it shows now.
            if (placement_.accessibleName != caption_)
                button_->setAccessibleDescription(toQString(caption_));
        }
        // A key without caption or handler stays clickable but is no Tab stop.
        const Qt::FocusPolicy policy =
            !caption_.empty() && key_.onClick ? Qt::StrongFocus : Qt::ClickFocus;
        if (button_->focusPolicy() != policy) button_->setFocusPolicy(policy);
        if (button_->isEnabled() != key_.enabled) button_->setEnabled(key_.enabled);
        setShown(*button_, key_.visible);
    }

  private:
    CommandButton& key_;
    QPushButton* button_;
    std::string caption_;
};

class DropDownBinding : public ControlView::Binding {
  public:
    DropDownBinding(ComboBox& list, QWidget* parent, const Placement& placement,
                    const FormScale& scale, const QFont& font, const Forward& forward,
                    const FocusTest& isClerkFocus)
        : Binding(placement, scale, font), list_(list), box_(new FocusComboBox(parent)) {
        box_->setEditable(false);
        box_->setMaxVisibleItems(20);
        QObject::connect(box_, &QComboBox::activated, [this, forward](int index) {
            forward([this, index] { list_.setListIndex(index); });
        });
        QObject::connect(box_, &FocusComboBox::focusEntered,
                         [this, forward, isClerkFocus](Qt::FocusReason reason) {
                             if (isClerkFocus(box_, reason)) forward([this] { list_.gotFocus(); });
                         });
        if (placement.stationSearch) {
            box_->setStationSearch(true);
            QObject::connect(box_, &FocusComboBox::searchTyped,
                             [this, forward](const QString& typed) { search(typed, forward); });
        }
    }
    QWidget& widget() override { return *box_; }
    void sync() override {
        QSignalBlocker block(box_);
        if (list_.items() != items_) {
            items_ = list_.items();
            box_->clear();
            QStringList texts;
            texts.reserve(qsizetype(items_.size()));
            for (const std::string& item : items_) texts.append(toQString(item));
            box_->addItems(texts);
        }
        syncPermitted();
        if (box_->currentIndex() != list_.listIndex()) box_->setCurrentIndex(list_.listIndex());
        if (box_->isEnabled() != list_.enabled) box_->setEnabled(list_.enabled);
        setShown(*box_, list_.visible);
    }

  protected:
    void rescaled() override {
        // Rows and a scroll bar a finger can find on a large touch screen.
        box_->setPopupRows(qRound(box_->height() * 0.8), qRound(box_->height() * 0.6));
    }

  private:
    // The station search's own open list, made when the clerk first types.
    void search(const QString& typed, const Forward& forward) {
        if (!popup_) {
            popup_ = new StationSearchPopup(*box_);
            QObject::connect(popup_, &StationSearchPopup::chosen, [this, forward](int position) {
                forward([this, position] { list_.setListIndex(position); });
            });
        }
        popup_->open(typed);
    }
    // Entries whose key the determinations closed are greyed: the arrows,
    // the open list and typing pass over them.
    void syncPermitted() {
        const std::function<bool(int)>& isPermitted = placement_.itemPermitted;
        auto* model = qobject_cast<QStandardItemModel*>(box_->model());
        if (!isPermitted || !model) return;
        for (int i = 0; i < model->rowCount(); ++i) {
            const bool permitted = isPermitted(i);
            if (QStandardItem* item = model->item(i); item && item->isEnabled() != permitted)
                item->setEnabled(permitted);
        }
    }

    ComboBox& list_;
    FocusComboBox* box_;
    StationSearchPopup* popup_ = nullptr;
    std::vector<std::string> items_;
};

class TextBinding : public ControlView::Binding {
  public:
    // Enter in a box the clerk types into presses `enterKey`, if any.
    TextBinding(TextBox& box, QWidget* parent, const Placement& placement, const FormScale& scale,
                const QFont& font, const Forward& forward, CommandButton* enterKey)
        : Binding(placement, scale, font), box_(box), edit_(new ClickableLineEdit(parent)) {
        edit_->setReadOnly(placement.readOnly);
        // A display box stays clickable but is no Tab stop, unless its click
        // is one of the clerk's actions: then Enter clicks it too.
        if (placement.readOnly && !placement.pressable) edit_->setFocusPolicy(Qt::ClickFocus);
        if (placement.readOnly && placement.pressable) {
            edit_->setEnterSignalled(true);
            QObject::connect(edit_, &ClickableLineEdit::enterPressed,
                             [this, forward] { forward([this] { box_.click(); }); });
        }
        if (enterKey && !placement.readOnly) {
            edit_->setEnterSignalled(true);
            QObject::connect(edit_, &ClickableLineEdit::enterPressed,
                             [enterKey, forward] { forward([enterKey] { enterKey->press(); }); });
        }
        QObject::connect(edit_, &QLineEdit::textEdited, [this, forward](const QString& text) {
            forward([this, text] { box_.typeText(text.toStdString()); });
        });
        QObject::connect(edit_, &ClickableLineEdit::clicked,
                         [this, forward] { forward([this] { box_.click(); }); });
    }
    QWidget& widget() override { return *edit_; }
    void sync() override {
        QSignalBlocker block(edit_);
        // Only a changed text is written, so the clerk's cursor stays put.
        if (toQString(box_.text) != edit_->text()) edit_->setText(toQString(box_.text));
        const Qt::Alignment align = box_.rightAligned ? Qt::AlignRight
                                    : box_.centred    ? Qt::AlignHCenter
                                                      : Qt::AlignLeft;
        if (edit_->alignment() != (align | Qt::AlignVCenter))
            edit_->setAlignment(align | Qt::AlignVCenter);
        setRole(*edit_, QPalette::Base, toQColor(box_.backColor));
        if (box_.digitsOnly != (edit_->validator() != nullptr)) {
            static const QRegularExpression digits(QStringLiteral("[0-9]*"));
            edit_->setValidator(box_.digitsOnly ? new QRegularExpressionValidator(digits, edit_)
                                                : nullptr);
        }
        const int maxLength = box_.maxLength > 0 ? box_.maxLength : 32767;
        if (edit_->maxLength() != maxLength) edit_->setMaxLength(maxLength);
        if (edit_->isEnabled() != box_.enabled) edit_->setEnabled(box_.enabled);
        setShown(*edit_, box_.visible);
    }

  private:
    TextBox& box_;
    ClickableLineEdit* edit_;
};

class LabelBinding : public ControlView::Binding {
  public:
    LabelBinding(Label& label, QWidget* parent, const Placement& placement, const FormScale& scale,
                 const QFont& base, const Forward& forward)
        : Binding(placement, scale, placedFont(base, placement, true)),
          label_(label),
          widget_(new ClickableLabel(parent)) {
        widget_->setAlignment(
            (placement.align == TextAlign::Centre ? Qt::AlignHCenter : Qt::AlignLeft) |
            Qt::AlignVCenter);
        QObject::connect(widget_, &ClickableLabel::clicked,
                         [this, forward] { forward([this] { label_.click(); }); });
    }
    QWidget& widget() override { return *widget_; }
    void sync() override {
        QSignalBlocker block(widget_);
        if (label_.caption != caption_) {
            caption_ = label_.caption;
            widget_->setText(toQString(caption_));
        }
        if (label_.pointSize != pointSize_) {
            pointSize_ = label_.pointSize;
            rescale();
        }
        setRole(*widget_, QPalette::WindowText, toQColor(label_.foreColor));
        bool filled = !label_.transparent && placement_.background.has_value();
        if (filled) setRole(*widget_, QPalette::Window, toQColor(*placement_.background));
        if (placement_.marksCell && !label_.caption.empty()) {
            // The mark alone is a thin light ring: the cell is tinted too,
            // the day's number still readable through it.
            QColor tint = toQColor(label_.foreColor);
            tint.setAlpha(110);
            setRole(*widget_, QPalette::Window, tint);
            filled = true;
        }
        if (widget_->autoFillBackground() != filled) widget_->setAutoFillBackground(filled);
        setShown(*widget_, label_.visible);
    }

  protected:
    QFont designedFont() const override {
        QFont font = font_;
        if (label_.pointSize > 0) font.setPointSize(label_.pointSize);
        return font;
    }

  private:
    Label& label_;
    ClickableLabel* widget_;
    std::string caption_;
    int pointSize_ = -1;
};

class OptionBinding : public ControlView::Binding {
  public:
    OptionBinding(OptionButton& option, QWidget* parent, const Placement& placement,
                  const FormScale& scale, const QFont& font, const Forward& forward)
        : Binding(placement, scale, font), option_(option), button_(new QRadioButton(parent)) {
        // The model keeps its group exclusive; the widgets only show it.
        button_->setAutoExclusive(false);
        QObject::connect(button_, &QRadioButton::clicked,
                         [this, forward] { forward([this] { option_.click(); }); });
    }
    QWidget& widget() override { return *button_; }
    void sync() override {
        QSignalBlocker block(button_);
        if (toQString(option_.caption) != button_->text())
            button_->setText(toQString(option_.caption));
        if (button_->isChecked() != option_.value()) button_->setChecked(option_.value());
        setShown(*button_, option_.visible);
    }

  protected:
    // The mark as large as the caption, and the selected one on its colour.
    void rescaled() override {
        const int side = QFontMetrics(button_->font()).ascent();
        QString sheet =
            QStringLiteral("QRadioButton::indicator { width: %1px; height: %1px; }").arg(side);
        if (const std::optional<Rgb>& colour = placement_.selectedColour)
            sheet +=
                QStringLiteral(" QRadioButton:checked { background: %1; border-radius: %2px; }")
                    .arg(toQColor(*colour).name())
                    .arg(std::max(2, side / 4));
        if (button_->styleSheet() != sheet) button_->setStyleSheet(sheet);
    }

  private:
    OptionButton& option_;
    QRadioButton* button_;
};

class FrameBinding : public ControlView::Binding {
  public:
    FrameBinding(Frame& frame, QWidget* parent, const Placement& placement, const FormScale& scale,
                 const QFont& font)
        : Binding(placement, scale, font), frame_(frame), box_(new QGroupBox(parent)) {}
    QWidget& widget() override { return *box_; }
    void sync() override {
        QSignalBlocker block(box_);
        if (toQString(frame_.caption) != box_->title()) box_->setTitle(toQString(frame_.caption));
        setShown(*box_, frame_.visible);
    }

  private:
    Frame& frame_;
    QGroupBox* box_;
};

class PictureBinding : public ControlView::Binding {
  public:
    PictureBinding(PictureBox& picture, QWidget* parent, const Placement& placement,
                   const FormScale& scale, const QFont& font, const Forward& forward)
        : Binding(placement, scale, font), picture_(picture) {
        if (placement.grid) {
            auto* grid = new GridFrame(parent);
            // Tab reaches the grid; a click on a cell leaves the focus where it was.
            grid->setFocusPolicy(Qt::TabFocus);
            const KeyGrid keys = *placement.grid;
            QObject::connect(grid, &GridFrame::moved, [keys, forward](int across, int down) {
                forward([keys, across, down] { moveGridMark(keys, across, down); });
            });
            QObject::connect(grid, &GridFrame::paged, [keys, forward](int pages) {
                CommandButton* key = pages < 0 ? keys.previous : keys.next;
                if (key) forward([key] { key->press(); });
            });
            QObject::connect(grid, &GridFrame::confirmed, [keys, forward] {
                if (keys.confirm) forward([key = keys.confirm] { key->press(); });
            });
            frame_ = grid;
        } else {
            frame_ = new QFrame(parent);
        }
        frame_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame_->setAutoFillBackground(true);
    }
    QWidget& widget() override { return *frame_; }
    void sync() override {
        QSignalBlocker block(frame_);
        rescale();
        setRole(*frame_, QPalette::Window, toQColor(picture_.backColor));
        setShown(*frame_, picture_.visible);
    }

  protected:
    // Only the height is the model's: the calendar shortens to five rows.
    Geometry geometry() const override {
        Geometry g = placement_.geometry;
        if (picture_.geometry.height > 0) g.height = picture_.geometry.height;
        return g;
    }

  private:
    PictureBox& picture_;
    QFrame* frame_ = nullptr;
};

class TabBinding : public ControlView::Binding {
  public:
    TabBinding(TabControl& tabs, QWidget* parent, const Placement& placement,
               const FormScale& scale, const QFont& font, const Forward& forward)
        : Binding(placement, scale, font), tabs_(tabs), widget_(new QTabWidget(parent)) {
        for (const std::string& caption : tabs_.captions)
            widget_->addTab(new QWidget(widget_), toQString(caption));
        QObject::connect(widget_, &QTabWidget::currentChanged, [this, forward](int page) {
            forward([this, page] { tabs_.setTab(page); });
        });
    }
    QWidget& widget() override { return *widget_; }
    QTabWidget& tabWidget() { return *widget_; }
    void sync() override {
        QSignalBlocker block(widget_);
        if (widget_->currentIndex() != tabs_.tab()) widget_->setCurrentIndex(tabs_.tab());
        setShown(*widget_, tabs_.visible);
    }

  private:
    TabControl& tabs_;
    QTabWidget* widget_;
};

}  // namespace

// Builds the pages behind when they are first needed: after the window's
// first frame, or before the clerk's mouse or keyboard reaches a tab
// control (Qt moves the focus into the page it brings to the front, so the
// page must have its widgets by then).
class ControlView::PagesBehind : public QObject {
  public:
    explicit PagesBehind(ControlView& view) : view_(view) {
        watched_.emplace_back(&view_.form_);
        for (const auto& [name, tabs] : view_.tabs_) {
            watched_.emplace_back(tabs.widget);
            watched_.emplace_back(tabs.widget->tabBar());
        }
        for (const QPointer<QObject>& object : watched_) object->installEventFilter(this);
    }
    // Once the pages are built; the caller may be this watcher's own filter.
    void stopWatching() {
        for (const QPointer<QObject>& object : watched_)
            if (object) object->removeEventFilter(this);
        watched_.clear();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Paint:
                if (watched == &view_.form_ && !queued_) {
                    queued_ = true;
                    QTimer::singleShot(0, this, [this] { view_.buildPagesBehind(); });
                }
                break;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::Wheel:
            case QEvent::Shortcut:
                if (watched != &view_.form_) view_.buildPagesBehind();
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    ControlView& view_;
    std::vector<QPointer<QObject>> watched_;
    bool queued_ = false;
};

ControlView::ControlView(const ControlRegistry& registry, const std::vector<Placement>& layout,
                         QWidget& form, const QFont& font, Dispatch dispatch)
    : form_(form), dispatch_(std::move(dispatch)), font_(font), enterKey_(registry.enterKey) {
    // Qt reports the change after the widget's own focus event, so the
    // widget that had the focus before is still known there.
    focusTracking_ =
        QObject::connect(qApp, &QApplication::focusChanged, [this](QWidget*, QWidget* now) {
            if (now && form_.isAncestorOf(now)) lastFocus_ = now;
        });
    for (std::size_t order = 0; order < layout.size(); ++order) {
        const Placement& placement = layout[order];
        Control* control = registry.find(placement.name);
        if (!control) {
            unknown_.push_back(placement.name);
            continue;
        }
        const bool key = control->kind() == ControlKind::Key;
        if (behindShownPage(placement)) {
            pending_.push_back({order, placement, control});
            pendingNames_.insert(placement.name);
            // The key works from the keyboard before its widget is built.
            if (key && !placement.functionKey.empty())
                addFunctionKey(placement.functionKey, static_cast<CommandButton&>(*control));
            continue;
        }
        QWidget* parent = containerOf(placement);
        if (!parent) {
            unknown_.push_back(placement.name);
            continue;
        }
        build(order, placement, *control, parent);
        if (key && !placement.functionKey.empty())
            addFunctionKey(placement.functionKey, static_cast<CommandButton&>(*control));
    }
    chainTabStops();
    tieLabels();
    if (!pending_.empty()) pagesBehind_ = std::make_unique<PagesBehind>(*this);
}

bool ControlView::behindShownPage(const Placement& placement) const {
    if (placement.container.empty()) return false;
    if (auto tabs = tabs_.find(placement.container); tabs != tabs_.end())
        return placement.page != tabs->second.openedOn;
    return pendingNames_.count(placement.container) > 0;
}

QWidget* ControlView::containerOf(const Placement& placement) const {
    if (placement.container.empty()) return &form_;
    if (auto tabs = tabs_.find(placement.container); tabs != tabs_.end())
        return tabs->second.widget->widget(placement.page);
    auto it = widgets_.find(placement.container);
    return it != widgets_.end() ? it->second : nullptr;
}

void ControlView::build(std::size_t order, const Placement& placement, Control& control,
                        QWidget* parent) {
    const Forward forward = [this](const std::function<void()>& action) { this->forward(action); };
    const FocusTest clerkFocus = [this](QWidget* w, Qt::FocusReason r) {
        return isClerkFocus(w, r);
    };
    const QFont& font = font_;
    std::unique_ptr<Binding> binding;
    switch (control.kind()) {
        case ControlKind::Key:
            binding = std::make_unique<KeyBinding>(
                static_cast<CommandButton&>(control), parent, placement, scale_,
                placedFont(font, placement, true), forward, &control == enterKey_);
            break;
        case ControlKind::DropDown:
            binding = std::make_unique<DropDownBinding>(
                static_cast<ComboBox&>(control), parent, placement, scale_,
                placedFont(font, placement, false), forward, clerkFocus);
            break;
        case ControlKind::TextBox:
            binding = std::make_unique<TextBinding>(
                static_cast<TextBox&>(control), parent, placement, scale_,
                placedFont(font, placement, false), forward, enterKey_);
            break;
        case ControlKind::Label:
            binding = std::make_unique<LabelBinding>(static_cast<Label&>(control), parent,
                                                     placement, scale_, font, forward);
            break;
        case ControlKind::Frame:
            binding =
                std::make_unique<FrameBinding>(static_cast<Frame&>(control), parent, placement,
                                               scale_, placedFont(font, placement, true));
            break;
        case ControlKind::Picture:
            binding = std::make_unique<PictureBinding>(static_cast<PictureBox&>(control), parent,
                                                       placement, scale_, font, forward);
            break;
        case ControlKind::Tab: {
            auto& model = static_cast<TabControl&>(control);
            auto tab = std::make_unique<TabBinding>(model, parent, placement, scale_,
                                                    placedFont(font, placement, true), forward);
            tabs_.emplace(placement.name, Tabs{&model, &tab->tabWidget(), model.tab()});
            binding = std::move(tab);
            break;
        }
        case ControlKind::Option:
            binding = std::make_unique<OptionBinding>(static_cast<OptionButton&>(control), parent,
                                                      placement, scale_,
                                                      placedFont(font, placement, true), forward);
            break;
    }
    QWidget& widget = binding->widget();
    widget.setObjectName(QString::fromStdString(placement.name));
    if (!placement.accessibleName.empty()) {
        widget.setAccessibleName(toQString(placement.accessibleName));
        // On Linux Qt names a drop-down by the entry it shows (and by the
        // label tied to it); what the list is goes into its description.
        if (control.kind() == ControlKind::DropDown)
            widget.setAccessibleDescription(toQString(placement.accessibleName));
    }
    binding->rescale();
    if (placement.behind) widget.lower();
    widgets_.emplace(placement.name, &widget);
    bindings_.emplace_back(order, std::move(binding));
}

void ControlView::chainTabStops() {
    // Tab in reading order: the layout's. Widgets that take no Tab are skipped
    // by Qt itself, and so are hidden and disabled ones.
    QWidget* previous = nullptr;
    for (const auto& [order, binding] : bindings_) {
        QWidget& widget = binding->widget();
        if (widget.focusPolicy() == Qt::NoFocus && !widget.focusProxy()) continue;
        if (previous) QWidget::setTabOrder(previous, &widget);
        previous = &widget;
    }
}

void ControlView::tieLabels() {
    for (const auto& [order, binding] : bindings_) {
        const std::string& captioned = binding->placement().buddyOf;
        if (captioned.empty()) continue;
        auto* label = qobject_cast<QLabel*>(&binding->widget());
        auto it = widgets_.find(captioned);
        if (label && it != widgets_.end() && label->buddy() != it->second)
            label->setBuddy(it->second);
    }
}

void ControlView::buildPagesBehind() {
    if (pending_.empty() || retired_) return;
    const std::vector<Pending> pending = std::move(pending_);
    pending_.clear();
    pendingNames_.clear();
    const std::size_t built = bindings_.size();
    for (const Pending& p : pending) {
        QWidget* parent = containerOf(p.placement);
        if (!parent) {
            unknown_.push_back(p.placement.name);
            continue;
        }
        build(p.order, p.placement, *p.control, parent);
    }
    // The new widgets show the model as the others do, without a handler
    // hearing of it.
    const bool wasSyncing = syncing_;
    syncing_ = true;
    for (std::size_t i = built; i < bindings_.size(); ++i) bindings_[i].second->sync();
    syncing_ = wasSyncing;
    std::stable_sort(bindings_.begin(), bindings_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    chainTabStops();
    tieLabels();
    if (pagesBehind_) pagesBehind_->stopWatching();
}

bool ControlView::tabsLeavingTheirPage() const {
    // Until the pages behind are built, each tab control has the page it
    // opened on and no other.
    return std::any_of(tabs_.begin(), tabs_.end(), [](const auto& entry) {
        return entry.second.model->tab() != entry.second.openedOn;
    });
}

void ControlView::addFunctionKey(const std::string& key, CommandButton& button) {
    auto* shortcut = new QShortcut(QKeySequence(toQString(key)), &form_);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setAutoRepeat(false);
    QObject::connect(shortcut, &QShortcut::activated, [this, &button] {
        const QPointer<QWidget> before = QApplication::focusWidget();
        forward([&button] { button.press(); });
        // A key that brings another page to the front hides the control the
        // clerk was on; the focus then rests on the key just pressed, so the
        // next Tab starts from a known place.
        if (retired_ || !before || before->isVisible()) return;
        if (QWidget* key = widget(button.name()); key && key->isVisible())
            key->setFocus(Qt::OtherFocusReason);
    });
    shortcuts_.emplace_back(shortcut);
}

ControlView::~ControlView() {
    QObject::disconnect(focusTracking_);
    for (const QPointer<QShortcut>& shortcut : shortcuts_) delete shortcut.data();
}

void ControlView::setScale(const FormScale& scale) {
    scale_ = scale;
    for (const auto& [order, binding] : bindings_) binding->rescale();
}

bool ControlView::isClerkFocus(QWidget* widget, Qt::FocusReason reason) const {
    switch (reason) {
        case Qt::MouseFocusReason:
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
        case Qt::ActiveWindowFocusReason:
            return widget != lastFocus_;
        default:
            return false;
    }
}

void ControlView::sync() {
    // A page coming to the front gets its widgets before it is shown.
    if (!pending_.empty() && tabsLeavingTheirPage()) buildPagesBehind();
    syncing_ = true;
    for (const auto& [order, binding] : bindings_) binding->sync();
    syncing_ = false;
}

QWidget* ControlView::widget(std::string_view name) {
    const std::string key(name);
    if (pendingNames_.count(key)) buildPagesBehind();
    auto it = widgets_.find(key);
    return it == widgets_.end() ? nullptr : it->second;
}

void ControlView::retire() {
    retired_ = true;
    QObject::disconnect(focusTracking_);
    // The key that retires the view may be one of these shortcuts: they stop
    // now, so that the next screen's shortcuts are not ambiguous, and go later.
    for (const QPointer<QShortcut>& shortcut : shortcuts_)
        if (shortcut) {
            shortcut->setEnabled(false);
            shortcut->deleteLater();
        }
    for (auto& [name, widget] : widgets_)
        if (widget->parentWidget() == &form_) {
            widget->hide();
            widget->deleteLater();
        }
}

void ControlView::forward(const std::function<void()>& action) {
    // Focus moving away from a widget the program hides arrives here during
    // sync(); it is the program's doing, not the clerk's.
    if (syncing_ || retired_) return;
    dispatch_(action);
}

}  // namespace kippurun
