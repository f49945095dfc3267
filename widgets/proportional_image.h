#pragma once

#include "widgets/assign_changed.h"
#include "widgets/proportional_image_paint.h"
#include "widgets/raster_operation.h"
#include "widgets/transition_effect.h"

#include <QWidget>

class TBackground;

// Shows one picture scaled to a percentage of the control with its
// proportions kept, centred over a background, with an optional text label at
// the bottom. A new picture can appear block by block (Effects). Changes
// repaint at once, not deferred. The label's font is the widget's font().
class TProportionalImage : public QWidget {
    Q_OBJECT
public:
    explicit TProportionalImage(QWidget* parent = nullptr);

    TBackground& Background() { return *background_; }
    const TBackground& Background() const { return *background_; }
    void SetBackground(const TBackground& background);

    EffectStyle Effect() const { return effect_; }
    void SetEffect(EffectStyle value) { Set(effect_, value); }
    bool Effects() const { return effects_; }
    void SetEffects(bool value) { Set(effects_, value); }
    int EffectSize() const { return effectSize_; }
    void SetEffectSize(int value) { Set(effectSize_, value); }
    quint8 EffectSpeed() const { return effectSpeed_; }
    void SetEffectSpeed(quint8 value) { Set(effectSpeed_, value); }

    // Setting a picture always counts as new, even the same one again.
    const QImage& Image() const { return image_; }
    void SetImage(const QImage& image);
    // A new picture or text waits for its first paint; that paint clears it.
    bool NewImage() const { return newImage_; }
    void SetNewImage(bool value) { Set(newImage_, value); }

    TRasterOperation RasterOperation() const { return rasterOperation_; }
    void SetRasterOperation(TRasterOperation value) { Set(rasterOperation_, value); }

    const TProportionalSizing& Sizing() const { return sizing_; }
    int Sx() const { return sizing_.Sx; }
    void SetSx(int value) { Set(sizing_.Sx, value); }
    bool SxIsStatic() const { return sizing_.SxIsStatic; }
    void SetSxIsStatic(bool value) { Set(sizing_.SxIsStatic, value); }
    int StaticSx() const { return sizing_.StaticSx; }
    void SetStaticSx(int value) { Set(sizing_.StaticSx, value); }
    int Sy() const { return sizing_.Sy; }
    void SetSy(int value) { Set(sizing_.Sy, value); }
    int StaticSy() const { return sizing_.StaticSy; }
    void SetStaticSy(int value) { Set(sizing_.StaticSy, value); }
    bool SyIsStatic() const { return sizing_.SyIsStatic; }
    void SetSyIsStatic(bool value) { Set(sizing_.SyIsStatic, value); }

    const QString& Text() const { return text_; }
    void SetText(const QString& text);

    // The picture as composed for the current size, before effects and
    // raster operation.
    QImage ComposedImage() const;

    // How often a repaint was asked for since construction.
    int RepaintRequests() const { return repaintRequests_; }
    // How many blocks the last paint copied one by one (0 without an effect).
    qsizetype LastEffectBlockCount() const { return lastEffectBlockCount_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    template <typename T> void Set(T& field, const T& value) {
        if (AssignChanged(field, value))
            Refresh();
    }
    void Refresh();
    void PresentEffect(QPainter& painter, const QImage& composed);

    TBackground* background_;
    EffectStyle effect_ = esRandom;
    bool effects_ = false;
    int effectSize_ = 1;
    quint8 effectSpeed_ = 1;
    QImage image_;
    bool newImage_ = false;
    TRasterOperation rasterOperation_ = roSRCCOPY;
    TProportionalSizing sizing_;
    QString text_;
    bool painting_ = false;
    int repaintRequests_ = 0;
    qsizetype lastEffectBlockCount_ = 0;
};
