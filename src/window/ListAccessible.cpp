#include "ListAccessible.h"

#include <QAbstractItemView>

namespace {
QAccessibleInterface* ForPlainComboBox(const QString& className, QObject* object) {
    auto* list = qobject_cast<QComboBox*>(object);
    if (list == nullptr || className != QLatin1String("QComboBox")) {
        return nullptr;
    }
    return new ListAccessible(list);
}
} // namespace

ListAccessible::ListAccessible(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

void ListAccessible::Install() {
    QAccessible::installFactory(ForPlainComboBox);
}

QComboBox* ListAccessible::List() const {
    return static_cast<QComboBox*>(widget());
}

QString ListAccessible::text(QAccessible::Text t) const {
    const QString own = QAccessibleWidget::text(t);
    if (t == QAccessible::Value || (t == QAccessible::Name && own.isEmpty())) {
        return List()->currentText();
    }
    return own;
}

// The one child is the popup's list of entries.
int ListAccessible::childCount() const {
    return 1;
}

QAccessibleInterface* ListAccessible::child(int index) const {
    return index == 0 ? QAccessible::queryAccessibleInterface(List()->view()) : nullptr;
}

int ListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child != nullptr && child->object() == List()->view() ? 0 : -1;
}

QStringList ListAccessible::actionNames() const {
    return QAccessibleWidget::actionNames() << showMenuAction() << pressAction();
}

void ListAccessible::doAction(const QString& actionName) {
    if (actionName != showMenuAction() && actionName != pressAction()) {
        QAccessibleWidget::doAction(actionName);
        return;
    }
    if (List()->view()->isVisible()) {
        List()->hidePopup();
    } else {
        List()->showPopup();
    }
}

QStringList ListAccessible::keyBindingsForAction(const QString&) const {
    return {};
}
