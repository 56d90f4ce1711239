#pragma once

#include <QLineEdit>

// A single-line field that can refuse every way of pasting into it: the
// keyboard's paste keys, the context menu, a middle click and drag and drop.
class EntryLineEdit : public QLineEdit {
  public:
    explicit EntryLineEdit(QWidget* parent) : QLineEdit(parent) {}

    void SetPasteBlocked(bool blocked);
    bool PasteBlocked() const { return pasteBlocked_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool pasteBlocked_ = false;
};
