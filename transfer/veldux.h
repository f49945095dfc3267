#pragma once

// The exports of libveldux.so, bound by name at run time. Strings are
// zero-terminated, owned by the caller and only read during the call; paths
// are in the file system's encoding and may use '\' or '/' as separators.
// Calling order: OpenVdxDlg, any number of GetFile/PostFile, CloseVdxDlg.

#include <cstdint>

#if defined(VELDUX_BUILDING_LIBRARY)
#define VELDUX_API __attribute__((visibility("default")))
#else
#define VELDUX_API
#endif

extern "C" {

// Shows the progress dialog (creating it once); true when it is showing.
VELDUX_API bool OpenVdxDlg(void);
// Destroys the dialog; true when none remains. During a running transfer it
// cancels the transfer, hides the dialog and returns false; the dialog goes
// when the transfer has unwound.
VELDUX_API bool CloseVdxDlg(void);
// GET of baseUrl + "/" + fileName; only a whole, non-empty body replaces
// destPath, and only once it has fully arrived.
VELDUX_API int32_t GetFile(const char* baseUrl, const char* fileName, const char* destPath);
// POST of the bytes of fileName to url.
VELDUX_API int32_t PostFile(const char* url, const char* fileName);

typedef bool (*OpenVdxDlgFunc)(void);
typedef bool (*CloseVdxDlgFunc)(void);
typedef int32_t (*GetFileFunc)(const char*, const char*, const char*);
typedef int32_t (*PostFileFunc)(const char*, const char*);
}

// Result codes of GetFile and PostFile.
enum : int32_t {
    VELDUX_NO_CONNECTION = 101, // the server could not be reached
    // An error reply; a reply cut short, reset, malformed, without content,
    // beyond the bounds of reply_limits.h or stalled past the time-out; or
    // a file that could not be written. A download's old file stays.
    VELDUX_REQUEST_FAILED = 102,
    VELDUX_SUCCEEDED = 103,
    VELDUX_INVALID_REQUEST = 106, // no dialog, unknown host, no target directory, other errors
    VELDUX_CANCELED = 107,        // Cancel or the dialog closed by the user
};
