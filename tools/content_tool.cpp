#include "tools/content_tool.h"

#include "exam/picture_archive.h"
#include "platform/ansi.h"
#include "platform/datetime.h"
#include "platform/paths.h"
#include "tools/archive_writer.h"
#include "tools/content_check.h"
#include "tools/content_dump.h"
#include "tools/content_source.h"
#include "tools/db_writer.h"
#include "tools/norm_table.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <set>

namespace {

constexpr const char* kUsage =
    "usage: zenx-content build SOURCE_DIR OUT_DIR [--pictures DIR]...\n"
    "       zenx-content dump IDbRecs.dat DIR\n"
    "       zenx-content ls zernox2.dat\n"
    "       zenx-content extract zernox2.dat DIR [NAME]...\n"
    "       zenx-content check SOURCE_DIR [--pictures DIR]... [--archive zernox2.dat]\n";

struct Options {
    QStringList positional;
    QStringList pictureDirs;
    QString archive;
    bool ok = true;
};

Options ParseOptions(const QStringList& args) {
    Options o;
    for (int i = 1; i < args.size(); ++i) {
        if ((args[i] == "--pictures" || args[i] == "--archive") && i + 1 < args.size())
            (args[i] == "--pictures" ? o.pictureDirs.append(args[i + 1])
                                     : void(o.archive = args[i + 1])),
                ++i;
        else if (args[i].startsWith("--"))
            o.ok = false;
        else
            o.positional.append(args[i]);
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
    ReadContentSources(source, content);
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
            !WriteFile(plat::ResolvePath("zernox2.dat", target), archive)) {
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

int Check(const Options& o, std::ostream& out, std::ostream& err) {
    TContentSource content;
    ReadContentSources(o.positional[0], content);
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
    CheckContent(content, pictures);
    PrintMessages(content, err);
    out << content.Records.size() << " records checked\n";
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
    err << kUsage;
    return 2;
}
