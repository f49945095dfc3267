#include "app/window_pictures.h"

const std::array<TPictureRow, 13>& WindowPictureTable() {
    static const std::array<TPictureRow, 13> table = {{
        {"hdbk", TPictureTarget::HeaderBk},
        {"lbk", TPictureTarget::LogOnOffBk},
        {"cbk", TPictureTarget::ConfigBk},
        {"ibk", TPictureTarget::InternetBk},
        {"tbk", TPictureTarget::TestBk},
        {"bibk", TPictureTarget::BkInfoBk},
        {"hbk", TPictureTarget::HelpBk},
        {"sbo", TPictureTarget::SmallUp},
        {"sbh", TPictureTarget::SmallDown},
        {"sbd", TPictureTarget::SmallGrey},
        {"bo", TPictureTarget::LargeUp},
        {"bh", TPictureTarget::LargeDown},
        {"bd", TPictureTarget::LargeGrey},
    }};
    return table;
}

const char* LayoutSuffix(int layoutSize) {
    switch (layoutSize) {
    case 0:
        return "6x4";
    case 1:
        return "8x6";
    case 2:
        return "10x7";
    default:
        return "";
    }
}

std::string WindowPicturePath(const char* baseName, int layoutSize) {
    const std::string suffix = LayoutSuffix(layoutSize);
    if (suffix.empty())
        return {};
    return std::string("I\\B\\") + baseName + suffix;
}
