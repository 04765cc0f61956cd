// Generated routes for measuring the compiler. Every feature stands on its own
// 50 m cell: with positions on whole multiples of 50 m, features repeat every
// 2000 m (40 cells) and each kind keeps its own cell within those 40:
//   station stop cells 2, 3 and 6, signals 12 and 32, speed boards 17,
//   indication boards 27.
// Montagna markers may share cells with any of them: they count as free.
#include "bench/route_generator.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>

namespace {

constexpr int32_t kFeaturePeriod = 2000;  // metres after which the cell pattern repeats
constexpr int32_t kCurvePeriod = 2500;
constexpr int32_t kFirstCurve = 1850;
constexpr int32_t kLastLineColumn = 999999;  // a curve must end before the line column passes 1000000
constexpr int32_t kMontagnaPeriod = 12000;
constexpr int32_t kMontagnaLength = 5000;
constexpr int32_t kMostMontagnaStretches = 80;
constexpr int32_t kMostIndicationBoards = 8;
constexpr int32_t kSpeedLimitPeriod = 5000;
constexpr int32_t kAdhesionPeriod = 10000;

// One line of a document: its key, then each value introduced by a comma.
class Row {
public:
    explicit Row(std::string_view key) : text_(key) {}
    // The value after a comma and `blanks` blanks.
    Row& value(int64_t v, int blanks) {
        text_ += ',';
        text_.append(static_cast<size_t>(blanks), ' ');
        text_ += std::to_string(v);
        return *this;
    }
    // The value after a comma, right-aligned in `width` characters (wider
    // values keep all their digits).
    Row& right(int64_t v, size_t width) {
        const std::string digits = std::to_string(v);
        text_ += ',';
        if (digits.size() < width) text_.append(width - digits.size(), ' ');
        text_ += digits;
        return *this;
    }
    Row& text(std::string_view more) {
        text_ += more;
        return *this;
    }
    const std::string& str() const { return text_; }

private:
    std::string text_;
};

// Accumulates a document, each line ended by CR LF.
class TextDocument {
public:
    void line(std::string_view text) {
        text_ += text;
        text_ += "\r\n";
    }
    void line(const Row& row) { line(row.str()); }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

void general_section(TextDocument& doc, int32_t length) {
    // The signal repetition ends on a multiple of 50 past the end of the route.
    const int32_t repetitionEnd = (length / 50) * 50 + 1500;
    doc.line("[generale]");
    doc.line(Row("lunghezza percorso").value(length, 4));
    doc.line(Row("progressiva chilometrica uno").value(1000, 4).value(0, 4).value(0, 4));
    doc.line(Row("progressiva chilometrica due").value(0, 4).value(0, 4).value(0, 4));
    doc.line(Row("progressiva chilometrica tre").value(0, 4).value(0, 4).value(0, 4));
    doc.line(Row("sfondo uno").value(4000, 4));
    doc.line(Row("sfondo due").value(1000, 4));
    doc.line(Row("sfondo tre").value(1, 4));
    doc.line(Row("ripetizione segnali 4 codici").value(1000, 4).value(repetitionEnd, 4));
}

// Curves in pairs of one class, right then left, so that the heading stays
// near the start's; classes 1 to 6 in turn, lengths 150 to 450 m.
void curves(TextDocument& doc, int32_t length) {
    static constexpr int32_t kLengths[4] = {300, 150, 450, 250};
    static constexpr const char* kKeys[2][6] = {
        {"curvad1", "curvad2", "curvad3", "curvad4", "curvad5", "curvad6"},
        {"curvas1", "curvas2", "curvas3", "curvas4", "curvas5", "curvas6"},
    };
    doc.line("[curve]");
    const int32_t lastEnd = std::min(length, kLastLineColumn);
    for (int32_t k = 0;; ++k) {
        const int32_t start = kFirstCurve + k * kCurvePeriod;
        const int32_t len = kLengths[k % 4];
        if (start + len > lastEnd) break;
        doc.line(Row(kKeys[k % 2][(k / 2) % 6]).value(start, 2).value(len, 2));
    }
}

void gradients(TextDocument& doc, int32_t length) {
    doc.line("[pendenze]");
    for (int32_t k = 0; k * kFeaturePeriod <= length; ++k) {
        const int32_t gradient = (k * 7) % 41 - 20;
        doc.line(Row("pendenza").value(k * kFeaturePeriod, 2).value(gradient, 3));
    }
}

void montagna_stretches(TextDocument& doc, int32_t length) {
    doc.line("[montagne]");
    const int32_t count = std::min(kMostMontagnaStretches, std::max(1, length / kMontagnaPeriod));
    for (int32_t i = 0; i < count; ++i) {
        const int32_t start = 3000 + i * kMontagnaPeriod;
        const int32_t end = std::min(start + kMontagnaLength, length);
        doc.line(Row("montagna").value(start, 3).value(end, 2).value(i % 2 == 0 ? 11 : 12, 2));
    }
}

// Speed boards at 800 m past every 2 km: cell 17 of each 40.
void speed_boards(TextDocument& doc, int32_t length) {
    doc.line("[cartelli]");
    for (int32_t k = 0; 800 + k * kFeaturePeriod <= length; ++k) {
        const int32_t speed = 60 + 10 * ((k * 3) % 10);
        doc.line(Row("indicatori_vmax")
                     .value(800 + k * kFeaturePeriod, 2)
                     .value(speed, 2)
                     .value(speed + 10, 2)
                     .value(speed + 10, 2)
                     .value(2 - k % 3, 2)
                     .text(",  ,  ,  ")
                     .value(0, 2));
    }
}

// Indication boards at 1300 m past a multiple of 2 km: cell 27 of each 40.
void indication_boards(TextDocument& doc, int32_t length) {
    doc.line("[indicazioni]");
    const int32_t spacing =
        std::max(kFeaturePeriod, (length / kMostIndicationBoards) / kFeaturePeriod * kFeaturePeriod);
    for (int32_t i = 0; i < kMostIndicationBoards && 1300 + i * spacing <= length; ++i) {
        const std::string caption = "(P.C. POSTO " + std::to_string(i + 1) + ")";
        doc.line(Row("cartello_indicatore").value(1300 + i * spacing, 2).text(",   ").text(caption));
    }
}

void train_general(TextDocument& doc) {
    doc.line("Percorso generato per misurare il compilatore su linee lunghe");
    doc.line("[generale]");
    doc.line(Row("numero vetture").value(8, 4));
    doc.line(Row("percentuale massa frenata").value(135, 4));
    doc.line(Row("sabbia").value(300, 4));
    doc.line("orologio,    5               55            0 ");
}

void adhesion(TextDocument& doc, int32_t length) {
    doc.line("[aderenze]");
    for (int32_t k = 0; k * kAdhesionPeriod <= length; ++k) {
        doc.line(Row("aderenza").right(k * kAdhesionPeriod, 8).right(90 + (k * 3) % 11, 6));
    }
}

void speed_limits(TextDocument& doc, int32_t length) {
    doc.line("[vel_limite]");
    for (int32_t k = 0; k * kSpeedLimitPeriod <= length; ++k) {
        doc.line(Row("velocita").right(k * kSpeedLimitPeriod, 8).right(60 + 10 * ((k * 3) % 11), 6));
    }
}

// Stations on multiples of 2 km, as far apart as 70 stations allow. Types 4
// of 400 m and 700 m stop in cells 3 and 6 of their 40; the last station, of
// type 6, in cell 2.
void stations(TextDocument& doc, int32_t length) {
    static constexpr size_t kWidths[16] = {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2};
    doc.line("[stazioni]");
    const int32_t spacing =
        std::max(kFeaturePeriod, length / (kMostGeneratedStations - 1) / kFeaturePeriod * kFeaturePeriod);
    const int32_t count = std::min(kMostGeneratedStations, length / spacing + 1);
    for (int32_t i = 0; i < count; ++i) {
        const bool last = i == count - 1;
        const int32_t type = last ? 6 : 4;
        const int32_t stationLength = last ? 800 : (i % 2 == 0 ? 400 : 700);
        const int32_t minutes = 360 + 12 * i;
        const int32_t fields[16] = {i * spacing, type, stationLength, 0, 1, 0, 1, 1, 0, 4, 1, 1, i, minutes / 60,
                                    minutes % 60, 0};
        Row row("stazione");
        for (int f = 0; f < 16; ++f) row.right(fields[f], kWidths[f]);
        doc.line(row.text(", LOCALITA ").text(std::to_string(i + 1)));
    }
}

// Two signals every 2 km, at 550 m and 1550 m past it: cells 12 and 32 of each 40.
void signals(TextDocument& doc, int32_t length) {
    static constexpr int32_t kPatterns[2][10] = {
        {1, 4, 1, 0, 0, 1, 3, 1, 0, 0},
        {2, 4, 1, 0, 0, 2, 2, 1, 0, 0},
    };
    static constexpr size_t kWidths[11] = {8, 4, 2, 2, 3, 2, 5, 3, 1, 1, 2};
    doc.line("[rallentamenti]");
    doc.line("[segnali]");
    for (int32_t k = 0; 550 + k * (kFeaturePeriod / 2) <= length; ++k) {
        Row row("segnale");
        row.right(550 + k * (kFeaturePeriod / 2), kWidths[0]);
        for (int f = 0; f < 10; ++f) row.right(kPatterns[k % 2][f], kWidths[f + 1]);
        doc.line(row);
    }
    doc.line("[codici]");
}

}  // namespace

RouteDocuments generate_route(int32_t routeLength) {
    if (routeLength < kShortestGeneratedRoute || routeLength > kLongestGeneratedRoute)
        throw std::invalid_argument("route length " + std::to_string(routeLength) + " outside " +
                                    std::to_string(kShortestGeneratedRoute) + " to " +
                                    std::to_string(kLongestGeneratedRoute));
    TextDocument line;
    general_section(line, routeLength);
    curves(line, routeLength);
    gradients(line, routeLength);
    montagna_stretches(line, routeLength);
    speed_boards(line, routeLength);
    indication_boards(line, routeLength);
    line.line("[fine]");

    TextDocument train;
    train_general(train);
    adhesion(train, routeLength);
    speed_limits(train, routeLength);
    stations(train, routeLength);
    signals(train, routeLength);
    train.line("[fine]");
    return {line.take(), train.take()};
}
