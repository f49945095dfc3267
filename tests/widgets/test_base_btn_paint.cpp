#include "tests/common/paint_probe.h"
#include "widgets/base_btn_paint.h"

#include <QPainter>
#include <gtest/gtest.h>

using probe::SameColour;

namespace {

constexpr QRgb kUnder = 0xff00ff00;
constexpr QRgb kRed = 0xfffa0a0a, kBlue = 0xff0000ff, kYellow = 0xffffff00, kBlack = 0xff000000,
               kShadow = 0xff808080, kWhite = 0xffffffff;

QImage Solid(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// W = 145 with ShadowXOffset 0.01: the press moves everything round(1.45) = 1
// pixel. Face 0..115 x 0..19, glyph at (29, 20), caption at (87, 24).
TBaseBtnFace ShiftFace() {
    TBaseBtnFace face;
    face.Brush = QBrush(QColor(kRed));
    face.ShadowXOffset = 0.01;
    face.GlyphUp = Solid(4, 4, kBlue);
    face.GlyphXOffset = 0.2;
    face.GlyphYOffset = 0.5;
    face.Caption = QStringLiteral("HIH");
    face.CaptionXOffset = 0.6;
    face.CaptionYOffset = 0.6;
    return face;
}

TBaseBtnStatus Status(bool enabled = true, bool mousePressed = false) {
    TBaseBtnStatus status;
    status.Enabled = enabled;
    status.MousePressed = mousePressed;
    status.Font.setPixelSize(12);
    status.Font.setStyleStrategy(QFont::NoAntialias);
    return status;
}

QImage Paint(const TBaseBtnFace& face, const TBaseBtnStatus& status, QSize size = {145, 40}) {
    QImage image = probe::Canvas(size.width(), size.height(), kUnder);
    QPainter painter(&image);
    PaintBaseBtn(painter, size, face, status);
    return image;
}

QRect BoxOf(const QImage& image, QRgb colour) {
    return probe::BoundingBox(image, [colour](QRgb c) { return SameColour(c, colour); });
}

// The caption lies below the face (rows 0 to 19).
QImage CaptionArea(const QImage& image) {
    return image.copy(0, 22, image.width(), 18);
}

} // namespace

TEST(BaseBtnPaint, FaceRectangleRoundsHalvesToEven) {
    TBaseBtnFace face;
    face.FaceXOffset = 0.125;  // 12.5 -> 12
    face.FaceWidth = 0.5;      // 62.5 -> 62
    face.FaceYOffset = 0.0625; // 2.5 -> 2
    face.FaceHeight = 0.5;     // 22.5 -> 22
    EXPECT_EQ(FaceRect(face, QSize(100, 40), false), QRect(QPoint(12, 2), QPoint(61, 21)));
}

TEST(BaseBtnPaint, PressMovesFaceGlyphAndCaptionOnePixelOntoTheShadow) {
    TBaseBtnFace face = ShiftFace();
    face.GlyphUpIsGlyphDown = true;
    const QImage up = Paint(face, Status());
    const QImage down = Paint(face, Status(true, true));
    probe::SaveOnFailure saveUp(up, "up");
    probe::SaveOnFailure saveDown(down, "down");

    EXPECT_TRUE(SameColour(up.pixel(0, 10), kBlack));
    EXPECT_TRUE(SameColour(up.pixel(115, 10), kBlack));
    EXPECT_TRUE(SameColour(up.pixel(116, 10), kShadow));
    EXPECT_TRUE(SameColour(up.pixel(50, 10), kRed));
    EXPECT_TRUE(SameColour(down.pixel(0, 10), kUnder)); // no shadow while pressed
    EXPECT_TRUE(SameColour(down.pixel(1, 10), kBlack));
    EXPECT_TRUE(SameColour(down.pixel(116, 10), kBlack));

    EXPECT_EQ(BoxOf(up, kBlue), QRect(29, 20, 4, 4));
    EXPECT_EQ(BoxOf(down, kBlue), QRect(30, 20, 4, 4));
    const QRect caption = BoxOf(CaptionArea(up), kBlack);
    ASSERT_FALSE(caption.isEmpty());
    EXPECT_GE(caption.left(), 87);
    EXPECT_LE(caption.left(), 90);
    EXPECT_EQ(BoxOf(CaptionArea(down), kBlack), caption.translated(1, 0));
}

TEST(BaseBtnPaint, LatchedDownLooksPressedWithoutTheMouse) {
    TBaseBtnFace face = ShiftFace();
    face.ButtonIsDown = true;
    const QImage image = Paint(face, Status());
    probe::SaveOnFailure save(image, "latched");
    EXPECT_TRUE(SameColour(image.pixel(0, 10), kUnder));
    EXPECT_TRUE(SameColour(image.pixel(116, 10), kBlack));
}

TEST(BaseBtnPaint, DisabledCastsShadowAndGreysTheCaption) {
    TBaseBtnFace face = ShiftFace();
    face.GlyphDisabled = Solid(4, 4, kYellow);
    QImage image = Paint(face, Status(false));
    probe::SaveOnFailure save(image, "disabled");
    EXPECT_TRUE(SameColour(image.pixel(116, 10), kShadow));
    EXPECT_EQ(BoxOf(image, kYellow), QRect(29, 20, 4, 4));
    EXPECT_TRUE(BoxOf(image, kBlue).isEmpty());
    const QImage caption = CaptionArea(image);
    EXPECT_FALSE(BoxOf(caption, kGrayTextColor.rgb()).isEmpty());
    EXPECT_TRUE(BoxOf(caption, kBlack).isEmpty());

    face.GlyphDisabled = QImage();
    image = Paint(face, Status(false));
    EXPECT_TRUE(BoxOf(image, kBlue).isEmpty()); // GlyphUp never stands in
}

TEST(BaseBtnPaint, PressedGlyphChoice) {
    TBaseBtnFace face = ShiftFace();
    // Only GlyphUp, and GlyphUpIsGlyphDown false: no glyph while pressed.
    QImage image = Paint(face, Status(true, true));
    probe::SaveOnFailure save(image, "pressed-glyph");
    EXPECT_TRUE(BoxOf(image, kBlue).isEmpty());

    face.GlyphDown = Solid(4, 4, kYellow);
    image = Paint(face, Status(true, true));
    EXPECT_EQ(BoxOf(image, kYellow), QRect(30, 20, 4, 4));

    face.GlyphUpIsGlyphDown = true;
    image = Paint(face, Status(true, true));
    EXPECT_TRUE(BoxOf(image, kYellow).isEmpty());
    EXPECT_EQ(BoxOf(image, kBlue), QRect(30, 20, 4, 4));
}

TEST(BaseBtnPaint, CentredGlyphIsCroppedWhenLargerThanTheButton) {
    TBaseBtnFace face;
    face.FaceVisible = false;
    face.GlyphCentered = true;
    QImage glyph(31, 11, QImage::Format_RGB32);
    for (int x = 0; x < 31; ++x)
        for (int y = 0; y < 11; ++y)
            glyph.setPixel(x, y, qRgb(x * 8, y * 8, 255));
    face.GlyphUp = glyph;
    const QImage image = Paint(face, Status(), QSize(20, 10));
    probe::SaveOnFailure save(image, "centred");
    // (20 - 31) / 2 = -5 and (10 - 11) / 2 = 0, truncated toward zero.
    EXPECT_TRUE(SameColour(image.pixel(0, 0), glyph.pixel(5, 0)));
    EXPECT_TRUE(SameColour(image.pixel(19, 9), glyph.pixel(24, 9)));
}

TEST(BaseBtnPaint, RaisedFrameOnlyWhileHotAndNotPressed) {
    TBaseBtnFace face;
    face.FaceVisible = false;
    face.ButtonIsHot = true;
    const QImage raised = Paint(face, Status());
    const QImage sunken = Paint(face, Status(true, true));
    probe::SaveOnFailure saveRaised(raised, "raised");
    probe::SaveOnFailure saveSunken(sunken, "sunken");
    EXPECT_TRUE(SameColour(raised.pixel(10, 0), kWhite));
    EXPECT_TRUE(SameColour(raised.pixel(10, 39), kShadow));
    EXPECT_TRUE(SameColour(sunken.pixel(10, 0), kShadow));
    EXPECT_TRUE(SameColour(sunken.pixel(10, 39), kWhite));
    // Without a face there is no shadow either.
    EXPECT_TRUE(SameColour(raised.pixel(50, 10), kUnder));

    face.ButtonIsHot = false;
    EXPECT_EQ(probe::Count(Paint(face, Status()), [](QRgb c) { return !SameColour(c, kUnder); }),
              0);
}

// Face 0..115 x 0..19 (no rounding): the ring is inset by 3 pixels and moves
// with the face while pressed. Without the focus nothing of it is painted.
TEST(BaseBtnPaint, FocusRingLiesInsideTheFaceAndFollowsThePress) {
    TBaseBtnFace face = ShiftFace();
    face.Caption.clear();
    face.GlyphUp = QImage();
    TBaseBtnStatus status = Status();
    status.FontColor = QColor(kBlue);
    const QImage plain = Paint(face, status);
    status.Focused = true;
    const QImage focused = Paint(face, status);
    probe::SaveOnFailure save(focused, "focused");
    EXPECT_TRUE(BoxOf(plain, kBlue).isEmpty());
    EXPECT_EQ(BoxOf(focused, kBlue), QRect(QPoint(3, 3), QPoint(112, 16)));
    // Only the ring differs.
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (!SameColour(focused.pixel(x, y), kBlue)) {
                ASSERT_EQ(focused.pixel(x, y), plain.pixel(x, y)) << x << "," << y;
            }
        }
    }

    status.MousePressed = true;
    EXPECT_EQ(BoxOf(Paint(face, status), kBlue), QRect(QPoint(4, 3), QPoint(113, 16)));
    // Disabled buttons lose the focus; a status saying otherwise draws none.
    status.Enabled = false;
    EXPECT_TRUE(BoxOf(Paint(face, status), kBlue).isEmpty());
}
