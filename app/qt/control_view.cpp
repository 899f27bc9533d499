#include "app/qt/control_view.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QWidget>

#include "app/qt/clerk_widgets.h"

namespace kippurun {

namespace {

QColor toQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

QString toQString(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QRect toPixels(const Geometry& g) {
    return QRect(g.left / TwipsPerPixel, g.top / TwipsPerPixel, g.width / TwipsPerPixel,
                 g.height / TwipsPerPixel);
}

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

class ControlView::Binding {
  public:
    virtual ~Binding() = default;
    virtual QWidget& widget() = 0;
    virtual void sync() = 0;
};

namespace {

using Forward = std::function<void(const std::function<void()>&)>;
using FocusTest = std::function<bool(QWidget*, Qt::FocusReason)>;

class KeyBinding : public ControlView::Binding {
  public:
    KeyBinding(CommandButton& key, QWidget* parent, const QFont& font, const Forward& forward)
        : key_(key), button_(new ClerkKey(parent)) {
        button_->setFont(font);
        QObject::connect(button_, &QPushButton::clicked,
                         [this, forward] { forward([this] { key_.press(); }); });
    }
    QWidget& widget() override { return *button_; }
    void sync() override {
        QSignalBlocker block(button_);
        if (key_.caption != caption_) {
            caption_ = key_.caption;
            button_->setText(toQString(caption_));
        }
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
    DropDownBinding(ComboBox& list, QWidget* parent, const QFont& font, const Forward& forward,
                    const FocusTest& isClerkFocus)
        : list_(list), box_(new FocusComboBox(parent)) {
        box_->setFont(font);
        box_->setEditable(false);
        box_->setMaxVisibleItems(20);
        QObject::connect(box_, &QComboBox::activated, [this, forward](int index) {
            forward([this, index] { list_.setListIndex(index); });
        });
        QObject::connect(box_, &FocusComboBox::focusEntered,
                         [this, forward, isClerkFocus](Qt::FocusReason reason) {
                             if (isClerkFocus(box_, reason)) forward([this] { list_.gotFocus(); });
                         });
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
        if (box_->currentIndex() != list_.listIndex()) box_->setCurrentIndex(list_.listIndex());
        if (box_->isEnabled() != list_.enabled) box_->setEnabled(list_.enabled);
        setShown(*box_, list_.visible);
    }

  private:
    ComboBox& list_;
    FocusComboBox* box_;
    std::vector<std::string> items_;
};

class TextBinding : public ControlView::Binding {
  public:
    TextBinding(TextBox& box, QWidget* parent, const QFont& font, bool readOnly,
                const Forward& forward)
        : box_(box), edit_(new ClickableLineEdit(parent)) {
        edit_->setFont(font);
        edit_->setReadOnly(readOnly);
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
    LabelBinding(Label& label, QWidget* parent, const QFont& base, const Placement& placement,
                 const Forward& forward)
        : label_(label), widget_(new ClickableLabel(parent)), base_(base), placement_(placement) {
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
            QFont font = placedFont(base_, placement_, true);
            if (pointSize_ > 0) font.setPointSize(pointSize_);
            widget_->setFont(font);
        }
        setRole(*widget_, QPalette::WindowText, toQColor(label_.foreColor));
        const bool filled = !label_.transparent && placement_.background.has_value();
        if (filled) setRole(*widget_, QPalette::Window, toQColor(*placement_.background));
        if (widget_->autoFillBackground() != filled) widget_->setAutoFillBackground(filled);
        setShown(*widget_, label_.visible);
    }

  private:
    Label& label_;
    ClickableLabel* widget_;
    QFont base_;
    const Placement placement_;
    std::string caption_;
    int pointSize_ = -1;
};

class FrameBinding : public ControlView::Binding {
  public:
    FrameBinding(Frame& frame, QWidget* parent, const QFont& font)
        : frame_(frame), box_(new QGroupBox(parent)) {
        box_->setFont(font);
    }
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
    PictureBinding(PictureBox& picture, QWidget* parent, const Placement& placement)
        : picture_(picture), frame_(new QFrame(parent)), placement_(placement) {
        frame_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame_->setAutoFillBackground(true);
    }
    QWidget& widget() override { return *frame_; }
    void sync() override {
        QSignalBlocker block(frame_);
        // Only the height is the model's: the calendar shortens to five rows.
        Geometry g = placement_.geometry;
        if (picture_.geometry.height > 0) g.height = picture_.geometry.height;
        const QRect rect = toPixels(g);
        if (frame_->geometry() != rect) frame_->setGeometry(rect);
        setRole(*frame_, QPalette::Window, toQColor(picture_.backColor));
        setShown(*frame_, picture_.visible);
    }

  private:
    PictureBox& picture_;
    QFrame* frame_;
    const Placement placement_;
};

class TabBinding : public ControlView::Binding {
  public:
    TabBinding(TabControl& tabs, QWidget* parent, const QFont& font, const Forward& forward)
        : tabs_(tabs), widget_(new QTabWidget(parent)) {
        widget_->setFont(font);
        for (const std::string& caption : tabs_.captions)
            widget_->addTab(new QWidget(widget_), toQString(caption));
        QObject::connect(widget_, &QTabWidget::currentChanged, [this, forward](int page) {
            forward([this, page] { tabs_.setTab(page); });
        });
    }
    QWidget& widget() override { return *widget_; }
    QWidget* page(int index) const { return widget_->widget(index); }
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

ControlView::ControlView(const ControlRegistry& registry, const std::vector<Placement>& layout,
                         QWidget& form, const QFont& font, Dispatch dispatch)
    : form_(form), dispatch_(std::move(dispatch)) {
    const Forward forward = [this](const std::function<void()>& action) { this->forward(action); };
    const FocusTest clerkFocus = [this](QWidget* w, Qt::FocusReason r) {
        return isClerkFocus(w, r);
    };
    // Qt reports the change after the widget's own focus event, so the
    // widget that had the focus before is still known there.
    focusTracking_ =
        QObject::connect(qApp, &QApplication::focusChanged, [this](QWidget*, QWidget* now) {
            if (now && form_.isAncestorOf(now)) lastFocus_ = now;
        });
    std::unordered_map<std::string, TabBinding*> tabs;
    for (const Placement& placement : layout) {
        Control* control = registry.find(placement.name);
        if (!control) {
            unknown_.push_back(placement.name);
            continue;
        }
        QWidget* parent = &form;
        if (!placement.container.empty()) {
            auto tab = tabs.find(placement.container);
            auto it = widgets_.find(placement.container);
            if (tab != tabs.end())
                parent = tab->second->page(placement.page);
            else
                parent = it != widgets_.end() ? it->second : nullptr;
            if (!parent) {
                unknown_.push_back(placement.name);
                continue;
            }
        }
        std::unique_ptr<Binding> binding;
        switch (control->kind()) {
            case ControlKind::Key:
                binding =
                    std::make_unique<KeyBinding>(static_cast<CommandButton&>(*control), parent,
                                                 placedFont(font, placement, true), forward);
                break;
            case ControlKind::DropDown:
                binding = std::make_unique<DropDownBinding>(
                    static_cast<ComboBox&>(*control), parent, placedFont(font, placement, false),
                    forward, clerkFocus);
                break;
            case ControlKind::TextBox:
                binding = std::make_unique<TextBinding>(static_cast<TextBox&>(*control), parent,
                                                        placedFont(font, placement, false),
                                                        placement.readOnly, forward);
                break;
            case ControlKind::Label:
                binding = std::make_unique<LabelBinding>(static_cast<Label&>(*control), parent,
                                                         font, placement, forward);
                break;
            case ControlKind::Frame:
                binding = std::make_unique<FrameBinding>(static_cast<Frame&>(*control), parent,
                                                         placedFont(font, placement, true));
                break;
            case ControlKind::Picture:
                binding = std::make_unique<PictureBinding>(static_cast<PictureBox&>(*control),
                                                           parent, placement);
                break;
            case ControlKind::Tab: {
                auto tab = std::make_unique<TabBinding>(static_cast<TabControl&>(*control), parent,
                                                        placedFont(font, placement, true), forward);
                tabs.emplace(placement.name, tab.get());
                binding = std::move(tab);
                break;
            }
            case ControlKind::Option:
                // Option buttons are state holders only; no window shows one.
                unknown_.push_back(placement.name);
                continue;
        }
        QWidget& widget = binding->widget();
        widget.setObjectName(QString::fromStdString(placement.name));
        widget.setGeometry(toPixels(placement.geometry));
        if (placement.behind) widget.lower();
        widgets_.emplace(placement.name, &widget);
        bindings_.push_back(std::move(binding));
    }
}

ControlView::~ControlView() { QObject::disconnect(focusTracking_); }

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
    syncing_ = true;
    for (const auto& binding : bindings_) binding->sync();
    syncing_ = false;
}

QWidget* ControlView::widget(std::string_view name) const {
    auto it = widgets_.find(std::string(name));
    return it == widgets_.end() ? nullptr : it->second;
}

void ControlView::retire() {
    retired_ = true;
    QObject::disconnect(focusTracking_);
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
