#pragma once

#include <QObject>
#include <array>

class QLabel;
class QStatusBar;

namespace torvanik {

// The status bar's three indicator panes: Caps Lock, Num Lock and Scroll Lock. Their
// states come from the X keyboard extension and are read again on every key press and
// release and when the window becomes active; elsewhere the panes stay empty.
class LockKeyIndicators : public QObject {
  public:
    explicit LockKeyIndicators(QStatusBar* bar);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Update();

    std::array<QLabel*, 3> panes_{};
};

}  // namespace torvanik
