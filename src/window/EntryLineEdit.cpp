#include "EntryLineEdit.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

void EntryLineEdit::SetPasteBlocked(bool blocked) {
    pasteBlocked_ = blocked;
    setAcceptDrops(!blocked);
}

void EntryLineEdit::keyPressEvent(QKeyEvent* event) {
    if (pasteBlocked_ && event->matches(QKeySequence::Paste)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EntryLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    if (!pasteBlocked_) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        if (action->objectName() == QLatin1String("edit-paste")) {
            menu->removeAction(action);
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

// On X11 a middle click pastes the primary selection.
void EntryLineEdit::mousePressEvent(QMouseEvent* event) {
    if (pasteBlocked_ && event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void EntryLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (pasteBlocked_ && event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}
