#pragma once

#include "markup/markup_scanner.h"

#include <QPointer>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QWidget;

enum class TInputKind { ikRadio, ikCheckBox, ikText };

// The input fields of the current text: radio buttons, check boxes and
// one-line text fields that sit in the text as child widgets of the markup
// control. Every layout pass creates the ones it has not seen and moves the
// others to their place again.
class TInputFields {
public:
    struct TField {
        std::string Name; // the NAME of the tag, also the widget's objectName
        TInputKind Kind;
        std::string Hint; // the VALUE as read, upper case
        QPointer<QWidget> Widget;
    };
    // What the user did: a radio button or check box clicked (`checked` its
    // state afterwards) or a text field's text changed.
    using TReport = std::function<void(const TField& field, bool checked)>;
    using TClick = std::function<void()>;

    TInputFields(QWidget* owner, TReport report, TClick textClick);
    ~TInputFields();
    TInputFields(const TInputFields&) = delete;
    TInputFields& operator=(const TInputFields&) = delete;

    // Creates or moves the field of `tag` at (x, y) for a line of height m;
    // the room it takes (0 when nothing is placed).
    int Place(const markup::TInputTag& tag, int x, int y, int m, bool enabled);
    // After a pass: the last field moved takes the focus, unless the user is
    // already in one of the fields.
    void EndPass();

    void Clear();       // frees every field
    void ClearInputs(); // unchecks and empties them
    void SetEnabled(bool enabled);

    int Count() const { return int(fields_.size()); }
    // Newest first.
    const std::vector<TField>& Fields() const { return fields_; }
    QWidget* Find(std::string_view name) const;

private:
    TField* FindField(std::string_view name);
    // The room the new field takes.
    int Create(const markup::TInputTag& tag, TInputKind kind, int x, int y, int m, bool enabled);
    bool HoldsFocus() const;

    QWidget* owner_;
    TReport report_;
    TClick textClick_;
    std::vector<TField> fields_;
    QPointer<QWidget> lastMoved_;
};
