// The two check codes computed from the scenario's names.
#include <cstdint>
#include <string>

#include "core/form1.h"

namespace {

constexpr size_t kCheckLength = 25;
constexpr char kFiller[] = "aabbccddeeffgghhiillmmnnoo";

// Lower case of one Windows-1252 byte; everything but letters stays.
uint8_t lower_1252(uint8_t c) {
    if (c >= 'A' && c <= 'Z') return static_cast<uint8_t>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<uint8_t>(c + 0x20);
    switch (c) {
        case 0x8A: return 0x9A;  // S caron
        case 0x8C: return 0x9C;  // OE
        case 0x8E: return 0x9E;  // Z caron
        case 0x9F: return 0xFF;  // Y diaeresis
        default: return c;
    }
}

// Lower case of the train code and the route name, then the filler: the first 25 bytes.
std::string check_text(const ScenarioTable& scenario) {
    std::string text = scenario[kSlotTrain].label + scenario[kSlotRoute].label + kFiller;
    text.resize(kCheckLength);
    for (char& ch : text) ch = static_cast<char>(lower_1252(static_cast<uint8_t>(ch)));
    return text;
}

}  // namespace

int32_t Form1::codice_gara_st() {
    const std::string text = check_text(scenario);
    int32_t sum = 0;
    for (size_t i = 0; i < text.size(); ++i) sum += static_cast<int32_t>(i + 1) * static_cast<uint8_t>(text[i]);
    return sum;
}

int32_t Form1::codice_gara_og() {
    const std::string text = check_text(scenario);
    int32_t sum = 0;
    for (char ch : text) sum += static_cast<uint8_t>(ch);
    return sum;
}
