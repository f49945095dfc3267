#include "widgets/base_btn.h"
#include "widgets/hand_cursors.h"

#include <QEnterEvent>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

QImage CursorImage(const QCursor& cursor) {
    return cursor.pixmap().toImage();
}

} // namespace

TEST(BaseBtn, StartsWithTheDesignDefaultsAndTheHandCursor) {
    TBaseBtn button;
    EXPECT_EQ(button.size(), QSize(120, 40));
    EXPECT_EQ(button.Brush(), QBrush(Qt::white, Qt::SolidPattern));
    EXPECT_EQ(button.Pen(), QPen(Qt::black));
    EXPECT_EQ(button.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(CursorImage(button.cursor()), CursorImage(CustomCursor(crHandCursor)));
}

TEST(BaseBtn, ClicksOnlyWhenReleasedOverTheButton) {
    TBaseBtn button;
    QSignalSpy clicks(&button, &TBaseBtn::OnClick);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(button.MousePressed());
    EXPECT_TRUE(IsPressed(button.Face(), button.Status()));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(20, 12));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(button.MousePressed());

    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(130, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(button.MousePressed());

    // Any mouse button shows the press, only the left one clicks.
    QTest::mousePress(&button, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_TRUE(button.MousePressed());
    QTest::mouseRelease(&button, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicks.count(), 1);
}

TEST(BaseBtn, ClickHandlerMayDestroyTheButton) {
    auto* button = new TBaseBtn;
    QObject::connect(button, &TBaseBtn::OnClick, button, [button] { delete button; });
    QPointer<TBaseBtn> watch(button);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(watch.isNull());
}

TEST(BaseBtn, RepaintsOnlyWhenSomethingChanges) {
    TBaseBtn button;
    int requests = button.RepaintRequests();
    button.SetButtonIsDown(true);
    EXPECT_EQ(button.RepaintRequests(), ++requests);
    EXPECT_TRUE(IsPressed(button.Face(), button.Status()));
    button.SetButtonIsDown(true);
    button.SetCaption(QString());
    button.SetShadowXOffset(0);
    button.SetBrush(QBrush(Qt::white, Qt::SolidPattern));
    EXPECT_EQ(button.RepaintRequests(), requests);
    button.SetCaption(QStringLiteral("Aanmelden"));
    button.SetGlyphUp(QImage(2, 2, QImage::Format_RGB32));
    EXPECT_EQ(button.RepaintRequests(), requests + 2);
    // The hover underline arrives as a font change.
    QFont font = button.font();
    font.setUnderline(true);
    button.setFont(font);
    EXPECT_EQ(button.RepaintRequests(), requests + 3);
}

TEST(BaseBtn, ReportsThePointerEnteringAndLeavingWithItself) {
    TBaseBtn button;
    QSignalSpy in(&button, &GGraphicControl::OnMouseIn);
    QSignalSpy out(&button, &GGraphicControl::OnMouseOut);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&button, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    ASSERT_EQ(in.count(), 1);
    ASSERT_EQ(out.count(), 1);
    EXPECT_EQ(in.first().first().value<QObject*>(), &button);
    EXPECT_EQ(out.first().first().value<QObject*>(), &button);
}

TEST(BaseBtn, DestroyingAButtonCallsItsOwnCallbackOnly) {
    int stops = 0;
    auto* wired = new TBaseBtn;
    wired->OnDestroy = [&stops] { ++stops; };
    auto* cleared = new TBaseBtn;
    cleared->OnDestroy = [&stops] { ++stops; };
    cleared->OnDestroy = {};
    delete new TBaseBtn;
    delete cleared;
    EXPECT_EQ(stops, 0);
    delete wired;
    EXPECT_EQ(stops, 1);
}

TEST(HandCursors, AreDrawnRegisteredAndPointAtTheirDrawing) {
    RegisterHandCursors();
    const QImage hand = CursorImage(CustomCursor(crHandCursor));
    const QImage palm = CursorImage(CustomCursor(crHandNoFingersCursor));
    ASSERT_FALSE(hand.isNull());
    ASSERT_FALSE(palm.isNull());
    EXPECT_NE(hand, palm);
    for (const int id : {crHandCursor, crHandNoFingersCursor}) {
        const QCursor& cursor = CustomCursor(id);
        const QImage image = CursorImage(cursor);
        EXPECT_GT(qAlpha(image.pixel(cursor.hotSpot())), 0) << id;
        EXPECT_EQ(qAlpha(image.pixel(31, 31)), 0) << id;
    }
    EXPECT_EQ(CustomCursor(-1234).shape(), Qt::ArrowCursor);
}
