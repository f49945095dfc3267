#include "exchange/exchange_messages.h"

QString TransferMessage(TTransferKind kind, int32_t code) {
    const bool upload = kind == TTransferKind::Upload;
    switch (code) {
    case tcNoConnection:
        return QStringLiteral("Geen verbinding");
    case tcFailed:
        return upload ? QStringLiteral("Uploaden is niet gelukt")
                      : QStringLiteral("Downloaden is niet gelukt");
    case tcSucceeded:
        return upload ? QStringLiteral("Uploaden is succesvol afgerond")
                      : QStringLiteral("Downloaden is succesvol afgerond");
    case tcInvalidRequest:
        return QStringLiteral("Verzoek is niet valide");
    case tcCanceled:
        return upload ? QStringLiteral("Uploaden is geannuleerd")
                      : QStringLiteral("Downloaden is geannuleerd");
    case tcUnknownRequest:
        return QStringLiteral("Verzoek niet bekend");
    default:
        return {};
    }
}
