#pragma once

#include <string>
#include <string_view>

namespace vdx {

// The URL a redirect's Location value points to, as a full "http://" URL.
// A value with a scheme ("http://other/x") or a network path ("//other/x")
// stands as it is (the latter gets "http:"). Any other value is relative to
// the request that was redirected: "/abs" keeps its host and port, "ok.dat"
// and "../x" resolve against the directory of its path, with "." and ".."
// segments removed (never above the root). A fragment is dropped; the
// value's own query is kept.
std::string ResolveLocation(std::string_view host, int port, std::string_view currentPath,
                            std::string_view location);

} // namespace vdx
