#include "picarchive/picture_archive.h"
#include "platform/profile_file.h"
#include "recdb/db_rec_file.h"
#include "tests/common/temp_program_dir.h"
#include "tools/content_tool.h"
#include "tools/db_writer.h"
#include "tools/markup_scan.h"
#include "tools/picture_puzzles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>

namespace {

int Tool(const QStringList& args, std::string* output = nullptr) {
    std::ostringstream out, err;
    const int code = RunContentTool(args, out, err);
    if (output)
        *output = out.str() + err.str();
    return code;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(ContentTool, StarterContentSurvivesDumpAndBuildByteForByte) {
    TempProgramDir dir;
    const QString content = ZENX_CONTENT_DIR;
    std::string log;
    ASSERT_EQ(Tool({"build", content, dir.Path() + "first"}, &log), 0) << log;
    const QByteArray first = dir.Read("first/D/IDbRecs.dat");
    ASSERT_EQ(Tool({"dump", dir.Path() + "first/D/IDbRecs.dat", dir.Path() + "src"}, &log), 0)
        << log;
    ASSERT_EQ(Tool({"build", dir.Path() + "src", dir.Path() + "second"}, &log), 0) << log;
    EXPECT_EQ(dir.Read("second/D/IDbRecs.dat"), first);

    // The starter content itself: enough groups, tests and questions, every
    // question with an explanation, and the norm table beside it.
    TiDbRecFile db;
    ASSERT_TRUE(db.LoadFromFile(dir.Path() + "first/D/IDbRecs.dat"));
    db.ActivateAll();
    TRecordIndex index;
    std::vector<std::string> topics;
    db.BuildTestIndex(index);
    db.BuildInfoIndex(topics);
    EXPECT_GE(index.GroupCount(), 2);
    EXPECT_GE(topics.size(), 4u);
    int tests = 0, questions = 0;
    for (int g = 1; g <= index.GroupCount(); ++g) {
        const std::string group = index.GroupCodeAt(g);
        EXPECT_FALSE(db.GroupTitle(index, group).empty());
        for (int t = 1; t <= index.TestCount(group); ++t, ++tests) {
            const std::string test = group + index.TestAt(group, t);
            EXPECT_FALSE(db.TestTitle(index, test).empty());
            for (int q = 1; q <= index.QuestionCount(test); ++q, ++questions) {
                const int32_t recno = index.FindRecordNo(test + index.QuestionAt(test, q));
                const TDbRec next = db.RecordAt(recno + 1);
                EXPECT_NE(std::string(next.KeyText()).find("|uitleg"), std::string::npos)
                    << test << " question " << q;
            }
        }
    }
    EXPECT_GE(tests, 4);
    EXPECT_GE(questions, 30);
    EXPECT_TRUE(dir.Exists("first/D/iq.dat"));
}

TEST(ContentTool, OddDatabasesSurviveDumpAndBuild) {
    TempProgramDir dir;
    const std::vector<TSourceRecord> records = {
        {"", "", "", 0, 0, 0},
        {"BkInfo|x", "\r\n\r\nleading and trailing\r\n\r\n", "", 0, 0, 0},
        {"Test|abcd00000000000", "@at\r\n#hash\r\n\\slash\r\n  indented  ", "", 0, 0, 0},
        {"Test|abcd00100100001", "no answer", "", 0, 0, 0},
        {"Test|abcd001002 1x99zz", "odd columns", "", 0, 0, 0},
        {"Test|abcd00100100001|uitleg", "explains", "", 0, 0, 0},
        {"Test|abcd00100100001|uitleg", "explains nothing", "", 0, 0, 0},
        {"Test|efgh00000000000|", "lone\nLF and CR\r", "", 0, 0, 0},
        {"key\nwith break", std::string("zero\0byte", 9), "", 0, 0, 0},
        {"Test|efgh00100000000", "\x80\x81\xFF", "", 0, 0, 0},
    };
    QByteArray original;
    ASSERT_TRUE(WriteDatabase(records, original));
    const QString db = dir.Write("in/IDbRecs.dat", original);
    std::string log;
    ASSERT_EQ(Tool({"dump", db, dir.Path() + "src"}, &log), 0) << log;
    ASSERT_EQ(Tool({"build", dir.Path() + "src", dir.Path() + "out"}, &log), 0) << log;
    EXPECT_EQ(dir.Read("out/D/IDbRecs.dat"), original);

    // A damaged file dumps what comes before the damage and says so.
    dir.Write("in/cut.dat", original.left(original.size() - 3));
    EXPECT_EQ(Tool({"dump", dir.Path() + "in/cut.dat", dir.Path() + "cut"}, &log), 1);
    EXPECT_NE(log.find("9 records"), std::string::npos) << log;
}

TEST(ContentTool, ListAndExtractStayInsideTheTargetFolder) {
    TempProgramDir dir;
    dir.Write("src/db/a.txt", "@achtergrond A\nx\n");
    dir.Write("src/pictures/one.bmp", QByteArray(5000, 'o'));
    dir.Write("src/pictures/two.png", "tiny");
    std::string log;
    ASSERT_EQ(Tool({"build", dir.Path() + "src", dir.Path() + "out"}, &log), 0) << log;
    const QString archive = dir.Path() + "out/zernox2.dat";
    ASSERT_EQ(Tool({"ls", archive}, &log), 0);
    EXPECT_NE(log.find("one.bmp\t5000\t"), std::string::npos) << log;
    EXPECT_NE(log.find("deflated"), std::string::npos);
    EXPECT_NE(log.find("two.png\t4\t4\t"), std::string::npos);

    EXPECT_EQ(Tool({"extract", archive, dir.Path() + "x"}), 0);
    EXPECT_EQ(dir.Read("x/one.bmp"), QByteArray(5000, 'o'));
    EXPECT_EQ(dir.Read("x/two.png"), "tiny");
    // A member name with folders is reduced to its file name.
    QByteArray damaged = ReadAll(archive);
    damaged.replace("two.png=", "../t.pn="); // same length: the index length stays right
    dir.Write("evil.dat", damaged);
    EXPECT_EQ(Tool({"extract", dir.Path() + "evil.dat", dir.Path() + "y", "../T.PN"}), 0);
    EXPECT_EQ(dir.Read("y/t.pn"), "tiny");
    EXPECT_FALSE(dir.Exists("t.pn"));
    EXPECT_EQ(Tool({"extract", archive, dir.Path() + "z", "none.bmp"}), 1);
    EXPECT_EQ(Tool({"ls", dir.Path() + "missing.dat"}), 1);
    EXPECT_EQ(Tool({"frobnicate"}), 2);
}

TEST(ContentTool, CheckAndBuildRefuseBrokenSources) {
    TempProgramDir dir;
    dir.Write("src/db/a.txt", "@groep abcd\nG\n@test 001\n<a href=starttest>s</a>\n"
                              "@vraag 001 punten=5 antwoord=a\n<a href=a>a</a>\n");
    std::string log;
    EXPECT_EQ(Tool({"check", dir.Path() + "src"}, &log), 1);
    EXPECT_NE(log.find("db/a.txt:5: error: question without answer length"), std::string::npos)
        << log;
    EXPECT_EQ(Tool({"build", dir.Path() + "src", dir.Path() + "out"}, &log), 1);
    EXPECT_FALSE(dir.Exists("out/D/IDbRecs.dat"));

    dir.Write("ok/db/a.txt", "@groep abcd\nG\n@test 001\n<a href=starttest>s</a>\n"
                             "@vraag 001 punten=5 lengte=1 antwoord=a\n<img name=p.bmp> "
                             "<a href=a>a</a>\n@uitleg\nu\n");
    EXPECT_EQ(Tool({"check", dir.Path() + "ok"}, &log), 1); // the picture is missing
    dir.Write("pics/P.BMP", "picture");
    EXPECT_EQ(Tool({"check", dir.Path() + "ok", "--pictures", dir.Path() + "pics"}, &log), 1);
    EXPECT_NE(log.find("error: picture P.BMP does not decode"), std::string::npos) << log;
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::white);
    ASSERT_TRUE(picture.save(dir.Path() + "pics/P.BMP", "BMP"));
    EXPECT_EQ(Tool({"check", dir.Path() + "ok", "--pictures", dir.Path() + "pics"}, &log), 0)
        << log;
}

TEST(ContentTool, StarterContentChecksCleanAgainstTheDrawnPictures) {
    TempProgramDir dir;
    const QString pics = dir.Path() + "pics";
    ASSERT_TRUE(QDir().mkpath(pics));
    for (const TPuzzlePicture& p : DrawPuzzlePictures())
        ASSERT_TRUE(p.Image.save(pics + "/" + p.Name, p.Name.endsWith(".bmp") ? "BMP" : "PNG"));
    const QString content = ZENX_CONTENT_DIR;
    std::string log;
    ASSERT_EQ(Tool({"check", content, "--pictures", pics}, &log), 0) << log;
    EXPECT_EQ(log.find("warning"), std::string::npos) << log;
    ASSERT_EQ(Tool({"build", content, dir.Path() + "out", "--pictures", pics}, &log), 0) << log;

    // Some members deflated, some stored, and every one comes out again.
    const QString archive = dir.Path() + "out/zernox2.dat";
    const auto pictures = ReadPictureIndex(archive);
    ASSERT_TRUE(pictures && !pictures->empty());
    int deflated = 0, stored = 0;
    for (const std::string& line : *pictures) {
        const TPictureEntry e = ParsePictureEntry(line);
        (e.StoredSize < e.Size ? deflated : stored) += 1;
        EXPECT_TRUE(ExtractPicture(archive, e, dir.Path() + "T/" + QString::fromStdString(e.Name)))
            << e.Name;
    }
    EXPECT_GT(deflated, 0);
    EXPECT_GT(stored, 0);

    // Every age section holds every raw score the program looks up.
    const QString iq = dir.Path() + "out/D/iq.dat";
    for (const char* section : {"14-16", "17-21", "22-30", ">30"})
        for (int raw = 0; raw <= 164; ++raw) {
            const std::string value = plat::ReadProfileString(iq, section, std::to_string(raw));
            EXPECT_GE(StrToIntDef(value, 0), 40) << section << " " << raw;
            EXPECT_LE(StrToIntDef(value, 999), 155) << section << " " << raw;
        }

    // Each kind of choice is used somewhere, and one answer takes two clicks.
    TiDbRecFile db;
    ASSERT_TRUE(db.LoadFromFile(dir.Path() + "out/D/IDbRecs.dat"));
    db.ActivateAll();
    TRecordIndex index;
    db.BuildTestIndex(index);
    std::set<std::string> kinds;
    bool twoClicks = false;
    std::map<std::string, std::string> answerOfPicture;
    for (const std::string& entry : index.Entries()) {
        if (EntryQuestion(entry) == "000" || entry.find("<$i>") != std::string::npos)
            continue;
        twoClicks = twoClicks || EntryAnswerLength(entry) == "02";
        const std::string body(db.RecordAt(EntryRecNo(entry)).BodyText());
        for (const char* kind : {"radio", "checkbox", "text"})
            if (body.find(std::string("type=\"") + kind + "\"") != std::string::npos)
                kinds.insert(kind);
        if (!LinkTargets(body).empty())
            kinds.insert("link");
        for (const TFoundName& picture : PictureNames(body))
            answerOfPicture[picture.Value] = std::string(EntryAnswer(entry));
    }
    // Check boxes would let a second tick leave the first one standing.
    EXPECT_EQ(kinds, (std::set<std::string>{"link", "radio", "text"}));
    EXPECT_TRUE(twoClicks);

    // The figure questions give the answer that the drawn pictures bear out.
    for (const TPuzzleKey& key : PuzzleKeys()) {
        EXPECT_EQ(key.MatchingChoices, 1) << key.SeriesPicture.toStdString();
        EXPECT_EQ(answerOfPicture[key.SeriesPicture.toStdString()], key.Answer.toStdString())
            << key.SeriesPicture.toStdString();
    }
}
