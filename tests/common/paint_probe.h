#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>
#include <QString>
#include <functional>

// Helpers for tests that paint into an image and probe its pixels.
namespace probe {

// A canvas of `size` filled with `fill`, in a format whose pixels read back
// exactly as painted.
QImage Canvas(int width, int height, QRgb fill);

// The bounding box of the pixels for which `match` holds; empty when none.
QRect BoundingBox(const QImage& image, const std::function<bool(QRgb)>& match);
int Count(const QImage& image, const std::function<bool(QRgb)>& match);

inline bool SameColour(QRgb a, QRgb b) {
    return (a & 0xffffffu) == (b & 0xffffffu);
}

// Saves the image beside the test program when the running test has failed
// by the time this goes out of scope, so a failure can be looked at.
class SaveOnFailure {
public:
    SaveOnFailure(const QImage& image, QString name) : image_(image), name_(std::move(name)) {}
    ~SaveOnFailure();
    SaveOnFailure(const SaveOnFailure&) = delete;
    SaveOnFailure& operator=(const SaveOnFailure&) = delete;

private:
    const QImage& image_;
    QString name_;
};

} // namespace probe
