#include "tools/common/section_headers.h"

#include <algorithm>

#include "tools/common/ascii_text.h"

namespace {

constexpr RecordKind kGradients[] = {RecordKind::Gradient};
constexpr RecordKind kCurves[] = {RecordKind::Curve};
constexpr RecordKind kMontagne[] = {RecordKind::Montagna};
constexpr RecordKind kSpeedBoards[] = {RecordKind::SpeedBoard};
constexpr RecordKind kIndicationBoards[] = {RecordKind::IndicationBoard};
constexpr RecordKind kAdhesions[] = {RecordKind::Adhesion};
constexpr RecordKind kSpeedLimits[] = {RecordKind::SpeedLimit};
constexpr RecordKind kStations[] = {RecordKind::Station};
constexpr RecordKind kSlowDowns[] = {RecordKind::SlowDown};
constexpr RecordKind kSignals[] = {RecordKind::Signal};

constexpr SectionHeader kHeaders[] = {
    {"[generale]", Document::Line, {}},
    {"[curve]", Document::Line, kCurves},
    {"[pendenze]", Document::Line, kGradients},
    {"[montagne]", Document::Line, kMontagne},
    {"[cartelli]", Document::Line, kSpeedBoards},
    {"[indicazioni]", Document::Line, kIndicationBoards},
    {"[fine]", Document::Line, {}},
    {"[generale]", Document::Train, {}},
    {"[aderenze]", Document::Train, kAdhesions},
    {"[vel_limite]", Document::Train, kSpeedLimits},
    {"[stazioni]", Document::Train, kStations},
    {"[rallentamenti]", Document::Train, kSlowDowns},
    {"[segnali]", Document::Train, kSignals},
    {"[codici]", Document::Train, {}},
    {"[fine]", Document::Train, {}},
};

}  // namespace

std::span<const SectionHeader> section_headers() { return kHeaders; }

std::string_view section_of(RecordKind kind) {
    for (const SectionHeader& h : kHeaders) {
        if (std::find(h.kinds.begin(), h.kinds.end(), kind) != h.kinds.end()) return h.text;
    }
    return part_of(kind) == DocumentPart::LineGeneral ? kGeneralSection : std::string_view();
}

bool looks_like_section_header(std::string_view line) {
    const std::string_view text = without_leading_blanks(line);
    return text.starts_with('[') && text.find(']') != std::string_view::npos;
}
