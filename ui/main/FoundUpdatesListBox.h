#pragma once

#include "engine/FoundUpdatesList.h"

#include <QByteArray>
#include <QStringList>
#include <QtCore/qnamespace.h>

class QListWidget;
class QListWidgetItem;

// The item data role under which each entry of the found-updates list keeps the update's
// name bytes, exactly as the update record holds them.
inline constexpr int UpdateNameRole = Qt::UserRole + 1;

// The update name bytes kept with an entry.
QByteArray updateNameOf(const QListWidgetItem& item);

// The main window's check list seen as the list the update check fills: one checkable
// entry per found update.
class FoundUpdatesListBox final : public FoundUpdatesList {
public:
    explicit FoundUpdatesListBox(QListWidget& list) : list_(list) {}

    void clear() override;
    void append(const QString& text, const QByteArray& name) override;
    int count() const override;
    void uncheckAll() override;

    // The texts of the checked entries, and checking the entries that have one of them.
    QStringList checkedTexts() const;
    void check(const QStringList& texts);

private:
    QListWidget& list_;
};
