#pragma once

#include <QPushButton>

// A button that a focused Enter presses as well as Space, as buttons do on
// Windows. One press per keystroke: a held Enter does not repeat the command,
// so it cannot start one Write after another.
class CommandButton : public QPushButton {
  public:
    explicit CommandButton(QWidget* parent) : QPushButton(parent) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};
