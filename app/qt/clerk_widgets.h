#pragma once
// Qt widgets that report the clerk's own clicks and focus, which the stock
// widgets do not signal.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

class QFocusEvent;
class QMouseEvent;

namespace kippurun {

// A label that signals a click: a press and a release inside it.
class ClickableLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

class ClickableLineEdit : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;
  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

// A drop-down that signals the focus entering it, with Qt's reason.
class FocusComboBox : public QComboBox {
    Q_OBJECT
  public:
    using QComboBox::QComboBox;
  signals:
    void focusEntered(Qt::FocusReason reason);

  protected:
    void focusInEvent(QFocusEvent* event) override;
};

}  // namespace kippurun
