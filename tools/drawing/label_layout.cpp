#include "tools/drawing/label_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Whether the segment a-b crosses or touches the box (Liang-Barsky clipping).
bool segment_hits(Point a, Point b, const Box& box) {
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - box.x0, box.x1 - a.x, a.y - box.y0, box.y1 - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

}  // namespace

double text_width(const std::string& utf8, double fontSize) {
    double em = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) == 0x80) continue;  // continuation byte of a wider character
        if (c >= 'A' && c <= 'Z') em += 0.74;
        else if (c == ' ' || c == '.' || c == ',' || c == ':' || c == ';' || c == '\'' || c == '!' || c == '|') em += 0.34;
        else if (c == '(' || c == ')' || c == '[' || c == ']') em += 0.40;
        else if (c < 0x80) em += 0.64;
        else em += 0.80;
    }
    return em * fontSize;
}

constexpr double kBucket = 32;

LabelSpace::LabelSpace(Box area) : area_(area) {
    columns_ = std::clamp(static_cast<int>(std::ceil((area.x1 - area.x0) / kBucket)), 1, 4096);
    rows_ = std::clamp(static_cast<int>(std::ceil((area.y1 - area.y0) / kBucket)), 1, 4096);
    buckets_.resize(static_cast<size_t>(columns_) * static_cast<size_t>(rows_));
}

void LabelSpace::bucket_range(const Box& box, int& c0, int& c1, int& r0, int& r1) const {
    auto index = [](double v, double origin, int count) {
        const double i = std::floor((v - origin) / kBucket);
        return static_cast<int>(std::clamp(i, 0.0, static_cast<double>(count - 1)));
    };
    c0 = index(box.x0, area_.x0, columns_);
    c1 = index(box.x1, area_.x0, columns_);
    r0 = index(box.y0, area_.y0, rows_);
    r1 = index(box.y1, area_.y0, rows_);
}

void LabelSpace::add_segments(const std::vector<Point>& polyline) {
    for (size_t i = 1; i < polyline.size(); ++i) {
        const Point a = polyline[i - 1], b = polyline[i];
        const Box bounds{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
        if (!bounds.overlaps({area_.x0 - 1, area_.y0 - 1, area_.x1 + 1, area_.y1 + 1})) continue;
        int c0, c1, r0, r1;
        bucket_range(bounds, c0, c1, r0, r1);
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c)
                buckets_[static_cast<size_t>(r) * static_cast<size_t>(columns_) + static_cast<size_t>(c)].push_back(
                    segments_.size());
        segments_.push_back({a, b});
        seen_.push_back(0);
    }
}

int LabelSpace::crowding(const Box& box) const {
    int n = 0;
    for (const Box& t : taken_) n += t.overlaps(box) ? 1 : 0;
    ++query_;
    int c0, c1, r0, r1;
    bucket_range(box, c0, c1, r0, r1);
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            for (size_t s : buckets_[static_cast<size_t>(r) * static_cast<size_t>(columns_) + static_cast<size_t>(c)]) {
                if (seen_[s] == query_) continue;
                seen_[s] = query_;
                n += segment_hits(segments_[s].first, segments_[s].second, box) ? 1 : 0;
            }
    return n;
}

bool LabelSpace::nearer_to_another(const Box& box, Point own) const {
    auto distance = [&](Point p) {
        return std::hypot(std::clamp(p.x, box.x0, box.x1) - p.x, std::clamp(p.y, box.y0, box.y1) - p.y);
    };
    const double mine = distance(own);
    for (const Point& a : anchors_) {
        // Its own mark, or one drawn on top of it: nothing to tell apart.
        if (std::hypot(a.x - own.x, a.y - own.y) < 8) continue;
        if (distance(a) < mine) return true;
    }
    return false;
}

bool LabelSpace::is_free(const Box& box) const { return box.inside(area_) && crowding(box) == 0; }

std::optional<PlacedLabel> LabelSpace::place(Point anchor, Point normal, const std::string& utf8, double fontSize,
                                             bool mustPlace, double farthest) {
    const double w = text_width(utf8, fontSize);
    const double h = fontSize * 1.2;
    const double pad = 2;
    // Half the extent of the box along the normal: how far its centre must stand off.
    const double reach = std::abs(normal.x) * w / 2 + std::abs(normal.y) * h / 2;
    const Point tangent{-normal.y, normal.x};
    // The box's length along the line, for sliding it along.
    const double along = std::abs(tangent.x) * w + std::abs(tangent.y) * h;
    const double distances[] = {7, 12, 20, 32, 48, 66};
    const double shifts[] = {0, 0.5, -0.5};

    std::optional<PlacedLabel> best;
    int bestCrowding = std::numeric_limits<int>::max();
    for (double d : distances) {
        if (d > farthest) break;
        for (double shift : shifts) {
            for (int side : {1, -1}) {
                const double off = d + reach + pad;
                const Point centre{anchor.x + side * normal.x * off + tangent.x * shift * along,
                                   anchor.y + side * normal.y * off + tangent.y * shift * along};
                const Box box{centre.x - w / 2 - pad, centre.y - h / 2 - pad, centre.x + w / 2 + pad,
                              centre.y + h / 2 + pad};
                // Baseline: the box's text line, with the descent below it.
                PlacedLabel label{{centre.x - w / 2, centre.y + fontSize * 0.35}, box, true};
                const bool misleading = nearer_to_another(box, anchor);
                if (!misleading && is_free(box)) {
                    take(box);
                    return label;
                }
                if (!box.inside(area_)) continue;
                // A misleading place is the last resort of all.
                const int c = crowding(box) + (misleading ? 1000 : 0);
                if (c < bestCrowding) {
                    bestCrowding = c;
                    best = label;
                }
            }
        }
    }
    if (!mustPlace || !best) return std::nullopt;
    best->clear = false;
    take(best->box);
    return best;
}

std::vector<double> spread_labels(const std::vector<double>& wanted, double gap, double lo, double hi) {
    const size_t n = wanted.size();
    if (n == 0) return {};
    if (n > 1 && gap * static_cast<double>(n - 1) > hi - lo) gap = (hi - lo) / static_cast<double>(n - 1);
    // Runs of labels pushed together; each sits where its members want it on average.
    struct Run {
        size_t first;
        size_t count;
        double sum;  // sum over members of (wanted - offset within the run)
        double start;
    };
    auto settle = [&](Run& r) {
        const double last = hi - gap * static_cast<double>(r.count - 1);
        r.start = std::clamp(r.sum / static_cast<double>(r.count), lo, std::max(lo, last));
    };
    std::vector<Run> runs;
    for (size_t i = 0; i < n; ++i) {
        Run run{i, 1, wanted[i], 0};
        settle(run);
        while (!runs.empty() && runs.back().start + gap * static_cast<double>(runs.back().count) > run.start) {
            const Run before = runs.back();
            runs.pop_back();
            run.sum = before.sum + run.sum - static_cast<double>(run.count * before.count) * gap;
            run.first = before.first;
            run.count += before.count;
            settle(run);
        }
        runs.push_back(run);
    }
    std::vector<double> placed(n);
    for (const Run& r : runs)
        for (size_t k = 0; k < r.count; ++k) placed[r.first + k] = r.start + gap * static_cast<double>(k);
    return placed;
}
