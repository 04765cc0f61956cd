#include "tools/drawing/svg_writer.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// Length of the well-formed UTF-8 sequence at s[i] that XML allows, or 0.
size_t allowed_sequence(std::string_view s, size_t i) {
    const auto b0 = static_cast<uint8_t>(s[i]);
    if (b0 < 0x80) return (b0 >= 0x20 || b0 == 0x09 || b0 == 0x0A || b0 == 0x0D) ? 1 : 0;
    size_t n = b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC2 ? 2 : 0;
    if (n == 0 || b0 > 0xF4 || i + n > s.size()) return 0;
    uint32_t cp = b0 & (0x7F >> n);
    for (size_t k = 1; k < n; ++k) {
        const auto b = static_cast<uint8_t>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < smallest[n] || cp > 0x10FFFF) return 0;
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp == 0xFFFE || cp == 0xFFFF) return 0;
    return n;
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
