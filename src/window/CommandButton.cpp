#include "CommandButton.h"

#include <QKeyEvent>

// Qt hands no key to a disabled button, so a button disabled while an
// operation runs ignores Enter as it ignores Space.
void CommandButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QPushButton::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat()) {
        click();
    }
}
