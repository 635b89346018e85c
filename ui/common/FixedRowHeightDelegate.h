#pragma once

#include <QStyledItemDelegate>

// Draws a list's entries as usual, each in a row of one fixed height.
class FixedRowHeightDelegate final : public QStyledItemDelegate {
public:
    FixedRowHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), height_};
    }

private:
    int height_;
};
