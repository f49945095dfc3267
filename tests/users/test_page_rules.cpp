#include "users/log_on_rules.h"
#include "users/settings_values.h"
#include "users/user_list.h"

#include <gtest/gtest.h>

namespace {

TEST(UserNames, ValidWhenSomeCharacterIsFromBangToBrace) {
    EXPECT_FALSE(UserNameIsValid(""));
    EXPECT_FALSE(UserNameIsValid("   \t"));
    EXPECT_FALSE(UserNameIsValid("~~"));
    EXPECT_FALSE(UserNameIsValid("\x7F\x80\xE9\xFF"));
    EXPECT_TRUE(UserNameIsValid("!"));
    EXPECT_TRUE(UserNameIsValid("  }  "));
    EXPECT_TRUE(UserNameIsValid(" Jan]=;x "));
}

TEST(UserList, FindsAndInsertsWithoutRegardToCase) {
    TUserList list = {"carl", "", "Anna", "bob"};
    SortUserList(list);
    EXPECT_EQ(list, (TUserList{"", "Anna", "bob", "carl"}));
    EXPECT_EQ(FindUserEntry(list, "anna"), 1);
    EXPECT_EQ(FindUserEntry(list, "ANNA "), -1);
    EXPECT_EQ(FindUserEntry(list, "\xC9MILE"), -1);
    EXPECT_EQ(InsertUserEntry(list, "Bram"), 3);
    EXPECT_EQ(InsertUserEntry(list, "BOB"), 3); // after the equal entry, which stays first
    EXPECT_EQ(FindUserEntry(list, "bob"), 2);
    EXPECT_EQ(InsertUserEntry(list, "\xE9mile"), 6); // accented letters sort after plain ones
    EXPECT_EQ(FindUserEntry(list, "\xC9MILE"), 6);
}

TEST(LogOnRules, NameTextAndPasswordsDecideWhatShows) {
    TLogOnInputs in;
    in.NameText = "   ";
    TLogOnView v = LogOnPageRules(in);
    EXPECT_FALSE(v.PwVisible || v.CpwVisible || v.GoBtnVisible || v.AddBtnVisible ||
                 v.PWDelBtnVisible);

    in.NameText = "Nieuw"; // a new name with both edits empty can be added
    v = LogOnPageRules(in);
    EXPECT_TRUE(v.PwVisible && v.CpwVisible && v.AddBtnVisible);
    EXPECT_FALSE(v.GoBtnVisible);
    in.PwText = "x";
    EXPECT_FALSE(LogOnPageRules(in).AddBtnVisible);
    in.CpwText = "x";
    EXPECT_TRUE(LogOnPageRules(in).AddBtnVisible);

    in.SelectedIndex = 0; // a chosen user: log-on needs the stored password exactly
    in.StoredPw = "X";
    v = LogOnPageRules(in);
    EXPECT_TRUE(v.PwVisible);
    EXPECT_FALSE(v.CpwVisible || v.AddBtnVisible || v.GoBtnVisible);
    in.PwText = "X";
    v = LogOnPageRules(in);
    EXPECT_TRUE(v.GoBtnVisible);
    EXPECT_STREQ(v.GoBtnCaption, "Aanmelden");
    EXPECT_FALSE(v.PWDelBtnVisible);

    in.LoggedOn = true;
    v = LogOnPageRules(in);
    EXPECT_TRUE(v.GoBtnVisible && v.PWDelBtnVisible);
    EXPECT_FALSE(v.UsersLstEnabled || v.PwEnabled || v.CpwEnabled);
    EXPECT_STREQ(v.GoBtnCaption, "Afmelden");
    EXPECT_STREQ(v.LogOnOffBtnCaption, "Afmelden...");
}

TEST(LogOnRules, LongPasswordsCompareAsStored) {
    TLogOnInputs in;
    in.NameText = "Anna";
    in.SelectedIndex = 0;
    in.PwText = std::string(300, 'p');
    in.StoredPw = std::string(255, 'p'); // what adding with that text stored
    EXPECT_TRUE(LogOnPageRules(in).GoBtnVisible);
    in.StoredPw = std::string(254, 'p');
    EXPECT_FALSE(LogOnPageRules(in).GoBtnVisible);
}

TEST(SettingsValues, ShowingClampsTimeLimitsAndBlanksZeros) {
    TUserProfile user;
    user.TimeLimQt = 0;
    user.TimeLimTt = 0;
    TSettingsValues page = SettingsOfUser(user);
    EXPECT_TRUE(page.Male);
    EXPECT_EQ(page.AgeText, "");
    EXPECT_EQ(page.ShoeSizeText, "");
    EXPECT_EQ(page.HairIndex, -1);
    EXPECT_EQ(page.TimeLimQt, 1);
    EXPECT_EQ(page.TimeLimTt, 1);
    TakeSettings(page, user);
    EXPECT_EQ(user.TimeLimQt, 1); // saved as shown
    EXPECT_EQ(user.TimeLimTt, 1);

    user.Gender = true;
    user.Age = 44;
    user.HairColor = 4;
    user.EyeColor = 1;
    user.ShoeSize = 38;
    user.TimeLimQt = 200;
    user.TimeLimTt = 255;
    page = SettingsOfUser(user);
    EXPECT_FALSE(page.Male);
    EXPECT_EQ(page.AgeText, "44");
    EXPECT_EQ(page.HairIndex, 3);
    EXPECT_EQ(page.EyeIndex, 0);
    EXPECT_EQ(page.ShoeSizeText, "38");
    EXPECT_EQ(page.TimeLimQt, 90);
    EXPECT_EQ(page.TimeLimTt, 255);
}

TEST(SettingsValues, TakingThePageKeepsHiddenValuesAndReportsAgeChanges) {
    TUserProfile user;
    user.Age = 44;
    user.HairColor = 2;
    user.ShoeSize = 40;
    TSettingsValues page = SettingsOfUser(user);
    page.HairIndex = -1; // no selection leaves the colour alone
    page.Male = false;
    EXPECT_FALSE(TakeSettings(page, user));
    EXPECT_EQ(user.HairColor, 2);
    EXPECT_TRUE(user.Gender);
    EXPECT_EQ(user.ShoeSize, 40);

    const std::pair<const char*, uint8_t> ages[] = {
        {"300", 44}, {"45", 45}, {"", 0}, {"abc", 0}, {"-1", 0}, {"0x1F", 31}, {"256", 0}};
    for (const auto& [text, stored] : ages) {
        const uint8_t before = user.Age;
        page.AgeText = text;
        EXPECT_EQ(TakeSettings(page, user), stored != before) << text;
        EXPECT_EQ(user.Age, stored) << text;
        EXPECT_EQ(AgeIsGiven(text), stored > 0) << text;
    }
    EXPECT_EQ(AgeOfText("-1"), -1);
    EXPECT_EQ(AgeOfText("zes"), 0);
}

TEST(SettingsValues, GenderPairKeepsExactlyOneChecked) {
    // States are those after the click toggled the clicked box.
    auto click = [](bool male, TGenderPair before) {
        TGenderPair now = before;
        (male ? now.Male : now.Female) = !(male ? before.Male : before.Female);
        return GenderPairAfterClick(male, now);
    };
    TGenderPair pair; // "Man"
    pair = click(false, pair);
    EXPECT_TRUE(!pair.Male && pair.Female);
    pair = click(false, pair); // "Vrouw" again moves the mark to "Man"
    EXPECT_TRUE(pair.Male && !pair.Female);
    pair = click(true, pair); // the checked "Man" stays checked
    EXPECT_TRUE(pair.Male && !pair.Female);
    pair = click(false, pair);
    pair = click(true, pair);
    EXPECT_TRUE(pair.Male && !pair.Female);
}

} // namespace
