// The four C exports of libveldux.so; the only symbols the library shows.
#include "transfer/veldux.h"

#include "transfer/veldux_api.h"

extern "C" {

VELDUX_API bool OpenVdxDlg(void) {
    return vdx::OpenDialog();
}

VELDUX_API bool CloseVdxDlg(void) {
    return vdx::CloseDialog();
}

VELDUX_API int32_t GetFile(const char* baseUrl, const char* fileName, const char* destPath) {
    return vdx::RunGetFile(baseUrl, fileName, destPath);
}

VELDUX_API int32_t PostFile(const char* url, const char* fileName) {
    return vdx::RunPostFile(url, fileName);
}
}
