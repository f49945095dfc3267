#pragma once

#include <QStyledItemDelegate>

class QComboBox;

// The topic list of the reference page is drawn by the program: only the
// title after "recno|" shows, white on navy for the selected entry, in rows
// of the list's "ItemHeight" property. The delegate draws the open list; the
// closed box is painted the same way by an event filter.
class TTopicItemDelegate : public QStyledItemDelegate {
public:
    explicit TTopicItemDelegate(QComboBox* list);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QComboBox* list_;
};

// Makes `list` an owner-drawn topic list: the delegate for its rows and the
// painting of its closed box.
void MakeOwnerDrawnTopicList(QComboBox* list);

// The row height the list asks for: its "ItemHeight" property (16 at the
// designed size, scaled with the layout), or the font's height without one.
int TopicItemHeight(const QComboBox* list);
