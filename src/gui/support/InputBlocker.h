// Holds the user's input back from every window while a worker reads data that the
// input could change or free: keys, clicks, the wheel and dropped files are dropped;
// painting, timers and closing the window go on. Escape is the one key that acts: it
// calls the given function, which stops the worker.
#pragma once

#include <QObject>

#include <functional>

namespace dualvex {

class InputBlocker : public QObject {
  public:
    // Blocks from construction until destruction.
    explicit InputBlocker(std::function<void()> onEscape);
    ~InputBlocker() override;
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void()> m_onEscape;
};

} // namespace dualvex
