// End-to-end tests of scenario_tool plot on the built-in route and on small
// routes compiled from their own documents.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tools/testing/test_folder.h"
#include "tools/compiled/compiled_files.h"
#include "tools/compiled/compiled_names.h"
#include "tools/drawing/svg_writer.h"
#include "tools/common/text_encoding.h"
#include "tools/testing/tool_runner.h"

namespace fs = std::filesystem;

namespace {

const std::string kTool = tool_command();

RunResult tool(const std::string& args, const TestFolder& dir) { return run_command(kTool + " " + args, dir.path()); }

// --- reading the SVG back -----------------------------------------------------

bool well_formed_xml(const TestFolder& dir, const std::string& name) {
    RunResult r = run_command("xmllint --noout '" + name + "'", dir.path());
    EXPECT_NE(r.status, 127) << "xmllint is missing (libxml2-utils)";
    EXPECT_EQ(r.err, "");
    return r.status == 0;
}

// The start tag of the first element whose tag contains `marker`.
std::string start_tag(const std::string& svg, const std::string& marker, size_t from = 0) {
    const size_t at = svg.find(marker, from);
    if (at == std::string::npos) return "";
    const size_t open = svg.rfind('<', at);
    return svg.substr(open, svg.find('>', at) - open + 1);
}

std::string attribute(const std::string& tag, const std::string& name) {
    const std::string key = " " + name + "=\"";
    const size_t at = tag.find(key);
    if (at == std::string::npos) return "";
    const size_t begin = at + key.size();
    return tag.substr(begin, tag.find('"', begin) - begin);
}

std::vector<double> numbers(const std::string& text) {
    std::vector<double> out;
    const char* p = text.c_str();
    char* end = nullptr;
    for (;;) {
        while (*p == ' ' || *p == ',' || *p == '(' || *p == ')' || std::isalpha(static_cast<unsigned char>(*p))) ++p;
        if (*p == '\0') break;
        const double v = std::strtod(p, &end);
        if (end == p) break;
        out.push_back(v);
        p = end;
    }
    return out;
}

std::vector<Point> points_of(const std::string& tag) {
    const std::vector<double> v = numbers(attribute(tag, "points"));
    std::vector<Point> pts;
    for (size_t i = 0; i + 1 < v.size(); i += 2) pts.push_back({v[i], v[i + 1]});
    return pts;
}

// Every start tag with `marker` between `from` and `to`.
std::vector<std::string> tags_between(const std::string& svg, const std::string& marker, size_t from, size_t to) {
    std::vector<std::string> tags;
    for (size_t at = svg.find(marker, from); at != std::string::npos && at < to; at = svg.find(marker, at + 1))
        tags.push_back(start_tag(svg, marker, at));
    return tags;
}

size_t count_of(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// --- the compiled folders ---------------------------------------------------------

struct Compiled {
    std::vector<TrackCell> grid;
    ScenarioTable table;
};

Compiled decode_folder(const TestFolder& dir, const std::string& folder, const std::string& stem) {
    return {decode_grid(dir.read(folder + "/" + stem + ".dat")), decode_scenario(dir.read(folder + "/" + stem + ".sim"))};
}

std::vector<std::string> station_names(const ScenarioTable& table) {
    std::vector<std::string> names;
    for (int slot = 1; slot <= kFirstBoardSlot; ++slot)
        if (slot_role(table, slot) == "station") names.push_back(cp1252_to_utf8(table[static_cast<size_t>(slot)].label));
    return names;
}

// The built-in scenario, written and compiled once by the tool itself.
class BuiltInPlot : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TestFolder;
        ASSERT_EQ(tool("write-documents src", *dir_).status, 0);
        RunResult c = tool("compile src/Bresta_Vilcar_linea.txt src/Bresta_Vilcar_RX907-.txt --out out", *dir_);
        ASSERT_EQ(c.status, 0) << c.err;
        RunResult p = tool("plot out --out route.svg", *dir_);
        ASSERT_EQ(p.status, 0) << p.err;
        svg_ = new std::string(dir_->read("route.svg"));
    }
    static void TearDownTestSuite() {
        delete svg_;
        delete dir_;
    }
    static TestFolder* dir_;
    static std::string* svg_;
};
TestFolder* BuiltInPlot::dir_ = nullptr;
std::string* BuiltInPlot::svg_ = nullptr;

}  // namespace

TEST_F(BuiltInPlot, IsWellFormedAndNamesEveryStationInPlanAndProfile) {
    ASSERT_TRUE(well_formed_xml(*dir_, "route.svg"));
    const std::string& svg = *svg_;
    EXPECT_EQ(svg.find("<script"), std::string::npos);
    EXPECT_EQ(svg.find("href"), std::string::npos);  // nothing outside the file

    const Compiled c = decode_folder(*dir_, "out", "Bresta_Vilcar_RX907");
    const std::vector<std::string> names = station_names(c.table);
    EXPECT_EQ(names.size(), 24u);
    const size_t profile = svg.find("id=\"profile\"");
    ASSERT_NE(profile, std::string::npos);
    for (const std::string& name : names) {
        const std::string text = ">" + xml_escape(name) + "</text>";
        EXPECT_NE(svg.substr(0, profile).find(text), std::string::npos) << name << " missing in the plan";
        EXPECT_NE(svg.find(text, profile), std::string::npos) << name << " missing in the profile";
    }
    // Every indication board's caption, through its sign cell.
    for (const TrackCell& cell : c.grid) {
        if (cell.kind != kSign) continue;
        const std::string caption = cp1252_to_utf8(c.table[static_cast<size_t>(cell.value1)].label);
        EXPECT_NE(svg.substr(0, profile).find(">" + xml_escape(caption) + "</text>"), std::string::npos) << caption;
    }

    // Title and summary: route, train, length, stations and signals.
    const size_t signals = static_cast<size_t>(std::count_if(c.grid.begin(), c.grid.end(),
                                                             [](const TrackCell& t) { return t.kind == kSignal; }));
    const std::string title = svg.substr(svg.find("id=\"title\""), 200);
    EXPECT_NE(title.find("Bresta_Vilcar"), std::string::npos);
    EXPECT_NE(title.find("RX907"), std::string::npos);
    const std::string summary = svg.substr(svg.find("id=\"summary\""), 300);
    EXPECT_NE(summary.find(svg_number(c.table[kSlotGeneral].long2 / 1000.0, 2) + " km"), std::string::npos) << summary;
    EXPECT_NE(summary.find(std::to_string(names.size()) + " stations"), std::string::npos) << summary;
    EXPECT_NE(summary.find(std::to_string(signals) + " signals"), std::string::npos) << summary;
}

TEST_F(BuiltInPlot, PlanMatchesTheLineTableToScaleWithFewPoints) {
    const std::string& svg = *svg_;
    const LineTable table = decode_line_table(dir_->read("out/Bresta_Vilcar_linea.dat"));
    double minX = std::numeric_limits<double>::max(), maxX = -minX, minY = minX, maxY = -minX;
    int64_t filled = 0;
    for (int64_t m = 0; m <= table.last_column(); ++m) {
        if (table.type(m, 0) == LineTable::kEmpty) break;
        minX = std::min(minX, table.value(m, 0));
        maxX = std::max(maxX, table.value(m, 0));
        minY = std::min(minY, table.value(m, 1));
        maxY = std::max(maxY, table.value(m, 1));
        filled = m;
    }

    const std::string group = start_tag(svg, "id=\"plan-line\"");
    const std::vector<double> matrix = numbers(attribute(group, "transform"));
    ASSERT_EQ(matrix.size(), 6u) << group;
    const double s = matrix[0];
    EXPECT_GT(s, 0);
    EXPECT_DOUBLE_EQ(matrix[3], -s);  // one scale for x and y, north up
    EXPECT_EQ(matrix[1], 0);
    EXPECT_EQ(matrix[2], 0);

    const size_t begin = svg.find("id=\"plan-line\""), end = svg.find("</g>", begin);
    const std::vector<std::string> lines = tags_between(svg, "class=\"centre-line\"", begin, end);
    ASSERT_FALSE(lines.empty());
    std::vector<Point> all;
    for (const std::string& tag : lines) {
        const std::vector<Point> pts = points_of(tag);
        all.insert(all.end(), pts.begin(), pts.end());
    }
    double pMinX = std::numeric_limits<double>::max(), pMaxX = -pMinX, pMinY = pMinX, pMaxY = -pMinX;
    for (const Point& p : all) {
        pMinX = std::min(pMinX, p.x);
        pMaxX = std::max(pMaxX, p.x);
        pMinY = std::min(pMinY, p.y);
        pMaxY = std::max(pMaxY, p.y);
    }
    const double tolerance = 1.5;  // simplification (1 m) and printed decimals
    EXPECT_NEAR(pMinX, minX, tolerance);
    EXPECT_NEAR(pMaxX, maxX, tolerance);
    EXPECT_NEAR(pMinY, minY, tolerance);
    EXPECT_NEAR(pMaxY, maxY, tolerance);
    EXPECT_LE(all.size(), static_cast<size_t>(filled / 10 + 2));

    // The drawn extent lies inside the plan's panel.
    const std::vector<double> panel = numbers(attribute(start_tag(svg, "<rect", svg.find("id=\"plan\"")), "x") + " " +
                                              attribute(start_tag(svg, "<rect", svg.find("id=\"plan\"")), "y") + " " +
                                              attribute(start_tag(svg, "<rect", svg.find("id=\"plan\"")), "width") + " " +
                                              attribute(start_tag(svg, "<rect", svg.find("id=\"plan\"")), "height"));
    ASSERT_EQ(panel.size(), 4u);
    const double left = matrix[4] + s * minX, right = matrix[4] + s * maxX;
    const double top = matrix[5] - s * maxY, bottom = matrix[5] - s * minY;
    EXPECT_GE(left, panel[0]);
    EXPECT_LE(right, panel[0] + panel[2]);
    EXPECT_GE(top, panel[1]);
    EXPECT_LE(bottom, panel[1] + panel[3]);
}

namespace {

// A PNG's pixels as RGBA, through zlib; empty when the file is not a PNG we read.
struct Pixels {
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> rgba;
};

uint32_t be32(const std::string& s, size_t at) {
    return (uint32_t{static_cast<uint8_t>(s[at])} << 24) | (uint32_t{static_cast<uint8_t>(s[at + 1])} << 16) |
           (uint32_t{static_cast<uint8_t>(s[at + 2])} << 8) | uint32_t{static_cast<uint8_t>(s[at + 3])};
}

Pixels decode_png(const std::string& png) {
    Pixels px;
    if (png.size() < 8 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return px;
    std::string idat;
    int channels = 0;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = be32(png, at);
        const std::string type = png.substr(at + 4, 4);
        if (at + 12 + length > png.size()) return {};
        if (type == "IHDR") {
            px.width = be32(png, at + 8);
            px.height = be32(png, at + 12);
            const int depth = static_cast<uint8_t>(png[at + 16]), colour = static_cast<uint8_t>(png[at + 17]);
            const int interlace = static_cast<uint8_t>(png[at + 20]);
            if (depth != 8 || interlace != 0 || (colour != 6 && colour != 2)) return {};
            channels = colour == 6 ? 4 : 3;
        } else if (type == "IDAT") {
            idat += png.substr(at + 8, length);
        }
        at += 12 + length;
    }
    const size_t stride = static_cast<size_t>(px.width) * channels;
    std::vector<uint8_t> raw((stride + 1) * px.height);
    uLongf rawSize = raw.size();
    if (channels == 0 || uncompress(raw.data(), &rawSize, reinterpret_cast<const Bytef*>(idat.data()), idat.size()) != Z_OK ||
        rawSize != raw.size())
        return {};
    std::vector<uint8_t> prev(stride, 0), row(stride);
    for (uint32_t y = 0; y < px.height; ++y) {
        const uint8_t filter = raw[y * (stride + 1)];
        const uint8_t* in = &raw[y * (stride + 1) + 1];
        for (size_t i = 0; i < stride; ++i) {
            const int a = i >= static_cast<size_t>(channels) ? row[i - channels] : 0, b = prev[i];
            const int c = i >= static_cast<size_t>(channels) ? prev[i - channels] : 0;
            int predictor = 0;
            if (filter == 1) predictor = a;
            else if (filter == 2) predictor = b;
            else if (filter == 3) predictor = (a + b) / 2;
            else if (filter == 4) {
                const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
                predictor = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            }
            row[i] = static_cast<uint8_t>(in[i] + predictor);
        }
        for (uint32_t x = 0; x < px.width; ++x) {
            const uint8_t* p = &row[x * channels];
            px.rgba.push_back(uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 |
                              (channels == 4 ? p[3] : 255u));
        }
        prev = row;
    }
    return px;
}

}  // namespace

TEST_F(BuiltInPlot, RendersToAPictureWithRealContent) {
    RunResult r = run_command("rsvg-convert -o route.png route.svg", dir_->path());
    ASSERT_NE(r.status, 127) << "rsvg-convert is missing (librsvg2-bin)";
    ASSERT_EQ(r.status, 0) << r.err;
    const Pixels px = decode_png(dir_->read("route.png"));
    ASSERT_FALSE(px.rgba.empty()) << "not a PNG this test reads";
    EXPECT_EQ(px.width, 1200u);
    EXPECT_EQ(static_cast<double>(px.height), numbers(attribute(start_tag(*svg_, "<svg"), "height")).at(0));
    std::set<uint32_t> colours;
    size_t white = 0;
    for (uint32_t c : px.rgba) {
        if (colours.size() < 1000) colours.insert(c);
        white += c == 0xFFFFFFFFu ? 1 : 0;
    }
    EXPECT_GE(colours.size(), 20u) << "too few colours: a blank or flat picture";
    const double inked = 1.0 - static_cast<double>(white) / static_cast<double>(px.rgba.size());
    EXPECT_GT(inked, 0.05);
    EXPECT_LT(inked, 0.9);

    // Every station mark of the plan where the SVG puts it: a white centre in
    // a ring of the station colour, 4.5 px out.
    auto pixel = [&](double x, double y) {
        return px.rgba.at(static_cast<size_t>(y) * px.width + static_cast<size_t>(x)) >> 8;  // RGB
    };
    auto near_station_ink = [](uint32_t rgb) {
        const uint32_t ink = 0x1d4ed8;  // kStationInk
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((rgb >> shift) & 0xFF) - static_cast<int>((ink >> shift) & 0xFF)) > 16)
                return false;
        return true;
    };
    const size_t group = svg_->find("id=\"plan-stations\"");
    ASSERT_NE(group, std::string::npos);
    const std::string marks = svg_->substr(group, svg_->find("</g>\n</g>", group) - group);
    const std::regex circle(R"re(<circle cx="([0-9.]+)" cy="([0-9.]+)")re");
    size_t checked = 0;
    for (auto m = std::sregex_iterator(marks.begin(), marks.end(), circle); m != std::sregex_iterator(); ++m) {
        const double cx = std::stod((*m)[1]), cy = std::stod((*m)[2]);
        EXPECT_EQ(pixel(cx, cy), 0xFFFFFFu) << "centre of the mark at " << cx << ", " << cy;
        EXPECT_TRUE(near_station_ink(pixel(cx - 4.5, cy))) << "ring of the mark at " << cx << ", " << cy << ": "
                                                          << std::hex << pixel(cx - 4.5, cy);
        ++checked;
    }
    EXPECT_EQ(checked, 24u);
}

namespace {

// A short route compiled from its own documents: gradients `grades` (per mille,
// one row every 1000 m from 0), a curve, one station.
void compile_small_route(const TestFolder& dir, const std::vector<int>& grades, bool lineTable) {
    std::string line = "[generale]\r\nlunghezza percorso,    6000\r\n[curve]\r\ncurvad4,  1500,  400\r\n[pendenze]\r\n";
    for (size_t i = 0; i < grades.size(); ++i)
        line += "pendenza,  " + std::to_string(i * 1000) + ",   " + std::to_string(grades[i]) + "\r\n";
    line += "[fine]\r\n";
    const std::string train =
        "[generale]\r\nnumero vetture,    4\r\n[aderenze]\r\naderenza,   0,    100\r\n[vel_limite]\r\n"
        "velocita,       0,    80\r\nvelocita,    3000,   100\r\n[stazioni]\r\n"
        "stazione,     500,  4,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   9, 0, 0, MONTE & VALLE\r\n[fine]\r\n";
    dir.write("line.txt", line);
    dir.write("train.txt", train);
    RunResult c = tool(std::string("compile line.txt train.txt --out out --route Salita --train-code S1") +
                           (lineTable ? "" : " --no-line-table"),
                       dir);
    ASSERT_EQ(c.status, 0) << c.err;
}

}  // namespace

TEST(Plot, HeightFollowsTheSignOfTheGradient) {
    struct Case {
        std::vector<int> grades;
        int sign;  // of the change in height from start to end
    } cases[] = {{{12, 20, 5, 30}, +1}, {{-8, -15, -2}, -1}, {{0}, 0}};
    for (const Case& c : cases) {
        TestFolder dir;
        compile_small_route(dir, c.grades, true);
        RunResult p = tool("plot out --route Salita --train-code S1 --out s.svg", dir);
        ASSERT_EQ(p.status, 0) << p.err;
        ASSERT_TRUE(well_formed_xml(dir, "s.svg"));
        const std::vector<Point> curve = points_of(start_tag(dir.read("s.svg"), "id=\"height-curve\""));
        ASSERT_GE(curve.size(), 2u);
        // Picture y grows downwards: a climb runs up the picture, never down.
        for (size_t i = 1; i < curve.size(); ++i) {
            EXPECT_GT(curve[i].x, curve[i - 1].x);
            if (c.sign > 0) {
                EXPECT_LE(curve[i].y, curve[i - 1].y);
            } else if (c.sign < 0) {
                EXPECT_GE(curve[i].y, curve[i - 1].y);
            } else {
                EXPECT_EQ(curve[i].y, curve[0].y);
            }
        }
        const double rise = curve.front().y - curve.back().y;
        EXPECT_EQ((rise > 0) - (rise < 0), c.sign);
    }
}

TEST(Plot, WithoutLineDataFileDrawsTheProfileOnly) {
    TestFolder dir;
    compile_small_route(dir, {10}, false);
    ASSERT_FALSE(dir.exists("out/Salita_linea.dat"));
    RunResult p = tool("plot out --route Salita --train-code S1 --out s.svg", dir);
    ASSERT_EQ(p.status, 0) << p.err;
    ASSERT_TRUE(well_formed_xml(dir, "s.svg"));
    const std::string svg = dir.read("s.svg");
    EXPECT_EQ(svg.find("id=\"plan\""), std::string::npos);
    EXPECT_NE(svg.find("id=\"no-plan\""), std::string::npos);
    EXPECT_NE(svg.find("id=\"height-curve\""), std::string::npos);
    EXPECT_NE(svg.find("id=\"speed-curve\""), std::string::npos);
    EXPECT_EQ(count_of(svg, ">MONTE &amp; VALLE</text>"), 1u);  // escaped, in the profile alone
}

TEST(Plot, RefusesFilesThatAreNotOneCompilesSayingWhy) {
    TestFolder other;
    compile_small_route(other, {5}, true);
    ASSERT_EQ(tool("compile line.txt train.txt --out out --route Salita --train-code S2", other).status, 0);
    struct Case {
        std::string file;
        std::string bytes;
        std::string message;
    } cases[] = {
        {.file = "out/Salita_S1.dat",
         .bytes = std::string(141 * 15, 'x'),
         .message = "scenario_tool: out/Salita_S1.dat: not a grid file: cell 1 holds 30840 where a compiled grid holds "
                    "the marker 5121"},
        // The grid of train S2: the same size, another check code. The plain
        // code sums the 25 characters of "s2salita" and the filler.
        {.file = "out/Salita_S1.dat",
         .bytes = other.read("out/Salita_S2.dat"),
         .message = "scenario_tool: out/Salita_S1.dat: cell 1 holds the check code 2516, but the route \"Salita\", "
                    "train \"S1\" of the scenario file give 2515: the two are not of one compile"},
        {.file = "out/Salita_linea.dat",
         .bytes = std::string("\x02\x00\x00\x00\x02\x00\x00\x00\x02\x00\x00\x00\x02\x00\x01\x00", 16),
         .message = "scenario_tool: out/Salita_linea.dat: not a line data file: the line ends at metre 1, where a "
                    "compiled line ends 7000 m after a route of 0 to 1000000 m"},
    };
    for (const Case& c : cases) {
        TestFolder dir;
        compile_small_route(dir, {5}, true);
        dir.write(c.file, c.bytes);
        RunResult p = tool("plot out --route Salita --train-code S1 --out s.svg", dir);
        EXPECT_EQ(p.status, 2) << c.message;
        std::string expected = c.message + "\n";
        if (tool_is_windows()) expected.replace(expected.find(c.file), c.file.size(), tool_join("out", c.file.substr(4)));
        EXPECT_EQ(p.err, expected);
        EXPECT_FALSE(dir.exists("s.svg")) << c.message;
    }
}

TEST(Plot, UnusableCompiledFilesEndWithStatusTwo) {
    struct Case {
        const char* what;
        const char* file;      // replaced (or removed when `bytes` is null)
        const char* bytes;
    } cases[] = {
        {"missing grid", "out/Salita_S1.dat", nullptr},
        {"garbage grid", "out/Salita_S1.dat", "this is not a grid file at all"},
        {"grid of whole cells from another route", "out/Salita_S1.dat", "0123456789abcde0123456789abcde"},
        {"missing scenario", "out/Salita_S1.sim", nullptr},
        {"truncated scenario", "out/Salita_S1.sim", "\x01\x02\x03"},
        {"garbage line data", "out/Salita_linea.dat", "\x07\x01garbage"},
    };
    for (const Case& c : cases) {
        TestFolder dir;
        compile_small_route(dir, {5}, true);
        if (c.bytes) dir.write(c.file, c.bytes);
        else fs::remove(dir.file(c.file));
        RunResult p = tool("plot out --route Salita --train-code S1 --out s.svg", dir);
        EXPECT_EQ(p.status, 2) << c.what;
        EXPECT_NE(p.err.find(fs::path(c.file).filename().string()), std::string::npos) << c.what << ": " << p.err;
        EXPECT_FALSE(dir.exists("s.svg")) << c.what;
    }
    TestFolder empty;
    RunResult p = tool("plot . --out s.svg", empty);
    EXPECT_EQ(p.status, 2);

    // Good files, but a picture that cannot be written: a run-time failure.
    TestFolder good;
    compile_small_route(good, {5}, true);
    RunResult unwritable = tool("plot out --route Salita --train-code S1 --out no/such/folder/s.svg", good);
    EXPECT_EQ(unwritable.status, 3);
    EXPECT_NE(unwritable.err.find("s.svg"), std::string::npos) << unwritable.err;
}

// Without both names, plot draws the one scenario of the folder (of the route
// or train given, if one is); several are listed with the options that choose each.
TEST(Plot, FindsTheScenarioOfItsFolder) {
    const std::string salita1 = "route Salita, train S1 (Salita_S1.sim, Salita_S1.dat, Salita_linea.dat): "
                                "give --route Salita --train-code S1";
    const std::string salita2 = "route Salita, train S2 (Salita_S2.sim, Salita_S2.dat, Salita_linea.dat): "
                                "give --route Salita --train-code S2";
    const std::string drawn = "; 1 station, 0 signals, 0 indication boards, 0 speed boards)\n";
    struct Case {
        const char* what;
        std::vector<std::string> compiled = {};  // ROUTE TRAIN of each compile into out
        std::string args;
        int status;
        std::string out = "";
        std::string err = "";
    } cases[] = {
        {.what = "one scenario of another name",
         .compiled = {"Salita S1"},
         .args = "plot out --out s.svg",
         .status = 0,
         .out = "drew s.svg (route Salita, 6000 m; train S1" + drawn},
        {.what = "several, the train given chooses",
         .compiled = {"Salita S1", "Salita S2", "Colle S1"},
         .args = "plot out --train-code S2 --out s.svg",
         .status = 0,
         .out = "drew s.svg (route Salita, 6000 m; train S2" + drawn},
        {.what = "several",
         .compiled = {"Salita S1", "Salita S2"},
         .args = "plot out --out s.svg",
         .status = 64,
         .err = "scenario_tool: which scenario to draw? out holds the compiled files of " + salita1 + " and of " +
                salita2 + "\n"},
        {.what = "several of the route given",
         .compiled = {"Salita S1", "Colle S1", "Salita S2"},
         .args = "plot out --route Salita --out s.svg",
         .status = 64,
         .err = "scenario_tool: which scenario to draw? out holds the compiled files of " + salita1 + " and of " +
                salita2 + "\n"},
        {.what = "none of the route given",
         .compiled = {"Salita S1"},
         .args = "plot out --route Colle --out s.svg",
         .status = 2,
         .err = "scenario_tool: " + tool_join("out", "Colle_RX907.sim") +
                ": no scenario file of route Colle, train RX907 here; out holds the compiled files of " + salita1 +
                "\n"},
        {.what = "none",
         .args = "plot . --out s.svg",
         .status = 2,
         .err = "scenario_tool: " + tool_join(".", "Bresta_Vilcar_RX907.sim") +
                ": no scenario file of route Bresta_Vilcar, train RX907 here; compile the scenario first\n"},
    };
    for (const Case& c : cases) {
        TestFolder dir;
        compile_small_route(dir, {5}, true);
        fs::remove_all(dir.file("out"));
        for (const std::string& names : c.compiled) {
            const std::string route = names.substr(0, names.find(' ')), train = names.substr(names.find(' ') + 1);
            ASSERT_EQ(tool("compile line.txt train.txt --out out --route " + route + " --train-code " + train, dir).status,
                      0)
                << c.what;
        }
        RunResult p = tool(c.args, dir);
        EXPECT_EQ(p.status, c.status) << c.what << "\n" << p.err;
        EXPECT_EQ(p.out, c.out) << c.what;
        EXPECT_EQ(p.err, c.err) << c.what;
        EXPECT_EQ(dir.exists("s.svg"), c.status == 0) << c.what;
    }
}
