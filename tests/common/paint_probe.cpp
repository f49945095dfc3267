#include "tests/common/paint_probe.h"

#include <QCoreApplication>
#include <QDir>
#include <gtest/gtest.h>
#include <iostream>

namespace probe {

QImage Canvas(int width, int height, QRgb fill) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(fill);
    return image;
}

QRect BoundingBox(const QImage& image, const std::function<bool(QRgb)>& match) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (match(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

int Count(const QImage& image, const std::function<bool(QRgb)>& match) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += match(image.pixel(x, y)) ? 1 : 0;
    return count;
}

SaveOnFailure::~SaveOnFailure() {
    if (!::testing::Test::HasFailure() || image_.isNull())
        return;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    QDir dir(QCoreApplication::applicationDirPath());
    dir.mkpath(QStringLiteral("paint-failures"));
    const QString file = QStringLiteral("%1.%2-%3.png")
                             .arg(QString::fromUtf8(info->test_suite_name()),
                                  QString::fromUtf8(info->name()), name_);
    const QString path = dir.filePath(QStringLiteral("paint-failures/") + file);
    if (image_.save(path))
        std::cerr << "saved failing paint to " << path.toStdString() << '\n';
}

} // namespace probe
