#pragma once

class QImage;

// The picture a small window shows on a display of `bitsPerPixel`: the
// designed true-colour picture from 24 bits up, its 256-colour form at exactly
// 8 bits and its 16-colour form otherwise.
QImage PictureForDisplayDepth(const QImage& designed, int bitsPerPixel);

// Reads a window picture ("I\\B\\intro") through the image loader in true
// colour; empty when it is missing or cannot be decoded.
QImage LoadDesignedPicture(const char* relativePath);
