#pragma once

#include <QAbstractSpinBox>

// Numeric spin field: an edit with up/down buttons whose value is the edit
// text read as a whole number (text that is none counts as the minimum).
// Setting a value clamps it to the range; the buttons and the Up and Down
// keys add or subtract 1. Typed characters other than digits, "+", "-", the
// decimal separator and control characters are refused with a beep, and so
// is Enter. Leaving the field puts an out-of-range number back in range;
// other text stays as typed.
class TSpinner : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TSpinner(QWidget* parent = nullptr);

    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    // Sets both limits (swapped when given the wrong way round) and clamps
    // the shown value when it is a number.
    void SetRange(int minValue, int maxValue);

    int Value() const;
    void SetValue(int value);

    QString Text() const;
    void SetText(const QString& text);

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;

signals:
    // A key was refused (after the beep); lets tests and owners see it.
    void KeyRefused();
    void ValueChanged(int value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    StepEnabled stepEnabled() const override;

private:
    bool IsAllowedChar(QChar c) const;
    void Refuse();

    int min_ = 0;
    int max_ = 100;
};
