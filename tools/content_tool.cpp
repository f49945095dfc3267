#include "tools/content_tool.h"

#include "exam/content_model.h"
#include "picarchive/picture_archive.h"
#include "platform/ansi.h"
#include "platform/datetime.h"
#include "platform/paths.h"
#include "tools/archive_writer.h"
#include "tools/bank/bank_check.h"
#include "tools/content_check.h"
#include "tools/content_dump.h"
#include "tools/content_source.h"
#include "tools/db_writer.h"
#include "tools/markup_scan.h"
#include "tools/norm_table.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <algorithm>
#include <map>
#include <set>

namespace {

constexpr const char* kUsage =
    "usage: zenx-content build SOURCE_DIR OUT_DIR [--db DIR]... [--pictures DIR]...\n"
    "       zenx-content dump IDbRecs.dat DIR\n"
    "       zenx-content ls zernox2.dat\n"
    "       zenx-content extract zernox2.dat DIR [NAME]...\n"
    "       zenx-content check SOURCE_DIR [--db DIR]... [--pictures DIR]... [--rules DIR]...\n"
    "                          [--archive zernox2.dat]\n"
    "       zenx-content summary SOURCE_DIR [--db DIR]...\n"
    "--db adds a folder of generated sources, --rules a folder of their rules\n";

struct Options {
    QStringList positional;
    QStringList pictureDirs;
    QStringList dbDirs;
    QStringList ruleDirs;
    QString archive;
    bool ok = true;
};

Options ParseOptions(const QStringList& args) {
    Options o;
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--pictures" && hasValue)
            o.pictureDirs.append(args[++i]);
        else if (arg == "--db" && hasValue)
            o.dbDirs.append(args[++i]);
        else if (arg == "--rules" && hasValue)
            o.ruleDirs.append(args[++i]);
        else if (arg == "--archive" && hasValue)
            o.archive = args[++i];
        else if (arg.startsWith("--"))
            o.ok = false;
        else
            o.positional.append(arg);
    }
    return o;
}

std::string Str(const QString& s) {
    return s.toStdString();
}

bool WriteFile(const QString& path, const QByteArray& data) {
    if (!plat::ForceDirectoriesAbs(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size() && f.commit();
}

uint32_t DosDateOf(const QFileInfo& info) {
    const QDateTime t = info.lastModified();
    plat::DateTimeParts p;
    p.year = t.date().year();
    p.month = t.date().month();
    p.day = t.date().day();
    p.hour = t.time().hour();
    p.minute = t.time().minute();
    p.second = t.time().second();
    return plat::DateTimeToFileDate(plat::EncodeDateTime(p));
}

// Picture files of the folders, by name; a name found twice (in any letter
// case) is an error because the archive could serve only one of them.
bool CollectPictures(const QStringList& dirs, std::vector<TArchiveMember>& members,
                     std::ostream& err) {
    bool ok = true;
    std::set<std::string> seen;
    for (const QString& dirPath : dirs) {
        const QDir dir(dirPath);
        QStringList names = dir.entryList(QDir::Files);
        std::sort(names.begin(), names.end());
        for (const QString& name : names) {
            QFile f(dir.filePath(name));
            const std::string ansi = plat::ToAnsi(name);
            if (!f.open(QIODevice::ReadOnly) || f.size() == 0) {
                err << "warning: picture " << Str(f.fileName())
                    << " skipped (empty or unreadable)\n";
                continue;
            }
            if (!seen.insert(plat::AnsiLower(ansi)).second) {
                err << "error: picture " << ansi << " found twice\n";
                ok = false;
                continue;
            }
            members.push_back({ansi, f.readAll(), DosDateOf(QFileInfo(f))});
        }
    }
    return ok;
}

void PrintMessages(const TContentSource& source, std::ostream& err) {
    for (const TContentMessage& m : source.Messages)
        err << m.Format() << "\n";
}

int Build(const Options& o, std::ostream& out, std::ostream& err) {
    const QString source = o.positional[0], target = o.positional[1];
    TContentSource content;
    ReadContentSources(source, content, o.dbDirs);
    PrintMessages(content, err);
    if (content.HasErrors())
        return 1;
    QByteArray db;
    std::string error;
    if (!WriteDatabase(content.Records, db, &error)) {
        err << error << "\n";
        return 1;
    }
    if (!WriteFile(plat::ResolvePath("D\\IDbRecs.dat", target), db)) {
        err << "error: cannot write D/IDbRecs.dat in " << Str(target) << "\n";
        return 1;
    }
    out << content.Records.size() << " records written to D/IDbRecs.dat\n";

    const QString model = source + "/normen.ini";
    if (QFileInfo::exists(model)) {
        std::vector<TNormGroup> groups;
        if (!ReadNormModel(model, groups, error)) {
            err << "normen.ini: error: " << error << "\n";
            return 1;
        }
        if (!WriteFile(plat::ResolvePath("d\\iq.dat", target), NormTableText(groups))) {
            err << "error: cannot write d/iq.dat\n";
            return 1;
        }
        out << "norm table written to D/iq.dat\n";
    }

    std::vector<TArchiveMember> members;
    QStringList dirs = o.pictureDirs;
    if (QFileInfo(source + "/pictures").isDir())
        dirs.prepend(source + "/pictures");
    if (!CollectPictures(dirs, members, err))
        return 1;
    if (!members.empty()) {
        QByteArray archive;
        if (!WriteArchive(members, archive, &error) ||
            !WriteFile(plat::ResolvePath(kPictureArchiveFile, target), archive)) {
            err << "error: cannot write zernox2.dat: " << error << "\n";
            return 1;
        }
        out << members.size() << " pictures written to zernox2.dat\n";
    }
    return 0;
}

int Dump(const Options& o, std::ostream& out, std::ostream& err) {
    QFile f(o.positional[0]);
    if (!f.open(QIODevice::ReadOnly)) {
        err << "error: cannot read " << Str(o.positional[0]) << "\n";
        return 1;
    }
    std::vector<TSourceRecord> records;
    int result = 0;
    if (!ReadDatabase(f.readAll(), records)) {
        err << "error: the database is damaged; dumping the " << records.size()
            << " records before the damage\n";
        result = 1;
    }
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].StoredNumber != int32_t(i + 1))
            err << "warning: record " << i + 1 << " carries number " << records[i].StoredNumber
                << "; building numbers records by their place\n";
    const auto files = DumpSources(records);
    TContentSource check;
    for (const auto& [name, text] : files) {
        if (!WriteFile(o.positional[1] + "/db/" + QString::fromStdString(name), text)) {
            err << "error: cannot write " << name << "\n";
            return 1;
        }
        ParseContentText(text, name, check);
    }
    bool same = check.Records.size() == records.size() && !check.HasErrors();
    for (size_t i = 0; same && i < records.size(); ++i)
        same = check.Records[i].Key == records[i].Key && check.Records[i].Body == records[i].Body;
    if (!same) {
        err << "error: the written sources do not reproduce the database\n";
        return 1;
    }
    out << records.size() << " records written to " << files.size() << " files\n";
    return result;
}

int List(const Options& o, std::ostream& out, std::ostream& err) {
    const auto index = ReadPictureIndex(o.positional[0]);
    if (!index) {
        err << "error: " << Str(o.positional[0]) << " does not exist\n";
        return 1;
    }
    for (const std::string& line : *index) {
        const TPictureEntry e = ParsePictureEntry(line);
        const plat::DateTimeParts d = plat::DecodeDateTime(e.DateTime);
        char date[32];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day,
                      d.hour, d.minute, d.second);
        out << e.Name << "\t" << e.Size << "\t" << e.StoredSize << "\t" << e.Offset << "\t" << date
            << "\t" << (e.StoredSize < e.Size ? "deflated" : "stored") << "\n";
    }
    return 0;
}

int Extract(const Options& o, std::ostream& out, std::ostream& err) {
    const auto index = ReadPictureIndex(o.positional[0]);
    if (!index || index->empty()) {
        err << "error: no index in " << Str(o.positional[0]) << "\n";
        return 1;
    }
    std::vector<std::string> names;
    for (int i = 2; i < o.positional.size(); ++i)
        names.push_back(plat::ToAnsi(o.positional[i]));
    if (names.empty())
        for (const std::string& line : *index)
            names.push_back(ParsePictureEntry(line).Name);
    int result = 0;
    for (const std::string& name : names) {
        const TPictureEntry entry = FindPicture(*index, name);
        // The member's own name, and only its file-name part, so that a name
        // in the index cannot reach outside DIR.
        const std::string file = entry.Name.substr(entry.Name.find_last_of("/\\") + 1);
        const QString target = o.positional[1] + "/" + plat::FromAnsi(file);
        if (file.empty() || file == "." || file == ".." ||
            !ExtractPicture(o.positional[0], entry, target)) {
            err << "error: " << name << " could not be extracted\n";
            result = 1;
        } else {
            out << name << "\n";
        }
    }
    return result;
}

// Pictures that do not decode, by the image readers the program's loader uses.
int CheckPicturesDecode(const std::vector<TArchiveMember>& members, std::ostream& err) {
    int bad = 0;
    for (const TArchiveMember& m : members) {
        QBuffer buffer;
        buffer.setData(m.Data);
        QImageReader reader(&buffer);
        if (reader.read().isNull()) {
            err << "error: picture " << m.Name << " does not decode: " << Str(reader.errorString())
                << "\n";
            ++bad;
        }
    }
    return bad;
}

// Generated questions solved again from the rules their generator wrote.
int CheckRules(const QStringList& dirs, std::ostream& err) {
    int bad = 0;
    for (const QString& dirPath : dirs) {
        const QDir dir(dirPath);
        QStringList names = dir.entryList({"*.rules"}, QDir::Files);
        std::sort(names.begin(), names.end());
        if (names.isEmpty()) {
            err << "error: no rules in " << Str(dirPath) << "\n";
            ++bad;
        }
        for (const QString& name : names) {
            QFile f(dir.filePath(name));
            if (!f.open(QIODevice::ReadOnly)) {
                err << "error: cannot read " << Str(f.fileName()) << "\n";
                ++bad;
                continue;
            }
            const QByteArray text = f.readAll();
            for (const std::string& problem :
                 CheckRulesText(std::string_view(text.constData(), size_t(text.size())))) {
                err << Str(name) << ": error: " << problem << "\n";
                ++bad;
            }
        }
    }
    return bad;
}

int Check(const Options& o, std::ostream& out, std::ostream& err) {
    TContentSource content;
    ReadContentSources(o.positional[0], content, o.dbDirs);
    std::vector<TArchiveMember> members;
    QStringList dirs = o.pictureDirs;
    if (QFileInfo(o.positional[0] + "/pictures").isDir())
        dirs.prepend(o.positional[0] + "/pictures");
    CollectPictures(dirs, members, err);
    std::vector<std::string> pictures;
    for (const TArchiveMember& m : members)
        pictures.push_back(plat::AnsiLower(m.Name));
    if (!o.archive.isEmpty())
        for (const std::string& line :
             ReadPictureIndex(o.archive).value_or(std::vector<std::string>()))
            pictures.push_back(plat::AnsiLower(ParsePictureEntry(line).Name));
    std::map<std::string, std::string> digests;
    for (const TArchiveMember& m : members)
        digests[plat::AnsiLower(m.Name)] =
            QCryptographicHash::hash(m.Data, QCryptographicHash::Sha1).toHex().toStdString();
    CheckContent(content, pictures, digests);
    PrintMessages(content, err);
    const int undecodable = CheckPicturesDecode(members, err);
    const int unsolved = CheckRules(o.ruleDirs, err);
    out << content.Records.size() << " records checked\n";
    return content.HasErrors() || undecodable || unsolved ? 1 : 0;
}

// Per group and test: questions, explanations and the pictures they show.
int Summary(const Options& o, std::ostream& out, std::ostream& err) {
    TContentSource content;
    ReadContentSources(o.positional[0], content, o.dbDirs);
    PrintMessages(content, err);
    struct Counts {
        std::string title;
        int questions = 0, explanations = 0;
        std::set<std::string> pictures;
    };
    std::vector<std::pair<std::string, Counts>> tests; // in file order
    std::map<std::string, std::string> groupTitles;
    std::vector<std::string> groupOrder;
    int pages = 0;
    const auto& records = content.Records;
    for (size_t i = 0; i < records.size(); ++i) {
        const TSourceRecord& rec = records[i];
        const TRecordRole role =
            RecordRole(rec.Key, i ? std::string_view(records[i - 1].Key) : std::string_view());
        const std::string code(SplitKey(rec.Key).Part2);
        // Titles are Windows-1252 in the records; the terminal wants UTF-8.
        const std::string firstLine =
            plat::FromAnsi(rec.Body.substr(0, rec.Body.find_first_of("\r\n"))).toStdString();
        if (SplitKey(rec.Key).Kind == "BkInfo")
            ++pages;
        if (role == TRecordRole::GroupHeader) {
            groupTitles[code.substr(0, 4)] = firstLine;
            groupOrder.push_back(code.substr(0, 4));
        } else if (role == TRecordRole::TestHeader) {
            Counts counts;
            counts.title = firstLine;
            tests.push_back({code.substr(0, 7), counts});
        } else if ((role == TRecordRole::Question || role == TRecordRole::Explanation) &&
                   !tests.empty() && tests.back().first == code.substr(0, 7)) {
            Counts& c = tests.back().second;
            (role == TRecordRole::Question ? c.questions : c.explanations)++;
            for (const TFoundName& picture : PictureNames(rec.Body))
                c.pictures.insert(picture.Value);
        }
    }
    int totalTests = 0, totalQuestions = 0, totalExplanations = 0, totalPictures = 0;
    for (const std::string& group : groupOrder) {
        out << group << "  " << groupTitles[group] << "\n";
        for (const auto& [key, c] : tests) {
            if (key.substr(0, 4) != group)
                continue;
            char line[160];
            std::snprintf(line, sizeof line,
                          "  %s  %-40s %3d questions %3d explanations %3zu pictures\n", key.c_str(),
                          c.title.c_str(), c.questions, c.explanations, c.pictures.size());
            out << line;
            ++totalTests;
            totalQuestions += c.questions;
            totalExplanations += c.explanations;
            totalPictures += int(c.pictures.size());
        }
    }
    out << groupOrder.size() << " groups, " << totalTests << " tests, " << totalQuestions
        << " questions, " << totalExplanations << " explanations, " << totalPictures
        << " pictures, " << pages << " reference pages\n";
    return content.HasErrors() ? 1 : 0;
}

} // namespace

int RunContentTool(const QStringList& args, std::ostream& out, std::ostream& err) {
    const Options o = ParseOptions(args);
    const QString command = args.value(0);
    const qsizetype n = o.positional.size();
    if (o.ok && command == "build" && n == 2)
        return Build(o, out, err);
    if (o.ok && command == "dump" && n == 2)
        return Dump(o, out, err);
    if (o.ok && command == "ls" && n == 1)
        return List(o, out, err);
    if (o.ok && command == "extract" && n >= 2)
        return Extract(o, out, err);
    if (o.ok && command == "check" && n == 1)
        return Check(o, out, err);
    if (o.ok && command == "summary" && n == 1)
        return Summary(o, out, err);
    err << kUsage;
    return 2;
}
