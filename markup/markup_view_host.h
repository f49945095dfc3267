#pragma once

#include <QRect>
#include <QString>
#include <string>
#include <vector>

class GParserControl;
class QScrollArea;

// Where the main window's three markup views live: a scroll box on each of
// the pages "Test", "BkInfo" and "Help", designed at 450 x 255 at (20, 30).
inline constexpr QRect kMarkupScrollBoxRect{20, 30, 450, 255};
inline constexpr int kMarkupScrollStep = 16;

// Makes `box` a markup scroll box (no border, no horizontal scroll bar,
// vertical step 16, the hand-without-fingers cursor, the view following its
// width and painted at once when it resizes) and creates its view, named
// `viewName` (TestView, BkInfoView, HelpView): 10-point parent font, clear
// background with its picture at the top left, no focus frame, links
// underlined in the view's font. `pictureIndex` is the main window's archive
// index; it must outlive the view.
GParserControl* CreateMarkupView(QScrollArea* box, const QString& viewName,
                                 const std::vector<std::string>* pictureIndex);

// After the window is laid out for the screen size: the background picture
// is drawn at -(box position) so that it lines up with the page's own, and
// the link font takes the view's font size again.
void PlaceMarkupView(GParserControl* view, const QScrollArea* box);
