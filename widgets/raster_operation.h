#pragma once

#include <QImage>
#include <QRgb>

// The classic ternary raster operations by name: how a source picture S is
// combined with what is already there (D) and the brush pattern (P), bit by
// bit in every colour channel.
enum TRasterOperation {
    roBLACKNESS,   // 0
    roDSTINVERT,   // ~D
    roMERGECOPY,   // S & P
    roMERGEPAINT,  // ~S | D
    roNOTSRCCOPY,  // ~S
    roNOTSRCERASE, // ~(S | D)
    roPATCOPY,     // P
    roPATINVERT,   // P ^ D
    roPATPAINT,    // P | ~S | D
    roSRCAND,      // S & D
    roSRCCOPY,     // S
    roSRCERASE,    // S & ~D
    roSRCINVERT,   // S ^ D
    roSRCPAINT,    // S | D
    roWHITENESS,   // 1
};

// One pixel; the result is always opaque.
QRgb ApplyRasterOperation(TRasterOperation operation, QRgb source, QRgb destination, QRgb pattern);

// Every pixel of `source` combined with the pixel at the same place of
// `destination` (white where `destination` is smaller or null) and with the
// solid `pattern`. The result has the size of `source`, in Format_RGB32.
QImage ApplyRasterOperation(TRasterOperation operation, const QImage& source,
                            const QImage& destination, QRgb pattern);
