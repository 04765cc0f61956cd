#include "tools/common/record_names.h"

#include <vector>

namespace {

struct RowNames {
    const char* row;
    std::vector<const char*> fields;  // every field's meaning, numbers first
    const char* text = nullptr;       // the text field that ends the row, if any
};

RowNames names_of(RecordKind kind) {
    switch (kind) {
        case RecordKind::RouteLength: return {"route length row", {"the route length"}};
        case RecordKind::Progressive3:
        case RecordKind::Progressive2:
        case RecordKind::Progressive1: return {"progressive definition row", {"", "", ""}};
        case RecordKind::Background1:
        case RecordKind::Background2:
        case RecordKind::Background3: return {"background row", {""}};
        case RecordKind::SignalRepetition:
            return {"signal repetition row", {"the start of the stretch", "the end of the stretch"}};
        case RecordKind::Gradient: return {"gradient row", {"the position", "the gradient in per mille"}};
        case RecordKind::Curve: return {"curve row", {"the start", "the length"}};
        case RecordKind::Montagna: return {"montagna row", {"the start", "the end", "the type"}};
        case RecordKind::SpeedBoard:
            return {"speed board row",
                    {"the position", "vas", "vbs", "vcs", "strisces", "vad", "vbd", "vcd", "strisced"}};
        case RecordKind::IndicationBoard: return {"indication board row", {"the position"}, "caption"};
        case RecordKind::BrakedMass: return {"braked mass row", {"the braked-mass percentage"}};
        case RecordKind::Cars: return {"cars row", {"the number of cars"}};
        case RecordKind::SpeedLimit: return {"speed limit row", {"the position", "the speed in km/h"}};
        case RecordKind::Adhesion: return {"adhesion row", {"the position", "the adhesion in percent"}};
        case RecordKind::Clock: return {"clock row", {"the hours", "the minutes", "the seconds"}};
        case RecordKind::Sand: return {"sand row", {"the sand supply"}};
        case RecordKind::Signal:
            return {"signal row", {"the position", "sx", "s1", "s2", "s3", "rapp", "dx", "d1", "d2", "d3", "tempo"}};
        case RecordKind::SlowDown:
            return {"slow-down row", {"the position", "the speed", "the length", "f_tt", "f_ta", "d_v"}};
        case RecordKind::Abbattimento: return {"abbattimento row", {"the position", "the value"}};
        case RecordKind::Station:
            return {"station row",
                    {"the position", "the type code", "the station length", "", "", "the extension flag", "", "", "",
                     "", "", "", "", "the hours", "the minutes", "the seconds"},
                    "name"};
    }
    return {"row", {}};
}

const char* kOrdinals[] = {"first",   "second",  "third",      "fourth",     "fifth",     "sixth",
                           "seventh", "eighth",  "ninth",      "tenth",      "eleventh",  "twelfth",
                           "thirteenth", "fourteenth", "fifteenth", "sixteenth", "seventeenth"};

std::string count(size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string row_name(RecordKind kind) { return names_of(kind).row; }

bool ends_in_text(RecordKind kind) { return names_of(kind).text != nullptr; }

std::string row_contents(RecordKind kind) {
    const RowNames names = names_of(kind);
    std::string text = count(names.fields.size(), "number", "numbers");
    if (names.text) text += std::string(" and a ") + names.text;
    return text;
}

std::string field_name(RecordKind kind, int n) {
    const RowNames names = names_of(kind);
    const std::string row = std::string("this ") + names.row;
    if (n >= 1 && static_cast<size_t>(n) <= names.fields.size()) {
        std::string text = std::string("the ") + kOrdinals[n - 1] + " number of " + row;
        const std::string meaning = names.fields[static_cast<size_t>(n) - 1];
        if (!meaning.empty()) text += " (" + meaning + ")";
        return text;
    }
    if (names.text && static_cast<size_t>(n) == names.fields.size() + 1) return std::string("the ") + names.text + " of " + row;
    return "a value of " + row;
}
