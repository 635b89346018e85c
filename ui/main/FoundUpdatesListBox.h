#pragma once

#include "engine/FoundUpdatesList.h"

#include <QByteArray>
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

private:
    QListWidget& list_;
};
