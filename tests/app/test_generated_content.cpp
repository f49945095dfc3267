#include "tools/skin_pictures.h"
#include "tools/sound_chimes.h"

#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

namespace {

qint16 Sample(const QByteArray& wav, int index) {
    return qFromLittleEndian<qint16>(wav.constData() + 44 + 2 * index);
}

} // namespace

TEST(GeneratedSounds, AreShortMonoPcmWithoutClicks) {
    const QByteArray sounds[] = {LogOnSound(), LogOffSound(), HoverSound(), PageSound()};
    for (const QByteArray& wav : sounds) {
        ASSERT_GT(wav.size(), 44);
        EXPECT_EQ(wav.left(4), "RIFF");
        EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
        EXPECT_EQ(qFromLittleEndian<quint32>(wav.constData() + 4), quint32(wav.size() - 8));
        EXPECT_EQ(qFromLittleEndian<quint16>(wav.constData() + 20), 1); // PCM
        EXPECT_EQ(qFromLittleEndian<quint16>(wav.constData() + 22), 1); // mono
        EXPECT_EQ(qFromLittleEndian<quint16>(wav.constData() + 34), 16);
        const int rate = int(qFromLittleEndian<quint32>(wav.constData() + 24));
        const int samples = int(qFromLittleEndian<quint32>(wav.constData() + 40)) / 2;
        ASSERT_EQ(44 + 2 * samples, wav.size());
        EXPECT_LT(samples, rate); // under a second
        // Starts and ends at silence; stays below full scale.
        EXPECT_LT(std::abs(Sample(wav, 0)), 200);
        EXPECT_LT(std::abs(Sample(wav, samples - 1)), 200);
        int peak = 0;
        for (int i = 0; i < samples; ++i)
            peak = std::max(peak, std::abs(int(Sample(wav, i))));
        EXPECT_GT(peak, 3000);
        EXPECT_LT(peak, 24000);
    }
}

TEST(GeneratedPictures, ButtonFacesHaveClearCornersAndOpaqueMiddles) {
    for (int layout = 0; layout < 3; ++layout) {
        for (const TSkinPicture& picture : DrawLayoutPictures(layout)) {
            const QImage& image = picture.Image;
            ASSERT_FALSE(image.isNull());
            const QPoint middle(image.width() / 2, image.height() / 2);
            EXPECT_EQ(qAlpha(image.pixel(middle)), 255) << picture.Name.toStdString();
            // The large faces bo, bh and bd are rounded; the rest fill their area.
            const bool rounded = picture.Name.size() > 2 && picture.Name[0] == 'b' &&
                                 QString("ohd").contains(picture.Name[1]) &&
                                 picture.Name[2].isDigit();
            EXPECT_EQ(qAlpha(image.pixel(0, 0)), rounded ? 0 : 255) << picture.Name.toStdString();
        }
    }
}
