#pragma once

#include <cstdint>

// The library-wide state behind the C exports: the one dialog. Each function
// catches every error, so nothing raised crosses the library's boundary.
namespace vdx {

bool OpenDialog();
bool CloseDialog();
int32_t RunGetFile(const char* baseUrl, const char* fileName, const char* destPath);
int32_t RunPostFile(const char* url, const char* fileName);

} // namespace vdx
