#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <vector>

// The IQ norm table d\iq.dat, generated from a normal model per age group:
// IQ = 100 + 15 z with z = (raw - mean) / spread, rounded to a whole number
// and kept within 40 .. 155 (raw scores above 164 show as ">155" anyway).
struct TNormGroup {
    std::string Section; // "14-16", "17-21", "22-30", ">30"
    double Mean = 0;
    double Spread = 0;
};

constexpr int kMaxRawScore = 164;

int NormIQ(const TNormGroup& group, int raw);

// Reads the model from an INI file with the four sections, each holding
// "gemiddelde" (mean) and "spreiding" (spread) of the raw scores. False with
// a message when a section or value is missing or the spread is not positive.
bool ReadNormModel(const QString& file, std::vector<TNormGroup>& groups, std::string& error);

// INI text: the four sections, keys "0" .. "164".
QByteArray NormTableText(const std::vector<TNormGroup>& groups);
