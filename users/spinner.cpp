#include "users/spinner.h"

#include "platform/ansi.h"
#include "platform/profile_numbers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <algorithm>

TSpinner::TSpinner(QWidget* parent) : QAbstractSpinBox(parent) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    SetValue(min_);
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { emit ValueChanged(Value()); });
}

void TSpinner::SetRange(int minValue, int maxValue) {
    if (minValue > maxValue)
        std::swap(minValue, maxValue);
    min_ = minValue;
    max_ = maxValue;
    if (const auto value = ParseWholeNumber(plat::ToAnsi(Text())))
        if (*value < min_ || *value > max_)
            SetValue(int(std::clamp<int64_t>(*value, min_, max_)));
}

int TSpinner::Value() const {
    const auto value = ParseWholeNumber(plat::ToAnsi(Text()));
    return value ? int(*value) : min_;
}

void TSpinner::SetValue(int value) {
    SetText(QString::number(std::clamp(value, min_, max_)));
}

QString TSpinner::Text() const {
    return lineEdit()->text();
}

void TSpinner::SetText(const QString& text) {
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
    update(); // the arrows' enabled state follows the value
}

void TSpinner::stepBy(int steps) {
    const int64_t next = int64_t(Value()) + steps;
    SetValue(int(std::clamp<int64_t>(next, min_, max_)));
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled TSpinner::stepEnabled() const {
    if (isReadOnly())
        return StepNone;
    const int value = Value();
    StepEnabled enabled = StepNone;
    if (value < max_)
        enabled |= StepUpEnabled;
    if (value > min_)
        enabled |= StepDownEnabled;
    return enabled;
}

bool TSpinner::IsAllowedChar(QChar c) const {
    const QString separator = locale().decimalPoint();
    return c.isDigit() || c == u'+' || c == u'-' || (!separator.isEmpty() && c == separator[0]) ||
           c.category() == QChar::Other_Control;
}

QValidator::State TSpinner::validate(QString& input, int& /*pos*/) const {
    // Only the characters are checked; a value out of range is put right
    // when the field is left.
    for (const QChar c : input)
        if (!IsAllowedChar(c) || c.category() == QChar::Other_Control)
            return QValidator::Invalid;
    return QValidator::Acceptable;
}

void TSpinner::Refuse() {
    QApplication::beep();
    emit KeyRefused();
}

void TSpinner::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        Refuse();
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
        !std::all_of(text.begin(), text.end(), [this](QChar c) { return IsAllowedChar(c); })) {
        event->accept();
        Refuse();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void TSpinner::focusOutEvent(QFocusEvent* event) {
    if (const auto value = ParseWholeNumber(plat::ToAnsi(Text())))
        if (*value < min_ || *value > max_)
            SetValue(int(std::clamp<int64_t>(*value, min_, max_)));
    QAbstractSpinBox::focusOutEvent(event);
}
