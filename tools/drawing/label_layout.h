// Placing the labels of the route picture so that they do not overlap each
// other or the drawn line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/drawing/svg_writer.h"

struct Box {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool overlaps(const Box& other) const {
        return x0 < other.x1 && other.x0 < x1 && y0 < other.y1 && other.y0 < y1;
    }
    bool inside(const Box& area) const { return x0 >= area.x0 && y0 >= area.y0 && x1 <= area.x1 && y1 <= area.y1; }
};

// A generous estimate of the width of a text in a sans-serif face, so that a
// reserved box is never smaller than the drawn text.
double text_width(const std::string& utf8, double fontSize);

// A placed label: where its text starts (baseline, left end) and the box it takes.
struct PlacedLabel {
    Point baseline;
    Box box;
    bool clear = true;  // false when no free place was found and the least crowded one is used
};

// The free room of a drawing: an area, the boxes already taken and the line
// segments that labels must not cross.
class LabelSpace {
public:
    explicit LabelSpace(Box area);
    void add_segments(const std::vector<Point>& polyline);
    void take(const Box& box) { taken_.push_back(box); }
    // A marked point: a label that lies nearer to it than to its own anchor
    // would seem to name it, so such places are not used.
    void add_anchor(Point p) { anchors_.push_back(p); }
    bool is_free(const Box& box) const;

    // A place for a text near `anchor`, tried at growing distances up to
    // `farthest` on both sides of the direction `normal` (a unit vector). A
    // found place is taken. Without a free place: the least crowded candidate
    // when `mustPlace`, else nothing.
    std::optional<PlacedLabel> place(Point anchor, Point normal, const std::string& utf8, double fontSize,
                                     bool mustPlace, double farthest = 66);

private:
    int crowding(const Box& box) const;
    bool nearer_to_another(const Box& box, Point own) const;
    // The buckets of the area that a box covers, as column and row ranges.
    void bucket_range(const Box& box, int& c0, int& c1, int& r0, int& r1) const;
    Box area_;
    std::vector<Point> anchors_;
    std::vector<Box> taken_;
    std::vector<std::pair<Point, Point>> segments_;
    // The segments by square buckets of the area, so that a box meets only its neighbours.
    int columns_ = 1, rows_ = 1;
    std::vector<std::vector<size_t>> buckets_;
    mutable std::vector<size_t> seen_;  // per segment: the last query that looked at it
    mutable size_t query_ = 0;
};

// Positions for labels wanted at the sorted positions `wanted`, at least `gap`
// apart and within lo..hi, each as near its wanted place as the others allow.
std::vector<double> spread_labels(const std::vector<double>& wanted, double gap, double lo, double hi);
