// Reading uploaded users.dat files, odd ones included.
#include "server/upload_parser.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Names(const std::vector<TUploadedUser>& users) {
    std::vector<std::string> names;
    for (const auto& u : users)
        names.push_back(u.Name);
    return names;
}

const std::string kTwoUsers = "[Users]\nCount=2\n1=Anna\n2=Jan\n"
                              "[Anna.Data]\nPw=x\nUid=4711\nGender=1\nAge=34\n"
                              "[Anna.Answers]\nreek001001=c<46000,500><12000>\nreek001002=\n"
                              "[Jan.Data]\nUid=815\nGender=0\nAge=300\n"
                              "[Jan.Answers]\nreek001001=b<46000,500><9000>\n";

std::string WithLineEnds(std::string text, const std::string& eol) {
    std::string out;
    for (char c : text)
        out += c == '\n' ? eol : std::string(1, c);
    return out;
}

} // namespace

TEST(UploadParser, ReadsUsersAlikeWhateverTheLineEndsAndByteOrderMark) {
    for (const std::string& variant :
         {WithLineEnds(kTwoUsers, "\n"), WithLineEnds(kTwoUsers, "\r\n"),
          WithLineEnds(kTwoUsers, "\r"), "\xEF\xBB\xBF" + WithLineEnds(kTwoUsers, "\r\n"),
          "\xEF\xBB\xBF" + WithLineEnds(kTwoUsers, "\r")}) {
        const auto users = ParseUpload(variant);
        ASSERT_EQ(Names(users), (std::vector<std::string>{"Anna", "Jan"})) << variant;
        EXPECT_EQ(users[0].Uid, "4711");
        EXPECT_TRUE(users[0].Female);
        EXPECT_EQ(users[0].Age, 34);
        // A key without a value is no answer.
        ASSERT_EQ(users[0].Answers.size(), 1u);
        EXPECT_EQ(users[0].Answers[0],
                  std::make_pair(std::string("reek001001"), std::string("c<46000,500><12000>")));
        EXPECT_FALSE(users[1].Female);
        EXPECT_EQ(users[1].Age, 44) << "300 is kept in 8 bits as the program keeps it";
    }
}

TEST(UploadParser, ProfileValuesAreReadAsTheProgramReadsThem) {
    const auto users = ParseUpload("[Users]\r\nCount=3\r\n1=A\r\n2=B\r\n3=C\r\n"
                                   "[A.Data]\r\nGender=5\r\nAge=0x1F\r\n"
                                   "[B.Data]\r\nGender=yes\r\nAge=abc\r\n"
                                   "[c.data]\r\nAGE=$10\r\n");
    ASSERT_EQ(users.size(), 3u);
    EXPECT_TRUE(users[0].Female);
    EXPECT_EQ(users[0].Age, 31);
    EXPECT_FALSE(users[1].Female) << "text that is no number reads as the default";
    EXPECT_EQ(users[1].Age, 0);
    EXPECT_EQ(users[2].Age, 16) << "section and key names match without regard to case";
}

TEST(UploadParser, UsersMissingFromADamagedListStillCountOnce) {
    // "Jan" lost his list entry; "anna" has sections in another letter case;
    // an empty and a blank entry are no users; a user without ".Data" has the
    // defaults.
    const auto users = ParseUpload("[Users]\r\nCount=5\r\n1=Anna\r\n2=\r\n3=   \r\n4=Piet\r\n"
                                   "[anna.Data]\r\nAge=20\r\n[ANNA.Answers]\r\nk=v<1,1><1>\r\n"
                                   "[Jan.Answers]\r\nk=v<1,1><1>\r\n[Jan.Data]\r\nAge=40\r\n");
    ASSERT_EQ(Names(users), (std::vector<std::string>{"Anna", "Piet", "Jan"}));
    EXPECT_EQ(users[0].Age, 20);
    EXPECT_EQ(users[0].Answers.size(), 1u);
    EXPECT_EQ(users[1].Age, 0);
    EXPECT_FALSE(users[1].Female);
    EXPECT_TRUE(users[1].Answers.empty());
    EXPECT_EQ(users[2].Age, 40);
}

TEST(UploadParser, LongAndStrangeNames) {
    const std::string name255(255, 'n');
    const std::string odd = " Jan]=;x ";
    const auto users = ParseUpload("[Users]\r\nCount=3\r\n1=" + name255 + "\r\n2=" + name255 +
                                   "xyz\r\n3=\" Jan]=;x \"\r\n[" + name255 +
                                   ".Data]\r\nAge=18\r\n[" + odd + ".Data]\r\nAge=77\r\n");
    ASSERT_EQ(users.size(), 2u) << "a name cut to 255 characters is the same user";
    EXPECT_EQ(users[0].Name, name255);
    EXPECT_EQ(users[0].Age, 18);
    EXPECT_EQ(users[1].Name, odd);
    EXPECT_EQ(users[1].Age, 77);
}

TEST(UploadParser, NothingUsableGivesNoUsers) {
    EXPECT_TRUE(ParseUpload("").empty());
    EXPECT_TRUE(ParseUpload("\xEF\xBB\xBF").empty());
    EXPECT_TRUE(ParseUpload("[Users]\r\nCount=0\r\n").empty());
    EXPECT_TRUE(ParseUpload("[Users]\r\nCount=99999999999\r\n").empty());
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919) % 256 == '[' ? 'x' : (i * 7919) % 256);
    EXPECT_TRUE(ParseUpload(garbage).empty());
}

TEST(UploadParser, NormalizedLinesTurnsEveryLineEndIntoLf) {
    EXPECT_EQ(NormalizedLines("\xEF\xBB\xBF"
                              "a\r\nb\rc\nd\r\r\n"),
              "a\nb\nc\nd\n\n");
    EXPECT_EQ(NormalizedLines("a\xEF\xBB\xBF"), "a\xEF\xBB\xBF") << "only a leading mark goes";
}

TEST(UploadParser, TheHistoryOfRetakenTestsIsNoAnswerAndNamesNoUser) {
    const auto users = ParseUpload("[Users]\r\nCount=1\r\n1=Anna\r\n"
                                   "[Anna.Data]\r\nUid=4711\r\n"
                                   "[Anna.Answers]\r\nreek001001=c<46000,500><12000>\r\n"
                                   "[Anna.History]\r\nreek001001.1=a<45990,500><9000>\r\n"
                                   "reek001002.1=b<45990,500><9000>\r\n"
                                   "[Ghost.History]\r\nreek001001.1=c<45990,500><9000>\r\n");
    ASSERT_EQ(Names(users), (std::vector<std::string>{"Anna"}));
    ASSERT_EQ(users[0].Answers.size(), 1u);
    EXPECT_EQ(users[0].Answers[0].first, "reek001001");
}
