#include "app/qt/window_prompt.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace kippurun {

namespace {

class ClerkMessageBox : public QMessageBox {
  public:
    ClerkMessageBox(Icon icon, const QString& title, const QString& text, StandardButtons buttons,
                    QWidget* parent)
        : QMessageBox(icon, title, text, buttons, parent) {}

  protected:
    void showEvent(QShowEvent* event) override {
        const auto* dresser = dynamic_cast<const BoxDresser*>(parentWidget());
        if (dresser) dresser->dressBox(*this);
        QMessageBox::showEvent(event);
        if (dresser) dresser->placeBox(*this);
        // Without a window manager nobody else gives the box the keyboard.
        activateWindow();
    }
};

}  // namespace

PromptAnswer MessageBoxPrompt::ask(const std::string& title, const std::string& text,
                                   PromptButtons buttons) {
    QMessageBox::StandardButtons choice = QMessageBox::Yes | QMessageBox::No;
    if (buttons == PromptButtons::YesNoCancel) choice |= QMessageBox::Cancel;
    ClerkMessageBox box(QMessageBox::Question, QString::fromStdString(title),
                        QString::fromStdString(text), choice, parent_);
    // The clerk's own words on the buttons, whatever translations are installed.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
    if (QAbstractButton* cancel = box.button(QMessageBox::Cancel))
        cancel->setText(QStringLiteral("キャンセル"));
    // A stray Enter must lose nothing: it answers No (Cancel where offered).
    box.setDefaultButton(buttons == PromptButtons::YesNoCancel ? QMessageBox::Cancel
                                                               : QMessageBox::No);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        default:
            // Escape or the box's own close: the safe answer of the buttons shown.
            return buttons == PromptButtons::YesNoCancel ? PromptAnswer::Cancel : PromptAnswer::No;
    }
}

void MessageBoxPrompt::inform(const std::string& title, const std::string& text) {
    ClerkMessageBox box(QMessageBox::Warning, QString::fromStdString(title),
                        QString::fromStdString(text), QMessageBox::Ok, parent_);
    box.exec();
}

PromptAnswer SyncedPrompt::ask(const std::string& title, const std::string& text,
                               PromptButtons buttons) {
    if (beforeShow_) beforeShow_();
    const PromptAnswer answer = inner_.ask(title, text, buttons);
    if (afterShow_) afterShow_();
    return answer;
}

void SyncedPrompt::inform(const std::string& title, const std::string& text) {
    if (beforeShow_) beforeShow_();
    inner_.inform(title, text);
    if (afterShow_) afterShow_();
}

}  // namespace kippurun
