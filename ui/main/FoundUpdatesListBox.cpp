#include "ui/main/FoundUpdatesListBox.h"

#include <QListWidget>

QByteArray updateNameOf(const QListWidgetItem& item) { return item.data(UpdateNameRole).toByteArray(); }

void FoundUpdatesListBox::clear() { list_.clear(); }

void FoundUpdatesListBox::append(const QString& text, const QByteArray& name)
{
    auto* item = new QListWidgetItem(text, &list_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    item->setData(UpdateNameRole, name);
}

int FoundUpdatesListBox::count() const { return list_.count(); }

void FoundUpdatesListBox::uncheckAll()
{
    for (int i = 0; i < list_.count(); ++i)
        list_.item(i)->setCheckState(Qt::Unchecked);
}
