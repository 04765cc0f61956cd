// The train-model file: every fault named with the file and the key, the
// keys that set the model, and the defaults written back as a file.
#include "tools/running_time/train_model.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace {

TEST(TrainModelFile, FaultsNameTheFileAndTheKey) {
    struct Case {
        const char* name;
        const char* text;
        const char* error;  // empty: read
    };
    const Case cases[] = {
        {.name = "not JSON", .text = "car_mass_kg = 3", .error = "m.json: not a JSON document"},
        {.name = "cut short", .text = "{\"car_mass_kg\": 3", .error = "m.json: not a JSON document"},
        {.name = "an array", .text = "[1, 2]", .error = "m.json: not a JSON object of train-model keys"},
        {.name = "unknown key", .text = "{\"car_mass\": 3}", .error = "m.json: key \"car_mass\": not a train-model key"},
        {.name = "a string", .text = "{\"dwell_s\": \"30\"}", .error = "m.json: key \"dwell_s\": not a number"},
        {.name = "a boolean", .text = "{\"braking_mps2\": true}", .error = "m.json: key \"braking_mps2\": not a number"},
        {.name = "null", .text = "{\"max_power_W\": null}", .error = "m.json: key \"max_power_W\": not a number"},
        {.name = "too large", .text = "{\"max_effort_N\": 1e999}", .error = "m.json: not a JSON document (number overflow"},
        {.name = "negative", .text = "{\"davis_a_N\": -1}", .error = "m.json: key \"davis_a_N\": negative"},
        {.name = "no mass", .text = "{\"car_mass_kg\": 0}", .error = "m.json: key \"car_mass_kg\": must be above 0"},
        {.name = "no rotating mass", .text = "{\"rotating_mass_factor\": 0}",
         .error = "m.json: key \"rotating_mass_factor\": must be above 0"},
        {.name = "no brakes", .text = "{\"braking_mps2\": 0.0}", .error = "m.json: key \"braking_mps2\": must be above 0"},
        {.name = "no top speed", .text = "{\"max_speed_mps\": 0}", .error = "m.json: key \"max_speed_mps\": must be above 0"},
        {.name = "zero where nothing divides", .text = "{\"dwell_s\": 0, \"davis_c_N_per_mps2\": 0, \"car_length_m\": 0}",
         .error = ""},
        {.name = "empty object", .text = "{}", .error = ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TrainModelRead read = read_train_model(c.text, "m.json");
        if (*c.error == '\0') {
            EXPECT_TRUE(read.model.has_value()) << read.error;
            continue;
        }
        EXPECT_FALSE(read.model.has_value());
        EXPECT_EQ(read.error.rfind(c.error, 0), 0u) << read.error;
    }
}

TEST(TrainModelFile, EachKeySetsItsOwnValueAndLeavesTheOthers) {
    for (const TrainModelKey& key : kTrainModelKeys) {
        SCOPED_TRACE(key.name);
        const TrainModelRead read = read_train_model(std::string("{\"") + key.name + "\": 1234.5}", "m.json");
        ASSERT_TRUE(read.model) << read.error;
        for (const TrainModelKey& other : kTrainModelKeys)
            EXPECT_EQ((*read.model).*other.field, &other == &key ? 1234.5 : TrainModel{}.*other.field) << other.name;
    }
}

TEST(TrainModelFile, TheDefaultsAreTheFourCarRegionalUnitAndReadBackAsWritten) {
    // The defaults as docs/authoring.md lists them, with their source.
    const nlohmann::json expected = {
        {"car_mass_kg", 65000},       {"car_length_m", 25},          {"davis_a_N", 572},
        {"davis_b_N_per_mps", 17.08}, {"davis_c_N_per_mps2", 7.75},  {"max_effort_N", 242000},
        {"max_power_W", 1800000},     {"max_speed_mps", 44.44},      {"rotating_mass_factor", 1.05},
        {"adhesion_coefficient", 0.3}, {"braking_mps2", 0.5},        {"dwell_s", 30},
    };
    const std::string written = train_model_json(TrainModel{});
    EXPECT_EQ(nlohmann::json::parse(written), expected);
    const TrainModelRead read = read_train_model(written, "defaults.json");
    ASSERT_TRUE(read.model) << read.error;
    for (const TrainModelKey& key : kTrainModelKeys) EXPECT_EQ((*read.model).*key.field, TrainModel{}.*key.field);
}

}  // namespace
