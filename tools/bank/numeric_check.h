#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Shared by the numeric generators and their checker: exact fractions for the
// word problems and the rule families a reader may see in a series.

// Exact value: prices, percentages and averages must compare exactly, never
// as doubles. A zero denominator marks an invalid result (division by zero or
// overflow) and propagates.
struct TFraction {
    int64_t Num = 0;
    int64_t Den = 1;

    TFraction() = default;
    TFraction(int64_t num, int64_t den = 1);

    bool Valid() const { return Den != 0; }
    bool IsInteger() const { return Den == 1; }
    // "12", "-2.5", "0.125"; empty when the value has no short decimal form.
    std::string ToDecimal() const;
    // Accepts "12", "-2.5" and "3/4".
    static std::optional<TFraction> Parse(std::string_view text);

    friend TFraction operator+(TFraction a, TFraction b);
    friend TFraction operator-(TFraction a, TFraction b);
    friend TFraction operator*(TFraction a, TFraction b);
    friend TFraction operator/(TFraction a, TFraction b);
    friend bool operator==(TFraction a, TFraction b) { return a.Num == b.Num && a.Den == b.Den; }
    friend bool operator<(TFraction a, TFraction b);
};

// One way of reading a series: the family's name and the term it predicts.
struct TSeriesFit {
    std::string Family;
    int64_t Next = 0;
};

// Every family that fits all the shown terms, with its next term. A family
// counts only when the terms pin down its parameters and, for the families
// with more freedom, at least one further term confirms it; otherwise any
// series would fit it.
std::vector<TSeriesFit> FitNumberSeries(const std::vector<int64_t>& terms);

// The same for letters (0 = A ... 25 = Z). Without wrap, a prediction outside
// A-Z is no prediction; with wrap, the steps are read modulo 26 as well.
std::vector<TSeriesFit> FitLetterSeries(const std::vector<int>& letters, bool wrap);
