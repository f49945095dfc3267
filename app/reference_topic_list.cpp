#include "app/reference_topic_list.h"

#include "markup/reference_topics.h"
#include "platform/ansi.h"
#include "recdb/record_index.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <algorithm>

namespace {

markup::TTopicItemStyle StyleOf(const QComboBox* list) {
    markup::TTopicItemStyle style;
    style.Font = list->font();
    const QPalette::ColorGroup group = list->isEnabled() ? QPalette::Active : QPalette::Disabled;
    style.ListColour = list->palette().color(group, QPalette::Base);
    style.TextColour = list->palette().color(group, QPalette::Text);
    return style;
}

std::string EntryAt(const QComboBox* list, int index) {
    if (index < 0 || index >= list->count())
        return {};
    return plat::ToAnsi(list->itemText(index));
}

// Paints the closed box: the style's frame and arrow, then the chosen entry
// in the edit area, highlighted while the list has the focus as an
// owner-drawn drop-down list shows it.
class TClosedTopicPainter : public QObject {
public:
    explicit TClosedTopicPainter(QComboBox* list) : QObject(list), list_(list) {
        list->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != list_ || event->type() != QEvent::Paint)
            return QObject::eventFilter(watched, event);
        QStylePainter painter(list_);
        QStyleOptionComboBox option;
        option.initFrom(list_);
        option.editable = false;
        option.frame = list_->hasFrame();
        option.subControls = QStyle::SC_All;
        option.currentText.clear(); // the entry is drawn below, without its number
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field = list_->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                           QStyle::SC_ComboBoxEditField, list_);
        // The chosen entry is drawn as one row of the list, centred in the field.
        const int height = std::min(TopicItemHeight(list_), field.height());
        const QRect edit(field.left(), field.top() + (field.height() - height) / 2, field.width(),
                         height);
        const int index = list_->currentIndex();
        const bool selected = list_->hasFocus() && !list_->view()->isVisible();
        markup::DrawTopicItem(painter, edit, index, EntryAt(list_, index), selected,
                              StyleOf(list_));
        return true;
    }

private:
    QComboBox* list_;
};

} // namespace

TTopicItemDelegate::TTopicItemDelegate(QComboBox* list) : QStyledItemDelegate(list), list_(list) {}

void TTopicItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const std::string entry = plat::ToAnsi(index.data(Qt::DisplayRole).toString());
    const bool selected = option.state & QStyle::State_Selected;
    markup::DrawTopicItem(*painter, option.rect, index.row(), entry, selected, StyleOf(list_));
}

QSize TTopicItemDelegate::sizeHint(const QStyleOptionViewItem& /*option*/,
                                   const QModelIndex& index) const {
    const std::string entry = plat::ToAnsi(index.data(Qt::DisplayRole).toString());
    const QFontMetrics metrics(list_->font());
    const int width = 5 + metrics.horizontalAdvance(plat::FromAnsi(EntryTitle(entry))) + 5;
    return {width, TopicItemHeight(list_)};
}

int TopicItemHeight(const QComboBox* list) {
    const int height = list->property("ItemHeight").toInt();
    return height > 0 ? height : QFontMetrics(list->font()).height();
}

void MakeOwnerDrawnTopicList(QComboBox* list) {
    list->setEditable(false);
    list->setItemDelegate(new TTopicItemDelegate(list));
    new TClosedTopicPainter(list);
}
