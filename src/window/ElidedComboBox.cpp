#include "ElidedComboBox.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

// The styles draw the label a pixel in from either side of the edit field.
QRect ElidedComboBox::TextRect(const QStyleOptionComboBox& option) const {
    return style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this)
        .adjusted(1, 0, -1, 0);
}

QString ElidedComboBox::ClosedText() const {
    QStyleOptionComboBox option;
    initStyleOption(&option);
    return fontMetrics().elidedText(option.currentText, Qt::ElideRight, TextRect(option).width());
}

// As QComboBox paints itself, with the label's text elided.
void ElidedComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = ClosedText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}
