#pragma once

#include "protocol/ResponseTimer.h"

#include <QTimer>

#include <functional>

// The response timer over a single-shot QTimer.
class QtResponseTimer : public ResponseTimer {
  public:
    explicit QtResponseTimer(std::function<void()> onTick);

    void Start(int intervalMs) override;
    void Stop() override;
    bool IsRunning() const override;

  private:
    QTimer timer_;
};
