#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Profile (INI) file routines with the semantics of the classic desktop ones:
// section and key names match without regard to case, values are trimmed, new
// sections and keys are appended at the end, and other lines are kept as they
// are. Lines may end in CR LF, LF or a lone CR; a leading UTF-8 byte order
// mark is skipped (and kept on writing). Every write replaces the file
// atomically, under an advisory lock on ".<name>.lock" beside the file, so
// that writers in several processes never lose each other's changes. A parsed
// copy of each file is cached and reused while the file's identity (device,
// inode, size, modification time) is unchanged, so reading many keys costs
// one parse; the parsed copy takes little more memory than the file.
//
// Files larger than kMaxProfileBytes read as missing (some come from the
// network) and are never written over.
//
// Section names run from the first '[' to the last ']' of their line, spaces
// inside the brackets included, so that a user name holding ']' or '=' still
// names its own section. When a section occurs twice, the first occurrence is
// the one read and written; erasing a section removes every occurrence.
namespace plat {

constexpr std::size_t kMaxProfileBytes = std::size_t(64) << 20;

// Value of `key` in `section`, or `def` when the file, section or key is
// missing. Surrounding spaces and one pair of enclosing quotes are removed.
std::string ReadProfileString(const QString& file, std::string_view section, std::string_view key,
                              std::string_view def = {});

// Writes key=value, creating file and section as needed (but not the
// directory). A value with a blank at either end, or enclosed in quotes, is
// written inside one more pair of quotes so that reading gives it back. False when the file could
// not be read or written (a read-only file included), and for text that cannot be stored on one
// line: a line break in any argument, or a key that is empty after trimming, holds '=' or starts
// with '[' or ';'. The file on disk then stays as it was.
bool WriteProfileString(const QString& file, std::string_view section, std::string_view key,
                        std::string_view value);

// Removes a key (every line of it in the section). True also when there was
// nothing to remove.
bool DeleteProfileKey(const QString& file, std::string_view section, std::string_view key);

// Removes a section with all its keys. True also when there was nothing to remove.
bool EraseProfileSection(const QString& file, std::string_view section);

// Names of all sections in file order, each once, as first written.
std::vector<std::string> ReadProfileSections(const QString& file);

// key=value pairs of one section in file order (keys as written, values as
// ReadProfileString gives them). A key written twice is listed once, with the
// first value, the one ReadProfileString reads.
std::vector<std::pair<std::string, std::string>> ReadProfileSection(const QString& file,
                                                                    std::string_view section);

// One batch of changes to a profile file, handed to the function given to
// EditProfile. Reads see the batch's own changes.
class TProfileEdit {
public:
    struct State;
    explicit TProfileEdit(State& state);

    std::string Read(std::string_view section, std::string_view key,
                     std::string_view def = {}) const;
    std::vector<std::string> Sections() const;
    std::vector<std::pair<std::string, std::string>> Section(std::string_view section) const;

    // As WriteProfileString; false (and the whole batch refused) for text
    // that cannot be stored on one line.
    bool Write(std::string_view section, std::string_view key, std::string_view value);
    void DeleteKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);

private:
    State& state_;
};

enum class TProfileFileMode {
    Shared,  // a new file gets the usual mode (0666 less the umask)
    Private, // a new file is readable and writable by its owner only
};

// Reads the file under its write lock, lets `change` make any number of
// changes and writes them with a single atomic replace, so that a crash
// leaves either none or all of them. `change` returns false to drop the
// batch. False when the batch was dropped or refused, or the file could not
// be read or written; the file then stays as it was. `change` must not
// write the same file by other means (the lock is held).
bool EditProfile(const QString& file, const std::function<bool(TProfileEdit&)>& change,
                 TProfileFileMode mode = TProfileFileMode::Shared);

// Removes the temporary files that writers of `file` which no longer run
// left behind when they were killed part-way through a write. Returns how
// many it removed.
int RemoveStaleProfileTemps(const QString& file);

// Where this process's temporary files for `file` begin (the folder of
// `file` included); anything named on beyond it that a killed process left
// is removed by RemoveStaleProfileTemps.
QString OwnProfileTempPrefix(const QString& file);

// A profile text held in memory (an uploaded file, say), read with the same
// rules as the files above. Nothing is cached or written.
class TProfileText {
public:
    explicit TProfileText(std::string_view content);
    ~TProfileText();
    TProfileText(TProfileText&&) noexcept;
    TProfileText& operator=(TProfileText&&) noexcept;

    std::string Read(std::string_view section, std::string_view key,
                     std::string_view def = {}) const;
    std::vector<std::string> Sections() const;
    std::vector<std::pair<std::string, std::string>> Section(std::string_view section) const;

    // True when every line is blank, a comment, a section header or a key
    // line: text that is a profile file and nothing else.
    bool HasOnlyProfileLines() const;

    // Bytes held by the parsed copy.
    std::size_t Footprint() const;

private:
    struct Parsed;
    std::unique_ptr<Parsed> parsed_;
};

// Forgets every cached parse (tests and benchmarks use it).
void ClearProfileCache();

namespace detail {

// Points at which the write hook runs while a file is being replaced.
enum class ProfileWriteStage {
    HalfWritten, // half of the temporary file is written
    Synced,      // the temporary file is complete and flushed, not yet renamed
};

// Test hook for crash and failure tests: called at each stage of every write.
// Returning false fails the write there, as a disk error would. An empty
// function removes the hook.
void SetProfileWriteHook(std::function<bool(ProfileWriteStage)> hook);

// How many times a file has been read and parsed since the program started;
// tests use it to see when the cache was (not) used.
std::size_t ProfileParseCount();

} // namespace detail
} // namespace plat
