#include "markup/reference_topics.h"

#include "platform/ansi.h"
#include "recdb/record_index.h"

#include <QFontMetrics>
#include <QPainter>

namespace markup {

void DrawTopicItem(QPainter& painter, const QRect& rect, int index, std::string_view entry,
                   bool selected, const TTopicItemStyle& style) {
    const QColor back = selected ? QColor(0, 0, 128) : style.ListColour;
    const QColor text = selected ? QColor(Qt::white) : style.TextColour;
    painter.fillRect(rect, back);
    if (index < 0)
        return;
    painter.save();
    painter.setFont(style.Font);
    painter.setPen(text);
    // Transparent text: the filled background stays untouched around it.
    painter.setBackgroundMode(Qt::TransparentMode);
    const int ascent = QFontMetrics(style.Font).ascent();
    painter.setClipRect(rect);
    painter.drawText(QPoint(rect.left() + 5, rect.top() + ascent),
                     plat::FromAnsi(EntryTitle(entry)));
    painter.restore();
}

} // namespace markup
