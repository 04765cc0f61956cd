#include "tools/drawing/svg_writer.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "tools/common/text_encoding.h"

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// Length of the well-formed UTF-8 sequence at s[i] that XML allows, or 0.
size_t allowed_sequence(std::string_view s, size_t i) {
    const auto [cp, n] = decode_utf8(s, i);
    if (cp < 0x20 && cp != 0x09 && cp != 0x0A && cp != 0x0D) return 0;  // the control characters XML refuses
    return cp == 0xFFFE || cp == 0xFFFF ? 0 : n;
}

}  // namespace

std::string svg_number(double v, int decimals) {
    if (!std::isfinite(v)) return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
    std::string s = buffer;
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string xml_escape(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        size_t n = allowed_sequence(utf8, i);
        if (n == 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        if (n == 1) {
            switch (utf8[i]) {
                case '&': out += "&amp;"; break;
                case '<': out += "&lt;"; break;
                case '>': out += "&gt;"; break;
                case '"': out += "&quot;"; break;
                case '\'': out += "&apos;"; break;
                default: out += utf8[i];
            }
        } else {
            out.append(utf8.substr(i, n));
        }
        i += n;
    }
    return out;
}

std::string SvgWriter::attr(std::string_view name, std::string_view value) {
    return " " + std::string(name) + "=\"" + xml_escape(value) + "\"";
}

std::string SvgWriter::attr(std::string_view name, double value, int decimals) {
    return attr(name, svg_number(value, decimals));
}

void SvgWriter::open_group(const std::string& attributes) {
    body_ += "<g" + attributes + ">\n";
    ++openGroups_;
}

void SvgWriter::close_group() {
    if (openGroups_ == 0) return;
    body_ += "</g>\n";
    --openGroups_;
}

void SvgWriter::title(const std::string& utf8) { body_ += "<title>" + xml_escape(utf8) + "</title>\n"; }

void SvgWriter::line(Point a, Point b, const std::string& attributes) {
    body_ += "<line" + attr("x1", a.x) + attr("y1", a.y) + attr("x2", b.x) + attr("y2", b.y) + attributes + "/>\n";
}

void SvgWriter::rect(double x, double y, double w, double h, const std::string& attributes) {
    body_ += "<rect" + attr("x", x) + attr("y", y) + attr("width", w) + attr("height", h) + attributes + "/>\n";
}

void SvgWriter::circle(Point c, double r, const std::string& attributes) {
    body_ += "<circle" + attr("cx", c.x) + attr("cy", c.y) + attr("r", r) + attributes + "/>\n";
}

std::string SvgWriter::points_text(const std::vector<Point>& points, int decimals) {
    std::string text;
    text.reserve(points.size() * 12);
    for (const Point& p : points) {
        if (!text.empty()) text += ' ';
        text += svg_number(p.x, decimals) + "," + svg_number(p.y, decimals);
    }
    return text;
}

void SvgWriter::polyline(const std::vector<Point>& points, const std::string& attributes, int decimals) {
    body_ += "<polyline points=\"" + points_text(points, decimals) + "\"" + attributes + "/>\n";
}

void SvgWriter::polygon(const std::vector<Point>& points, const std::string& attributes, int decimals) {
    body_ += "<polygon points=\"" + points_text(points, decimals) + "\"" + attributes + "/>\n";
}

void SvgWriter::text(Point at, const std::string& utf8, const std::string& attributes) {
    body_ += "<text" + attr("x", at.x) + attr("y", at.y) + attributes + ">" + xml_escape(utf8) + "</text>\n";
}

std::string SvgWriter::finish(double height) {
    while (openGroups_ > 0) close_group();
    const std::string w = svg_number(width_, 0);
    const std::string h = svg_number(height, 0);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + w + "\" height=\"" + h +
           "\" viewBox=\"0 0 " + w + " " + h + "\">\n" + "<rect width=\"" + w + "\" height=\"" + h +
           "\" fill=\"#ffffff\"/>\n" + body_ + "</svg>\n";
}
