#include "app/skin_style.h"

#include "app/heading_label.h"

#include <QScrollArea>
#include <QScrollBar>

#include "widgets/background.h"
#include "widgets/base_btn.h"
#include "widgets/bk_control.h"

#include <QFontMetrics>
#include <QLabel>

namespace skin {

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, int left, int top,
                  int width, int height, int pixelSize, bool bold) {
    auto* label = Make<QLabel>(parent, name, left, top, width, height);
    label->setText(QString::fromUtf8(caption));
    QFont f = label->font();
    if (pixelSize > 0)
        f.setPixelSize(pixelSize);
    f.setBold(bold);
    label->setFont(f);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, kInk);
    label->setPalette(p);
    return label;
}

QLabel* MakeHeading(QWidget* parent, const char* name, const char* caption, int width) {
    auto* label = Make<THeadingLabel>(parent, name, 24, 9, width, 22);
    label->setText(QString::fromUtf8(caption));
    QFont f = label->font();
    f.setPixelSize(16);
    f.setBold(true);
    label->setFont(f);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, kHeading);
    label->setPalette(p);
    return label;
}

TBkControl* MakePageBackground(QWidget* page, const char* name) {
    auto* bk = Make<TBkControl>(page, name, 0, 0, 489, 435);
    bk->Background().SetImageDrawStyle(idsTopLeft);
    bk->Background().SetBrush(QBrush(Qt::NoBrush));
    bk->Background().SetPen(QPen(Qt::NoPen));
    bk->lower();
    return bk;
}

namespace {

void StyleButton(TBaseBtn* b, const char* caption, const char* hint) {
    // The face is the picture; the drawn face and its shadow stay off. The
    // shadow offsets still move glyph and caption while the button is down.
    b->SetFaceVisible(false);
    b->SetShadowXOffset(0.01);
    b->SetShadowYOffset(0.03);
    b->SetFontColor(kInk);
    b->SetCaption(QString::fromUtf8(caption));
    if (hint) {
        b->setToolTip(QString::fromUtf8(hint));
        b->setAttribute(Qt::WA_AlwaysShowToolTips);
    }
    CentreCaption(b);
}

} // namespace

TBaseBtn* MakeLargeButton(QWidget* parent, const char* name, const char* caption, int left, int top,
                          const char* hint) {
    auto* b = Make<TBaseBtn>(parent, name, left, top, 145, 45);
    QFont f = b->font();
    f.setPixelSize(13);
    f.setBold(true);
    b->setFont(f);
    StyleButton(b, caption, hint);
    return b;
}

TBaseBtn* MakeHeaderButton(QWidget* parent, const char* name, const char* caption, int left,
                           const char* hint) {
    auto* b = Make<TBaseBtn>(parent, name, left, 0, 45, 45);
    QFont f = b->font();
    f.setPixelSize(16);
    f.setBold(true);
    b->setFont(f);
    StyleButton(b, caption, hint);
    return b;
}

void CentreCaption(TBaseBtn* button) {
    if (button->width() <= 0 || button->height() <= 0)
        return;
    QFont f = button->font();
    f.setUnderline(false);
    const QFontMetrics m(f);
    const double w = button->width();
    const double h = button->height();
    // The caption is placed by its top-left corner; centre its ink box.
    const double textWidth = m.horizontalAdvance(button->Caption());
    const double textHeight = m.ascent() + m.descent() * 0.4;
    button->SetCaptionXOffset((w - textWidth) / 2.0 / w);
    button->SetCaptionYOffset((h - textHeight) / 2.0 / h);
}

void MakeScrollBoxTransparent(QScrollArea* box) {
    // Done on the widgets themselves: a style sheet on the panel would stop
    // every control below it from inheriting the window's font.
    box->setAutoFillBackground(false);
    box->viewport()->setAutoFillBackground(false);
    if (QWidget* content = box->widget())
        content->setAutoFillBackground(false);
}

void StyleMarkupScrollBar(QScrollBar* bar) {
    // Fusion draws a light handle on a darker groove, which reads the wrong
    // way round on these pale pages. Only the bar's own sheet is set, so
    // nothing else loses the window's font or palette.
    bar->setStyleSheet(
        QStringLiteral(
            "QScrollBar:vertical { background: %1; width: 14px; margin: 0; border: none; }"
            "QScrollBar::handle:vertical { background: %2; min-height: 24px;"
            " margin: 2px 3px; border-radius: 4px; }"
            "QScrollBar::handle:vertical:hover,"
            " QScrollBar::handle:vertical:pressed { background: %3; }"
            "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical"
            " { height: 0; border: none; background: none; }"
            "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical"
            " { background: none; }")
            .arg(kScrollGroove.name(), kScrollHandle.name(), kScrollHandleHover.name()));
}

void StyleField(QWidget* field) {
    // The focus frame is one pixel wider; the padding gives that pixel back
    // so the text does not move. The edit inside an editable list draws no
    // frame of its own.
    field->setStyleSheet(
        QStringLiteral("QLineEdit, QComboBox { background: %1; color: %2; border: 1px solid %3;"
                       " border-radius: 2px; padding: 1px 3px;"
                       " selection-background-color: %4; selection-color: white; }"
                       "QLineEdit:focus, QComboBox:focus { border: 2px solid %5; padding: 0 2px; }"
                       "QLineEdit:disabled, QComboBox:disabled { background: #eef1ee;"
                       " color: #7d8a83; border-color: #c9d5cd; }"
                       "QComboBox QLineEdit { border: none; padding: 0; background: transparent; }")
            .arg(kField.name(), kInk.name(), kFieldFrame.name(), QColor(79, 127, 106).name(),
                 kFieldFocusFrame.name()));
}

QPalette FieldPalette(QPalette base) {
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        base.setColor(group, QPalette::Base, kField);
        base.setColor(group, QPalette::Text, kInk);
        base.setColor(group, QPalette::WindowText, kInk);
        base.setColor(group, QPalette::ButtonText, kInk);
        base.setColor(group, QPalette::Button, QColor(238, 243, 239));
        base.setColor(group, QPalette::Highlight, QColor(79, 127, 106));
        base.setColor(group, QPalette::HighlightedText, Qt::white);
        base.setColor(group, QPalette::ToolTipBase, Qt::white);
        base.setColor(group, QPalette::ToolTipText, kInk);
    }
    base.setColor(QPalette::Disabled, QPalette::Base, QColor(238, 241, 238));
    base.setColor(QPalette::Disabled, QPalette::Text, QColor(125, 138, 131));
    base.setColor(QPalette::Disabled, QPalette::WindowText, QColor(125, 138, 131));
    return base;
}

} // namespace skin
