#pragma once

#include <QLabel>

// A page heading that never runs past its own width: a text too long for it
// ends in an ellipsis, and the whole text shows as its tool tip. text()
// stays the full heading.
class THeadingLabel : public QLabel {
public:
    explicit THeadingLabel(QWidget* parent = nullptr);

    // What is drawn: the text, shortened to the label's width when needed.
    QString ShownText() const;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
};
