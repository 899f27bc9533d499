#include "app/qt/window_prompt.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace kippurun {

PromptAnswer MessageBoxPrompt::ask(const std::string& title, const std::string& text,
                                   PromptButtons buttons) {
    QMessageBox::StandardButtons choice = QMessageBox::Yes | QMessageBox::No;
    if (buttons == PromptButtons::YesNoCancel) choice |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, QString::fromStdString(title),
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
    QMessageBox::warning(parent_, QString::fromStdString(title), QString::fromStdString(text));
}

PromptAnswer SyncedPrompt::ask(const std::string& title, const std::string& text,
                               PromptButtons buttons) {
    if (beforeShow_) beforeShow_();
    return inner_.ask(title, text, buttons);
}

void SyncedPrompt::inform(const std::string& title, const std::string& text) {
    if (beforeShow_) beforeShow_();
    inner_.inform(title, text);
}

}  // namespace kippurun
