#pragma once

#include <QComboBox>

// A drop-down list whose closed face shows the current entry cut short with
// "…" where it does not fit, instead of cut off mid-character. The open list,
// the tooltip and the accessible name keep the whole text; only painting
// changes, so the list keeps its place and size.
class ElidedComboBox : public QComboBox {
  public:
    explicit ElidedComboBox(QWidget* parent) : QComboBox(parent) {}

    // The text the closed list shows.
    QString ClosedText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRect TextRect(const QStyleOptionComboBox& option) const;
};
