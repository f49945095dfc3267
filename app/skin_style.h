#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

class QLabel;
class QScrollArea;
class QScrollBar;
class QWidget;
class TBaseBtn;
class TBkControl;

// The window's colours and the settings of its kinds of controls, kept in one
// place so that the pages and the generated pictures agree.
namespace skin {

inline const QColor kInk{31, 61, 54};         // captions and text
inline const QColor kHeading{44, 92, 78};     // page headings
inline const QColor kNavy{0, 0, 128};         // the window caption
inline const QColor kNavPanel{226, 235, 229}; // behind the page buttons
inline const QColor kAccent{127, 160, 141};   // thin lines between areas
inline const QColor kField{255, 255, 255};

// Creates a child with its objectName and designed place.
template <typename T>
T* Make(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(left, top, width, height);
    return w;
}

// A transparent label in the page's ink colour; `pixelSize` 0 keeps the
// window font's size.
QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, int left, int top,
                  int width, int height, int pixelSize = 0, bool bold = false);
// The headings start at x 24 of a page; most may run to x 465. On the Test
// page a small figure series is drawn in the heading band from x 381 on,
// so its heading stops short of it.
inline constexpr int kHeadingWidth = 441;
inline constexpr int kTestHeadingWidth = 349;
inline constexpr int kTestHeadingDecorationLeft = 381;

// The bold heading at the top of a page, shortened with an ellipsis when its
// text is wider than `width`.
QLabel* MakeHeading(QWidget* parent, const char* name, const char* caption,
                    int width = kHeadingWidth);

// A page background: fills the page, picture from the top-left corner, clear
// brush and pen so that only the picture shows.
TBkControl* MakePageBackground(QWidget* page, const char* name);

// The fifteen large buttons (145 x 45 designed) and the four header buttons
// (45 x 45): faces come from the window pictures, the caption is centred.
TBaseBtn* MakeLargeButton(QWidget* parent, const char* name, const char* caption, int left, int top,
                          const char* hint = nullptr);
TBaseBtn* MakeHeaderButton(QWidget* parent, const char* name, const char* caption, int left,
                           const char* hint);

// Places the caption in the middle of the button for its current font and size.
void CentreCaption(TBaseBtn* button);

// The page background shows through a scroll box and its content.
void MakeScrollBoxTransparent(QScrollArea* box);
// The vertical scroll bar of a markup view: a groove in the navigation
// panel's colour with a darker handle, so the handle reads as the thing to
// drag.
void StyleMarkupScrollBar(QScrollBar* bar);
inline const QColor kScrollGroove{226, 235, 229};
inline const QColor kScrollHandle{79, 127, 106};
inline const QColor kScrollHandleHover{44, 92, 78};

// An edit field or an edit list on a page: a frame in the skin's green, a
// stronger one while it has the focus, so that a person sees where to type.
void StyleField(QWidget* field);
inline const QColor kFieldFrame{127, 160, 141};
inline const QColor kFieldFocusFrame{44, 92, 78};

// The colours of edits, lists, check boxes and spin fields on the pages.
QPalette FieldPalette(QPalette base);

} // namespace skin
