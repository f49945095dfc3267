#include "widgets/raster_operation.h"

QRgb ApplyRasterOperation(TRasterOperation operation, QRgb source, QRgb destination, QRgb pattern) {
    const quint32 s = source;
    const quint32 d = destination;
    const quint32 p = pattern;
    quint32 result = 0;
    switch (operation) {
    case roBLACKNESS:
        result = 0;
        break;
    case roDSTINVERT:
        result = ~d;
        break;
    case roMERGECOPY:
        result = s & p;
        break;
    case roMERGEPAINT:
        result = ~s | d;
        break;
    case roNOTSRCCOPY:
        result = ~s;
        break;
    case roNOTSRCERASE:
        result = ~(s | d);
        break;
    case roPATCOPY:
        result = p;
        break;
    case roPATINVERT:
        result = p ^ d;
        break;
    case roPATPAINT:
        result = p | ~s | d;
        break;
    case roSRCAND:
        result = s & d;
        break;
    case roSRCCOPY:
        result = s;
        break;
    case roSRCERASE:
        result = s & ~d;
        break;
    case roSRCINVERT:
        result = s ^ d;
        break;
    case roSRCPAINT:
        result = s | d;
        break;
    case roWHITENESS:
        result = 0xffffffffu;
        break;
    }
    return result | 0xff000000u;
}

QImage ApplyRasterOperation(TRasterOperation operation, const QImage& source,
                            const QImage& destination, QRgb pattern) {
    if (source.isNull())
        return {};
    const QImage s = source.convertToFormat(QImage::Format_RGB32);
    const QImage d =
        destination.isNull() ? QImage() : destination.convertToFormat(QImage::Format_RGB32);
    QImage result(s.size(), QImage::Format_RGB32);
    for (int y = 0; y < s.height(); ++y) {
        const auto* sLine = reinterpret_cast<const QRgb*>(s.constScanLine(y));
        const auto* dLine =
            y < d.height() ? reinterpret_cast<const QRgb*>(d.constScanLine(y)) : nullptr;
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < s.width(); ++x) {
            const QRgb under = dLine && x < d.width() ? dLine[x] : qRgb(255, 255, 255);
            out[x] = ApplyRasterOperation(operation, sLine[x], under, pattern);
        }
    }
    return result;
}
