#pragma once

#include <QObject>

class QWidget;

namespace torvanik {

// While it lives, no click, key, shortcut, wheel turn or tip reaches `window` or anything
// in it: such input is dropped, not kept for later; the pointer shows the wait cursor over
// the window. Other windows (a dialog the work asks a question in) take input as ever.
class InputHold : public QObject {
  public:
    explicit InputHold(QWidget& window);
    ~InputHold() override;
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool InHeldWindow(QObject* watched) const;

    QWidget& window_;
};

}  // namespace torvanik
