#include "app/layout_selection.h"

#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

std::optional<TLayoutChoice> ChooseLayout(int w, int h) {
    // W / 640 >= H / 480 without division: the screen is at least as wide as 4:3.
    if (int64_t(w) * 480 >= int64_t(h) * 640) {
        if (h < 480)
            return std::nullopt;
        if (h < 768)
            return TLayoutChoice{0, 1, 1};
        if (h < 864)
            return TLayoutChoice{1, 600, 480};
        return TLayoutChoice{2, 768, 480};
    }
    if (w < 640)
        return std::nullopt;
    if (w < 1024)
        return TLayoutChoice{0, 1, 1};
    if (w < 1152)
        return TLayoutChoice{1, 800, 640};
    return TLayoutChoice{2, 1024, 640};
}

namespace {

int Scale(int v, int m, int d) {
    return int(int64_t(v) * m / d);
}

// v * m / d rounded to the nearest whole number, halves away from zero.
int ScaleRounded(int v, int m, int d) {
    const int64_t n = int64_t(v) * m;
    return int(n >= 0 ? (2 * n + d) / (2 * d) : -((-2 * n + d) / (2 * d)));
}

struct Designed {
    QWidget* widget;
    QRect geometry;
    QFont font;
    int parent; // index in the list, -1 for the root
};

void Collect(QWidget* w, int parent, std::vector<Designed>& out) {
    const int self = int(out.size());
    out.push_back({w, w->geometry(), w->font(), parent});
    for (QObject* child : w->children())
        if (auto* cw = qobject_cast<QWidget*>(child); cw && !cw->isWindow())
            Collect(cw, self, out);
}

// Position and size are rounded on their own, so that equal controls stay
// equal wherever they sit (one button picture fits them all). Where the
// design lets a control meet its parent's far edge or a sibling, the scaled
// control meets it too: rounding each value apart would otherwise leave a
// pixel of the background showing between them.
std::vector<QRect> ScaledGeometry(const std::vector<Designed>& designed, int m, int d) {
    std::vector<QRect> scaled(designed.size());
    for (size_t i = 0; i < designed.size(); ++i) {
        const QRect& g = designed[i].geometry;
        const int parent = designed[i].parent;
        if (parent < 0) {
            scaled[i] = QRect(0, 0, ScaleRounded(g.width(), m, d), ScaleRounded(g.height(), m, d));
            continue;
        }
        const QSize outer = designed[size_t(parent)].geometry.size();
        const QSize outerScaled = scaled[size_t(parent)].size();
        const int left = ScaleRounded(g.x(), m, d), top = ScaleRounded(g.y(), m, d);
        int right = left + ScaleRounded(g.width(), m, d);
        int bottom = top + ScaleRounded(g.height(), m, d);
        if (g.x() + g.width() == outer.width())
            right = outerScaled.width();
        if (g.y() + g.height() == outer.height())
            bottom = outerScaled.height();
        scaled[i] = QRect(left, top, right - left, bottom - top);
    }
    // Near edges follow the far edges of the siblings they meet.
    std::vector<QRect> joined = scaled;
    for (size_t i = 0; i < designed.size(); ++i) {
        const QRect& g = designed[i].geometry;
        for (size_t j = 0; j < designed.size(); ++j) {
            if (j == i || designed[j].parent != designed[i].parent || designed[i].parent < 0)
                continue;
            const QRect& s = designed[j].geometry;
            const bool besideVertically = s.y() < g.y() + g.height() && g.y() < s.y() + s.height();
            const bool besideHorizontally = s.x() < g.x() + g.width() && g.x() < s.x() + s.width();
            if (besideVertically && s.x() + s.width() == g.x())
                joined[i].setLeft(scaled[j].x() + scaled[j].width());
            if (besideHorizontally && s.y() + s.height() == g.y())
                joined[i].setTop(scaled[j].y() + scaled[j].height());
        }
    }
    return joined;
}

} // namespace

void ScaleControls(QWidget* root, int m, int d) {
    if (m == d || d <= 0)
        return;
    // Every design value is read before any is changed, so that a font a
    // child inherits is not scaled twice.
    std::vector<Designed> designed;
    Collect(root, -1, designed);
    const std::vector<QRect> geometry = ScaledGeometry(designed, m, d);
    for (size_t i = 0; i < designed.size(); ++i) {
        const Designed& c = designed[i];
        QFont f = c.font;
        if (f.pixelSize() > 0)
            f.setPixelSize(std::max(1, Scale(f.pixelSize(), m, d)));
        else if (f.pointSize() > 0)
            f.setPointSize(std::max(1, Scale(f.pointSize(), m, d)));
        c.widget->setFont(f);
        if (c.parent < 0)
            c.widget->resize(geometry[i].size());
        else
            c.widget->setGeometry(geometry[i]);
    }
}

int ScaleItemHeight(int height, int layoutSize) {
    static constexpr double kFactor[] = {1.0, 1.25, 1.6};
    if (layoutSize < 0 || layoutSize > 2)
        return height;
    return int(std::lround(height * kFactor[layoutSize]));
}
