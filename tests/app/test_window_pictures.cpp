#include "app/main_form.h"
#include "app/window_pictures.h"

#include "platform/screen.h"
#include "tests/app/form_controls.h"
#include "tests/common/png_bytes.h"
#include "tests/common/temp_program_dir.h"
#include "widgets/background.h"
#include "widgets/base_btn.h"
#include "widgets/bk_control.h"
#include "widgets/image_loader.h"

#include <QFileInfo>
#include <QImage>
#include <QStackedWidget>
#include <gtest/gtest.h>

TEST(WindowPictures, NamesCarryTheLayoutSuffix) {
    EXPECT_EQ(WindowPicturePath("hdbk", 0), "I\\B\\hdbk6x4");
    EXPECT_EQ(WindowPicturePath("sbo", 1), "I\\B\\sbo8x6");
    EXPECT_EQ(WindowPicturePath("bibk", 2), "I\\B\\bibk10x7");
    EXPECT_EQ(WindowPicturePath("bo", 3), "");
    EXPECT_EQ(WindowPictureTable().front().BaseName, std::string("hdbk"));
    EXPECT_EQ(WindowPictureTable().back().BaseName, std::string("bd"));
}

TEST(WindowPictures, OnlyTheLayoutsOwnSizeIsReadWithoutFallback) {
    TempProgramDir dir;
    plat::SetScreenOverride({1024, 768, 24}); // layout 1
    dir.Write("I/B/hdbk6x4", PngBytes(460, 43, Qt::red));
    dir.Write("I/B/bo6x4", PngBytes(145, 45, Qt::red));
    dir.Write("I/B/BO8X6", PngBytes(181, 56, Qt::green)); // names match without regard to case
    dir.Write("I/B/tbk8x6", PngBytes(611, 544, Qt::blue));
    dir.Write("I/B/sbh8x6", "not a picture");
    {
        TMainForm form;
        ASSERT_TRUE(form.FormCreate());
        EXPECT_EQ(form.LayoutSize, 1);
        EXPECT_TRUE(Control<TBkControl>(form, "HeaderBk")->Background().Image().isNull());
        EXPECT_TRUE(Control<TBkControl>(form, "LogOnOffBk")->Background().Image().isNull());
        EXPECT_EQ(Control<TBkControl>(form, "TestBk")->Background().Image().size(),
                  QSize(611, 544));
        for (TBaseBtn* b :
             {Control<TBaseBtn>(form, "LogOnOffBtn"), Control<TBaseBtn>(form, "HelpBtn"),
              Control<TBaseBtn>(form, "InternetDownloadBtn"),
              Control<TBaseBtn>(form, "NextQuestionBtn"),
              Control<TBaseBtn>(form, "LogOnOffGoBtn")}) {
            ASSERT_EQ(b->GlyphUp().size(), QSize(181, 56)) << b->objectName().toStdString();
            EXPECT_EQ(b->GlyphUp().pixelColor(5, 5), QColor(Qt::green));
            EXPECT_TRUE(b->GlyphDown().isNull());
        }
        EXPECT_TRUE(Control<TBaseBtn>(form, "InfoBtn")->GlyphUp().isNull());
        EXPECT_TRUE(
            Control<TBaseBtn>(form, "SoundBtn")->GlyphDown().isNull()); // undecodable: empty
        EXPECT_TRUE(form.ImageLoader().ImageName().isEmpty());
    }
    plat::ClearScreenOverride();
}

TEST(WindowPictures, InstalledPicturesFitTheScaledControls) {
    // The pictures generated beside the program, against the controls of
    // each layout as the window scales them.
    const QString programDir = QFileInfo(QStringLiteral(ZENX_EXE)).absolutePath() + "/I/B/";
    const plat::ScreenInfo screens[] = {{800, 600, 24}, {1024, 768, 24}, {1280, 1024, 24}};
    for (const plat::ScreenInfo& screen : screens) {
        TempProgramDir dir;
        plat::SetScreenOverride(screen);
        TMainForm form;
        ASSERT_TRUE(form.FormCreate());
        const QString suffix = QString::fromLatin1(LayoutSuffix(form.LayoutSize));
        for (const char* base : {"bo", "bh", "bd"})
            EXPECT_EQ(QImage(programDir + base + suffix).size(),
                      Control<TBaseBtn>(form, "LogOnOffBtn")->size())
                << base << form.LayoutSize;
        for (const char* base : {"sbo", "sbh", "sbd"})
            EXPECT_EQ(QImage(programDir + base + suffix).size(),
                      Control<TBaseBtn>(form, "QuitBtn")->size())
                << base << form.LayoutSize;
        for (const char* base : {"lbk", "cbk", "ibk", "tbk", "bibk", "hbk"})
            EXPECT_EQ(QImage(programDir + base + suffix).size(),
                      Control<TBkControl>(form, "TestBk")->size())
                << base << form.LayoutSize;
        EXPECT_EQ(QImage(programDir + "hdbk" + suffix).size(),
                  Control<TBkControl>(form, "HeaderBk")->size());
        EXPECT_EQ(Control<TBkControl>(form, "TestBk")->size(),
                  Control<QStackedWidget>(form, "MainPages")->size());
    }
    plat::ClearScreenOverride();
    EXPECT_EQ(QImage(programDir + "intro").size(), QSize(282, 282));
    EXPECT_EQ(QImage(programDir + "about").size(), QSize(325, 325));
}
