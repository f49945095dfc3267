#pragma once

#include "platform/numbers.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Fields of a test index entry ("recno|code..."), counted from the character
// after the first "|". Each gives empty text unless the entry is longer than
// 16 characters and holds a "|".
std::string_view EntryColumns(std::string_view entry, size_t first, size_t count);
std::string_view EntryGroup(std::string_view entry);        // columns 1-4
std::string_view EntryTest(std::string_view entry);         // columns 5-7
std::string_view EntryQuestion(std::string_view entry);     // columns 8-10
std::string_view EntryPoints(std::string_view entry);       // columns 11-13
std::string_view EntryAnswerLength(std::string_view entry); // columns 14-15
std::string_view EntryAnswer(std::string_view entry);       // column 16 to the end

// The whole number before the first "|" of an entry; 0 when it is none.
int32_t EntryRecNo(std::string_view entry);
// The text after the first "|" of an entry (the whole entry when it holds
// none): the title of a reference topic.
std::string_view EntryTitle(std::string_view entry);

using plat::StrToIntDef;

// The test index: entries in group order, then file order, plus the group
// codes found while building it. Every query gives the result of a linear
// scan over the entries; lookup tables are built on the first query after a
// change so that a catalogue walk does not rescan the list per question.
class TRecordIndex {
public:
    TRecordIndex();
    ~TRecordIndex();
    TRecordIndex(const TRecordIndex& other);
    TRecordIndex& operator=(const TRecordIndex& other);
    TRecordIndex(TRecordIndex&&) noexcept;
    TRecordIndex& operator=(TRecordIndex&&) noexcept;

    void Clear();
    // Entries hold at most 255 characters; longer ones are cut.
    void Add(std::string_view entry);
    void AddGroupCode(std::string_view code);

    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const std::string& operator[](size_t i) const { return entries_[i]; }
    std::vector<std::string>::const_iterator begin() const { return entries_.begin(); }
    std::vector<std::string>::const_iterator end() const { return entries_.end(); }
    const std::vector<std::string>& Entries() const { return entries_; }

    // n is 1-based throughout; out-of-range n gives empty text. Texts are
    // compared exactly, letter case counting.
    int GroupCount() const { return int(groups_.size()); }
    std::string GroupCodeAt(int n) const;
    int TestCount(std::string_view group) const;
    std::string TestAt(std::string_view group, int n) const;
    int QuestionCount(std::string_view testKey) const;
    std::string QuestionAt(std::string_view testKey, int n) const;
    // First entry whose columns 1-10 equal the key, else empty.
    const std::string& FindEntry(std::string_view questionKey) const;
    // Record number of the first entry whose columns 1-10 contain the key.
    int32_t FindRecordNo(std::string_view key) const;
    // First entry whose columns 1-15 equal the given text, else empty.
    const std::string& FindHeader(std::string_view columns15) const;

private:
    struct Lookup;
    const Lookup& Lookups() const;

    std::vector<std::string> entries_;
    std::vector<std::string> groups_;
    mutable std::unique_ptr<Lookup> lookup_;
};
