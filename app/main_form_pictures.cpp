// The window's pictures for its layout: header, page backgrounds and the
// faces of the skinned buttons. A missing file leaves its targets empty;
// no other size stands in for it.
#include "app/main_form.h"

#include "app/window_pictures.h"
#include "markup/parser_control.h"
#include "platform/paths.h"
#include "widgets/background.h"
#include "widgets/base_btn.h"
#include "widgets/bk_control.h"
#include "widgets/image_loader.h"

#include <QFileInfo>
#include <vector>

namespace {

enum class TFace { Up, Down, Grey };

void SetFace(const std::vector<TBaseBtn*>& buttons, TFace face, const QImage& picture) {
    for (TBaseBtn* b : buttons) {
        switch (face) {
        case TFace::Up:
            b->SetGlyphUp(picture);
            break;
        case TFace::Down:
            b->SetGlyphDown(picture);
            break;
        case TFace::Grey:
            b->SetGlyphDisabled(picture);
            break;
        }
    }
}

} // namespace

void TMainForm::LoadWindowPictures() {
    const std::vector<TBaseBtn*> small = {InfoBtn, SoundBtn, MinimizeBtn, QuitBtn};
    const std::vector<TBaseBtn*> large = {LogOnOffBtn,     ConfigBtn,         InternetBtn,
                                          SelectTestBtn,   PauseTestBtn,      BkInfoBtn,
                                          HelpBtn,         LogOnOffAddBtn,    LogOnOffPWDelBtn,
                                          LogOnOffGoBtn,   DeleteAnswerBtn,   PreviousQuestionBtn,
                                          NextQuestionBtn, InternetUpLoadBtn, InternetDownloadBtn};

    for (const TPictureRow& row : WindowPictureTable()) {
        anImage->SetImageName(QString());
        const QString path = plat::ResolvePath(WindowPicturePath(row.BaseName, LayoutSize));
        QImage picture;
        if (!path.isEmpty() && QFileInfo(path).isFile()) {
            anImage->SetImageName(path);
            picture = anImage->Picture();
        }
        switch (row.Target) {
        case TPictureTarget::HeaderBk:
            HeaderBk->Background().SetImage(picture);
            break;
        case TPictureTarget::LogOnOffBk:
            LogOnOffBk->Background().SetImage(picture);
            break;
        case TPictureTarget::ConfigBk:
            ConfigBk->Background().SetImage(picture);
            break;
        case TPictureTarget::InternetBk:
            InternetBk->Background().SetImage(picture);
            break;
        case TPictureTarget::TestBk:
            TestBk->Background().SetImage(picture);
            if (TestView)
                TestView->Background().SetImage(picture);
            break;
        case TPictureTarget::BkInfoBk:
            BkInfoBk->Background().SetImage(picture);
            // The text lies on the page background.
            if (BkInfoView)
                BkInfoView->Background().SetImage(picture);
            break;
        case TPictureTarget::HelpBk:
            HelpBk->Background().SetImage(picture);
            if (HelpView)
                HelpView->Background().SetImage(picture);
            break;
        case TPictureTarget::SmallUp:
            SetFace(small, TFace::Up, picture);
            break;
        case TPictureTarget::SmallDown:
            SetFace(small, TFace::Down, picture);
            break;
        case TPictureTarget::SmallGrey:
            SetFace(small, TFace::Grey, picture);
            break;
        case TPictureTarget::LargeUp:
            SetFace(large, TFace::Up, picture);
            break;
        case TPictureTarget::LargeDown:
            SetFace(large, TFace::Down, picture);
            break;
        case TPictureTarget::LargeGrey:
            SetFace(large, TFace::Grey, picture);
            break;
        }
    }
    anImage->SetImageName(QString());
}

const TImageLoader& TMainForm::ImageLoader() const {
    return *anImage;
}
