#pragma once

#include "widgets/image_loader.h"

#include <QImage>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The pictures of the current text, decoded once and kept across the many
// layout passes that every repaint runs. Names found in the picture archive's
// index are copied out into T\ first; other names are plain file paths
// relative to the program directory.
class TPictureCache {
public:
    // `pictureIndex` is the main window's archive index (it may change and
    // must outlive the cache); nullptr or an empty list means no archive.
    explicit TPictureCache(const std::vector<std::string>* pictureIndex = nullptr)
        : pictureIndex_(pictureIndex) {}

    void SetPictureIndex(const std::vector<std::string>* pictureIndex) {
        pictureIndex_ = pictureIndex;
    }
    const std::vector<std::string>* PictureIndex() const { return pictureIndex_; }

    // The picture of `name` (any case); a null image when it cannot be had.
    // A picture that fails to extract or decode is cached as a null image,
    // so it is tried once per text; only a name that neither the archive
    // index nor the file system holds is looked for again in the next pass.
    QImage LoadPicture(std::string_view name);

    void Clear() { cache_.clear(); }
    int Count() const { return int(cache_.size()); }
    // How many files were decoded since construction (failures included).
    int DecodeCount() const { return decodeCount_; }

private:
    QImage Decode(const QString& path);
    void Store(std::string name, const QImage& picture);

    const std::vector<std::string>* pictureIndex_;
    std::vector<std::pair<std::string, QImage>> cache_; // newest first
    TImageLoader loader_;
    int decodeCount_ = 0;
};
