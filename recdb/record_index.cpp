#include "recdb/record_index.h"

#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace {

const std::string kEmpty;

// Distinct values in order of first appearance, per owner key.
class DistinctLists {
public:
    void Add(std::string_view owner, std::string_view value) {
        std::string pair(owner);
        pair.push_back('\0'); // entries never hold a zero byte
        pair.append(value);
        if (seen_.insert(std::move(pair)).second)
            lists_[std::string(owner)].emplace_back(value);
    }
    const std::vector<std::string>* Find(std::string_view owner) const {
        const auto it = lists_.find(std::string(owner));
        return it == lists_.end() ? nullptr : &it->second;
    }

private:
    std::unordered_set<std::string> seen_;
    std::unordered_map<std::string, std::vector<std::string>> lists_;
};

std::string ValueAt(const std::vector<std::string>* list, int n) {
    if (!list || n < 1 || size_t(n) > list->size())
        return {};
    return (*list)[size_t(n) - 1];
}

} // namespace

struct TRecordIndex::Lookup {
    std::unordered_map<std::string, size_t> first10; // columns 1-10 -> first entry
    std::unordered_map<std::string, size_t> first15; // columns 1-15 -> first entry
    DistinctLists tests;                             // group -> test numbers
    DistinctLists questions;                         // columns 1-7 -> question numbers
};

std::string_view EntryColumns(std::string_view entry, size_t first, size_t count) {
    if (entry.size() <= 16)
        return {};
    const size_t bar = entry.find('|');
    if (bar == std::string_view::npos)
        return {};
    const size_t start = bar + first; // column 1 is the character after "|"
    if (start >= entry.size())
        return {};
    return entry.substr(start, count);
}

std::string_view EntryGroup(std::string_view e) {
    return EntryColumns(e, 1, 4);
}
std::string_view EntryTest(std::string_view e) {
    return EntryColumns(e, 5, 3);
}
std::string_view EntryQuestion(std::string_view e) {
    return EntryColumns(e, 8, 3);
}
std::string_view EntryPoints(std::string_view e) {
    return EntryColumns(e, 11, 3);
}
std::string_view EntryAnswerLength(std::string_view e) {
    return EntryColumns(e, 14, 2);
}
std::string_view EntryAnswer(std::string_view e) {
    return EntryColumns(e, 16, std::string_view::npos);
}

int32_t EntryRecNo(std::string_view entry) {
    const size_t bar = entry.find('|');
    if (bar == std::string_view::npos)
        return 0;
    return StrToIntDef(entry.substr(0, bar), 0);
}

std::string_view EntryTitle(std::string_view entry) {
    const size_t bar = entry.find('|');
    return bar == std::string_view::npos ? entry : entry.substr(bar + 1);
}

TRecordIndex::TRecordIndex() = default;
TRecordIndex::~TRecordIndex() = default;
TRecordIndex::TRecordIndex(TRecordIndex&&) noexcept = default;
TRecordIndex& TRecordIndex::operator=(TRecordIndex&&) noexcept = default;

TRecordIndex::TRecordIndex(const TRecordIndex& other)
    : entries_(other.entries_), groups_(other.groups_) {}

TRecordIndex& TRecordIndex::operator=(const TRecordIndex& other) {
    if (this != &other) {
        entries_ = other.entries_;
        groups_ = other.groups_;
        lookup_.reset();
    }
    return *this;
}

void TRecordIndex::Clear() {
    entries_.clear();
    groups_.clear();
    lookup_.reset();
}

void TRecordIndex::Add(std::string_view entry) {
    entries_.emplace_back(entry.substr(0, 255));
    lookup_.reset();
}

void TRecordIndex::AddGroupCode(std::string_view code) {
    groups_.emplace_back(code);
}

const TRecordIndex::Lookup& TRecordIndex::Lookups() const {
    if (lookup_)
        return *lookup_;
    auto lookup = std::make_unique<Lookup>();
    lookup->first10.reserve(entries_.size());
    for (size_t i = 0; i < entries_.size(); ++i) {
        const std::string_view e = entries_[i];
        lookup->first10.try_emplace(std::string(EntryColumns(e, 1, 10)), i);
        lookup->first15.try_emplace(std::string(EntryColumns(e, 1, 15)), i);
        if (const std::string_view test = EntryTest(e); test != "000")
            lookup->tests.Add(EntryGroup(e), test);
        if (const std::string_view question = EntryQuestion(e); question != "000")
            lookup->questions.Add(EntryColumns(e, 1, 7), question);
    }
    lookup_ = std::move(lookup);
    return *lookup_;
}

std::string TRecordIndex::GroupCodeAt(int n) const {
    return ValueAt(&groups_, n);
}

int TRecordIndex::TestCount(std::string_view group) const {
    const auto* list = Lookups().tests.Find(group);
    return list ? int(list->size()) : 0;
}

std::string TRecordIndex::TestAt(std::string_view group, int n) const {
    return ValueAt(Lookups().tests.Find(group), n);
}

int TRecordIndex::QuestionCount(std::string_view testKey) const {
    const auto* list = Lookups().questions.Find(testKey);
    return list ? int(list->size()) : 0;
}

std::string TRecordIndex::QuestionAt(std::string_view testKey, int n) const {
    return ValueAt(Lookups().questions.Find(testKey), n);
}

const std::string& TRecordIndex::FindEntry(std::string_view questionKey) const {
    const auto& map = Lookups().first10;
    const auto it = map.find(std::string(questionKey));
    return it == map.end() ? kEmpty : entries_[it->second];
}

const std::string& TRecordIndex::FindHeader(std::string_view columns15) const {
    const auto& map = Lookups().first15;
    const auto it = map.find(std::string(columns15));
    return it == map.end() ? kEmpty : entries_[it->second];
}

int32_t TRecordIndex::FindRecordNo(std::string_view key) const {
    // Columns 1-10 hold at most ten characters, so a ten-character key is
    // contained only where it is equal: the common case needs no scan.
    if (key.size() == 10)
        return EntryRecNo(FindEntry(key));
    if (key.size() > 10)
        return 0;
    for (const std::string& e : entries_)
        if (EntryColumns(e, 1, 10).find(key) != std::string_view::npos)
            return EntryRecNo(e);
    return 0;
}
