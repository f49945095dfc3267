#pragma once

#include <QString>
#include <cstdint>

// What the Internet page tells the user about a transfer's result code.

enum class TTransferKind { Upload, Download };

// Result codes of veldux's GetFile and PostFile.
enum TTransferCode : int32_t {
    tcNoConnection = 101,
    tcFailed = 102,
    tcSucceeded = 103,
    tcInvalidRequest = 106,
    tcCanceled = 107,
    tcUnknownRequest = 108,
};

// The Dutch message for a code, or an empty text for codes that get none.
QString TransferMessage(TTransferKind kind, int32_t code);
