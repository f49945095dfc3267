#include "platform/screen.h"

#include "platform/numbers.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QList>
#include <QScreen>
#include <optional>

namespace plat {
namespace {

std::optional<ScreenInfo>& Override() {
    static std::optional<ScreenInfo> info;
    return info;
}

// Sizes beyond any real screen are taken as a typing error, not a wish.
constexpr int kMaxSide = 100000;

std::optional<int> ParseNumber(const QByteArray& text, int min, int max) {
    if (text.isEmpty() || text.size() > 6)
        return std::nullopt;
    const std::optional<uint64_t> value = ParseUnsignedDecimal(
        std::string_view(text.constData(), size_t(text.size())), uint64_t(max));
    if (!value || *value < uint64_t(min))
        return std::nullopt;
    return int(*value);
}

} // namespace

std::optional<ScreenInfo> ParseScreenSpec(const QByteArray& text) {
    const QList<QByteArray> parts = text.trimmed().toLower().split('x');
    if (parts.size() != 2 && parts.size() != 3)
        return std::nullopt;
    const auto width = ParseNumber(parts[0], 1, kMaxSide);
    const auto height = ParseNumber(parts[1], 1, kMaxSide);
    const auto depth = parts.size() == 3 ? ParseNumber(parts[2], 1, 64) : std::optional<int>(24);
    if (!width || !height || !depth)
        return std::nullopt;
    return ScreenInfo{*width, *height, *depth};
}

ScreenInfo Screen() {
    if (Override())
        return *Override();
    if (const auto fromEnv = ParseScreenSpec(qgetenv("ZENX_SCREEN")))
        return *fromEnv;
    // Only a GUI application has screens; a console one (tools, some tests)
    // gets the smallest layout's size.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QSize size = screen->size();
            if (size.width() > 0 && size.height() > 0)
                return ScreenInfo{size.width(), size.height(), screen->depth()};
        }
    }
    return ScreenInfo{640, 480, 24};
}

void SetScreenOverride(const ScreenInfo& info) {
    Override() = info;
}

void ClearScreenOverride() {
    Override().reset();
}

} // namespace plat
