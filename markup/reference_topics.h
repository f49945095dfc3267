#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <cstdint>
#include <string>
#include <string_view>

class QPainter;

namespace markup {

// The entries of the reference page's topic list are "recno|title" (see
// EntryRecNo and EntryTitle); only the title is ever shown.

// How the owner-drawn list paints one entry in `rect`: the list's colours, or
// white on navy when selected; the title 5 pixels in from the left, at the
// top. A negative index paints only the background.
struct TTopicItemStyle {
    QFont Font;
    QColor ListColour = Qt::white;
    QColor TextColour = Qt::black;
};
void DrawTopicItem(QPainter& painter, const QRect& rect, int index, std::string_view entry,
                   bool selected, const TTopicItemStyle& style);

} // namespace markup
