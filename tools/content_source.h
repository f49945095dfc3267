#pragma once

#include "tools/db_writer.h"

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

// Readable content sources: UTF-8 text files of records, each a directive
// line ("@groep", "@test", "@vraag", "@uitleg", "@achtergrond", "@record",
// "@hex") followed by its body lines. content/README.md describes the format
// for authors.

struct TContentMessage {
    std::string File;
    int Line = 0;
    std::string Text;
    bool Warning = false;
    std::string Format() const; // "file:line: error: text"
};

// What a directive refers back to: the group and test it sits in and the
// question just before it.
struct TKeyContext {
    std::string Group;
    std::string Test;
    std::string LastQuestionCode; // part 2 of the question just compiled
    bool AfterQuestion = false;   // the record before was a question
};

// Compiles one directive line (UTF-8, starting with "@") into a key text
// (Windows-1252) and updates the context. Problems are appended as text;
// a key is produced whenever the directive is known, so that checking can
// go on. `hexBody` receives the body of "@hex" records.
bool CompileDirective(std::string_view line, TKeyContext& context, std::string& key,
                      std::vector<std::string>& problems, std::string* hexBody = nullptr,
                      bool* isHex = nullptr);

struct TContentSource {
    std::vector<TSourceRecord> Records;
    std::vector<TContentMessage> Messages;
    bool HasErrors() const;
};

// Adds the records of one source file (named `displayName` in messages).
void ParseContentText(const QByteArray& text, const std::string& displayName, TContentSource& out);
// Reads every *.txt file of SOURCE_DIR/db and of the extra folders (made by
// a generator) in the order of their file names, whichever folder they are in.
bool ReadContentSources(const QString& sourceDir, TContentSource& out,
                        const QStringList& extraDbDirs = {});
