// A small writer of self-contained SVG text: escaped text, short numbers and
// the handful of elements the route picture uses.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/common/point.h"

// A number with at most `decimals` decimals, without trailing zeros ("12.5", "-3", "0").
std::string svg_number(double v, int decimals = 1);

// UTF-8 text made safe for XML content and attribute values: the five markup
// characters become entities and characters XML forbids become U+FFFD.
std::string xml_escape(std::string_view utf8);

class SvgWriter {
public:
    explicit SvgWriter(double width) : width_(width) {}

    // Raw attribute text is appended as given; callers build it with attr().
    static std::string attr(std::string_view name, std::string_view value);
    static std::string attr(std::string_view name, double value, int decimals = 1);

    void open_group(const std::string& attributes);
    void close_group();
    // A <title> child of the group just opened: a tooltip in browsers.
    void title(const std::string& utf8);
    void line(Point a, Point b, const std::string& attributes);
    void rect(double x, double y, double w, double h, const std::string& attributes);
    void circle(Point c, double r, const std::string& attributes);
    void polyline(const std::vector<Point>& points, const std::string& attributes, int decimals = 1);
    void polygon(const std::vector<Point>& points, const std::string& attributes, int decimals = 1);
    void text(Point at, const std::string& utf8, const std::string& attributes);

    // The finished document of the given height; open groups are closed first.
    std::string finish(double height);

private:
    static std::string points_text(const std::vector<Point>& points, int decimals);
    std::string body_;
    double width_;
    int openGroups_ = 0;
};
