#pragma once

#include <QAccessibleWidget>
#include <QComboBox>

// A drop-down list as a screen reader meets it. On Linux Qt names a list by
// its selected entry and drops the accessible name it was given, so every
// list would be heard as "KVT4610" or a band text instead of its caption.
// Here the list is named by its accessible name (or its label) and its entry
// is its value; with neither, the entry names it as before.
class ListAccessible : public QAccessibleWidget {
  public:
    explicit ListAccessible(QComboBox* list);

    // Makes Qt use this interface for every QComboBox; calling it again does nothing.
    static void Install();

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

  private:
    QComboBox* List() const;
};
