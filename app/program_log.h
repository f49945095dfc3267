#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

// The program's own log: every message becomes one line on standard error,
// "zenx: " followed by the category (when it has one) and the text. The image
// decoders' own messages ("libpng error", "Corrupt JPEG data") are dropped;
// the image loader writes one line of its own for a picture that fails.
void InstallProgramLog();

// Where the lines go; standard error unless a test replaces it. An empty
// function restores standard error.
void SetProgramLogSink(std::function<void(const QString& line)> sink);

// The line for one message, or an empty text when it is to be dropped.
QString ProgramLogLine(QtMsgType type, const char* category, const QString& message);
