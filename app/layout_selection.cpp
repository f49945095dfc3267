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

int Scale(int v, int m, int d) { return int(int64_t(v) * m / d); }

struct Designed {
    QWidget* widget;
    QRect geometry;
    QFont font;
};

void Collect(QWidget* w, std::vector<Designed>& out) {
    out.push_back({w, w->geometry(), w->font()});
    for (QObject* child : w->children())
        if (auto* cw = qobject_cast<QWidget*>(child); cw && !cw->isWindow())
            Collect(cw, out);
}

} // namespace

void ScaleControls(QWidget* root, int m, int d) {
    if (m == d || d == 0)
        return;
    // Every design value is read before any is changed, so that a font a
    // child inherits is not scaled twice.
    std::vector<Designed> designed;
    Collect(root, designed);
    for (const Designed& c : designed) {
        QFont f = c.font;
        if (f.pixelSize() > 0)
            f.setPixelSize(std::max(1, Scale(f.pixelSize(), m, d)));
        else if (f.pointSize() > 0)
            f.setPointSize(std::max(1, Scale(f.pointSize(), m, d)));
        c.widget->setFont(f);
        const QRect& g = c.geometry;
        if (c.widget == root)
            c.widget->resize(Scale(g.width(), m, d), Scale(g.height(), m, d));
        else
            c.widget->setGeometry(Scale(g.x(), m, d), Scale(g.y(), m, d), Scale(g.width(), m, d),
                                  Scale(g.height(), m, d));
    }
}

int ScaleItemHeight(int height, int layoutSize) {
    static constexpr double kFactor[] = {1.0, 1.25, 1.6};
    if (layoutSize < 0 || layoutSize > 2)
        return height;
    return int(std::lround(height * kFactor[layoutSize]));
}
