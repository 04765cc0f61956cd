#include "tools/diagnostics/label_lengths.h"

#include <algorithm>

#include "core/error_codes.h"
#include "core/output_files.h"

namespace {

// The name or caption a row read: its one text field.
const TracedField* text_field(const TracedRecord& r) {
    if (r.kind != RecordKind::Station && r.kind != RecordKind::IndicationBoard) return nullptr;
    for (const TracedField& f : r.fields) {
        if (!f.number) return &f;
    }
    return nullptr;
}

}  // namespace

std::vector<LongLabel> labels_too_long(const Form1& form) {
    std::vector<LongLabel> found;
    std::vector<bool> taken(form.trace.records.size(), false);
    for (const ScenarioSlot& slot : form.scenario) {
        if (slot.label.size() <= kLongestLabel) continue;
        // The row whose text the label is a copy of; each row gives one label.
        for (size_t i = 0; i < form.trace.records.size(); ++i) {
            const TracedField* text = text_field(form.trace.records[i]);
            if (taken[i] || text == nullptr || text->text != slot.label) continue;
            taken[i] = true;
            found.push_back({&form.trace.records[i], text->line, slot.label.size()});
            break;
        }
    }
    std::sort(found.begin(), found.end(), [](const LongLabel& a, const LongLabel& b) {
        return std::pair(a.record->document, a.line) < std::pair(b.record->document, b.line);
    });
    return found;
}

std::string label_too_long_message(const LongLabel& label) {
    const bool station = label.record->kind == RecordKind::Station;
    return std::string(station ? "the station name" : "the indication board caption") + " is " +
           std::to_string(label.length) + " characters long; " + (station ? "a station name" : "a caption") +
           " holds at most " + std::to_string(kLongestLabel) +
           " characters (the scenario file stores its length in 16 bits): shorten it";
}

std::string label_too_long_diagnostic(const LongLabel& label, const SourceDocument& line,
                                      const SourceDocument& train) {
    const SourceDocument& document = label.record->document == Document::Line ? line : train;
    return diagnostic_text(document.path, label.line, kLabelTooLong,
                           label_too_long_message(label));
}
