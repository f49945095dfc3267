#pragma once

#include <QAccessibleWidget>
#include <vector>

class GParserControl;

// What a screen reader sees of a markup control: a read-only document whose
// text is the shown text, with a child per link that can be pressed (as a
// click on it), then one per picture, then the input fields. The children
// are made again for every new text.
class TParserControlAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TParserControlAccessible(GParserControl* control);
    ~TParserControlAccessible() override;

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // QAccessibleTextInterface: the shown text, without selection.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override;
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    using QAccessibleWidget::text;
    int characterCount() const override;
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    GParserControl* Control() const;
    // Makes the link and picture children again after a new text.
    void Sync() const;
    void Retire() const;
    QString ShownText() const;

    mutable std::vector<QAccessibleInterface*> children_;
    mutable std::vector<QAccessible::Id> childIds_;
    mutable quint64 generation_ = 0;
    mutable bool synced_ = false;
};

// Lets Qt's accessibility build the interface above for every markup
// control; to be called once at start-up, before the window is made.
void InstallMarkupAccessibility();
