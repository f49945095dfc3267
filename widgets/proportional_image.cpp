#include "widgets/proportional_image.h"

#include "platform/random.h"
#include "widgets/background.h"
#include "widgets/palette.h"

#include <QEvent>
#include <QPainter>

TProportionalImage::TProportionalImage(QWidget* parent)
    : QWidget(parent), background_(new TBackground(this)) {
    background_->setObjectName(QStringLiteral("Background"));
    resize(100, 100);
    connect(background_, &TBackground::Changed, this, &TProportionalImage::Refresh);
}

void TProportionalImage::SetBackground(const TBackground& background) {
    background_->Assign(background);
}

void TProportionalImage::SetImage(const QImage& image) {
    image_ = image;
    newImage_ = true;
    Refresh();
}

void TProportionalImage::SetText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    newImage_ = true;
    Refresh();
}

void TProportionalImage::Refresh() {
    ++repaintRequests_;
    repaint();
}

void TProportionalImage::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        Refresh();
}

QImage TProportionalImage::ComposedImage() const {
    TProportionalContent content;
    content.Background = background_;
    content.Image = image_;
    content.Sizing = sizing_;
    content.Text = text_;
    content.Font = font();
    content.DpiY = logicalDpiY();
    return ComposeProportionalImage(size(), content, GetPalette());
}

void TProportionalImage::PresentEffect(QPainter& painter, const QImage& composed) {
    const QList<QPoint> blocks =
        EffectBlocks(effect_, EffectGrid(size(), effectSize_), effectSpeed_, plat::RandomSeed());
    for (const QPoint& block : blocks) {
        const QRect rect = EffectBlockRect(block, effectSize_, size());
        painter.drawImage(rect.topLeft(), composed, rect);
    }
    lastEffectBlockCount_ = blocks.size();
}

void TProportionalImage::paintEvent(QPaintEvent*) {
    if (painting_)
        return;
    painting_ = true;
    lastEffectBlockCount_ = 0;
    const QImage composed = ComposedImage();
    if (!composed.isNull()) {
        QPainter painter(this);
        if (newImage_ && effects_) {
            PresentEffect(painter, composed);
            painter.drawImage(0, 0, composed);
        } else if (rasterOperation_ == roSRCCOPY) {
            painter.drawImage(0, 0, composed);
        } else {
            // What lies under a window-less control is not readable while it
            // paints, so the destination counts as white; the pattern is the
            // background's brush colour.
            const QBrush& brush = background_->Brush();
            const QRgb pattern =
                brush.style() == Qt::NoBrush ? qRgb(255, 255, 255) : brush.color().rgb();
            painter.drawImage(0, 0,
                              ApplyRasterOperation(rasterOperation_, composed, QImage(), pattern));
        }
    }
    newImage_ = false;
    painting_ = false;
}
