#include "transfer/location_resolver.h"

#include <vector>

namespace vdx {

namespace {

bool IsSchemeChar(char c, bool first) {
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (first)
        return letter;
    return letter || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

bool HasScheme(std::string_view url) {
    const size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0 || url.compare(colon, 3, "://") != 0)
        return false;
    for (size_t i = 0; i < colon; ++i)
        if (!IsSchemeChar(url[i], i == 0))
            return false;
    return true;
}

// Removes "." and ".." segments from an absolute path.
std::string RemoveDotSegments(std::string_view path) {
    std::vector<std::string_view> out;
    size_t pos = 1; // past the leading '/'
    bool endsAsDirectory = false;
    while (pos <= path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view segment = path.substr(pos, end - pos);
        endsAsDirectory = segment == "." || segment == "..";
        if (segment == "..") {
            if (!out.empty())
                out.pop_back();
        } else if (segment != ".") {
            out.push_back(segment);
        }
        pos = end + 1;
    }
    std::string result;
    for (const std::string_view segment : out)
        result.append("/").append(segment);
    if (result.empty() || endsAsDirectory)
        result += '/';
    return result;
}

} // namespace

std::string ResolveLocation(std::string_view host, int port, std::string_view currentPath,
                            std::string_view location) {
    location = location.substr(0, location.find('#'));
    if (HasScheme(location))
        return std::string(location);
    if (location.starts_with("//"))
        return "http:" + std::string(location);

    const std::string origin = "http://" + std::string(host) + ":" + std::to_string(port);
    const size_t queryAt = location.find('?');
    const std::string_view query =
        queryAt == std::string_view::npos ? std::string_view() : location.substr(queryAt);
    std::string_view relative = location.substr(0, queryAt);

    std::string path;
    if (relative.starts_with('/')) {
        path = relative;
    } else {
        std::string_view base = currentPath.substr(0, currentPath.find('?'));
        if (!base.starts_with('/'))
            base = "/";
        if (relative.empty())
            return origin + std::string(base) + std::string(query);
        base = base.substr(0, base.rfind('/') + 1);
        path = std::string(base).append(relative);
    }
    return origin + RemoveDotSegments(path) + std::string(query);
}

} // namespace vdx
