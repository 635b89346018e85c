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

QStringList FoundUpdatesListBox::checkedTexts() const
{
    QStringList texts;
    for (int i = 0; i < list_.count(); ++i)
        if (list_.item(i)->checkState() == Qt::Checked)
            texts.append(list_.item(i)->text());
    return texts;
}

void FoundUpdatesListBox::check(const QStringList& texts)
{
    for (int i = 0; i < list_.count(); ++i)
        if (texts.contains(list_.item(i)->text()))
            list_.item(i)->setCheckState(Qt::Checked);
}
