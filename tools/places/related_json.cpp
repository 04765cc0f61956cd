#include "tools/places/related_json.h"

nlohmann::ordered_json related_json(const Diagnostic& d, const std::vector<std::optional<TextSpan>>& spans) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (size_t i = 0; i < d.related.size(); ++i) {
        const RelatedPlace& place = d.related[i];
        nlohmann::ordered_json j = {{"file", place.file}, {"line", place.line}, {"label", place.label}};
        if (const auto columns = columns_on(i < spans.size() ? spans[i] : std::nullopt, place.line)) {
            j["startColumn"] = columns->first;
            j["endColumn"] = columns->second;
        }
        list.push_back(std::move(j));
    }
    return list;
}
