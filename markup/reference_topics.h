#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <cstdint>
#include <string>
#include <string_view>

class QPainter;

namespace markup {

// The entries of the reference page's topic list: "recno|title", of which
// only the title is ever shown. (In a namespace of its own: the record
// database's start-up code has a TopicTitle that gives nothing without "|".)

// The text after the first "|" (the whole entry when it holds none).
std::string_view TopicTitle(std::string_view entry);
// The record a chosen entry shows: the whole number before the first "|",
// 0 (show nothing) without a "|" or a number.
int32_t TopicRecNo(std::string_view entry);

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
