#include "tools/running_time/train_model.h"

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "platform/platform.h"

const TrainModelKey kTrainModelKeys[12] = {
    {"car_mass_kg", &TrainModel::carMassKg, true},
    {"car_length_m", &TrainModel::carLengthM, false},
    {"davis_a_N", &TrainModel::davisANPerCar, false},
    {"davis_b_N_per_mps", &TrainModel::davisBNsPerMPerCar, false},
    {"davis_c_N_per_mps2", &TrainModel::davisCNs2PerM2, false},
    {"max_effort_N", &TrainModel::maxEffortN, true},
    {"max_power_W", &TrainModel::maxPowerW, true},
    {"max_speed_mps", &TrainModel::maxSpeedMps, true},
    {"rotating_mass_factor", &TrainModel::rotatingMassFactor, true},
    {"adhesion_coefficient", &TrainModel::adhesionCoefficient, true},
    {"braking_mps2", &TrainModel::brakingMps2, true},
    {"dwell_s", &TrainModel::dwellS, false},
};

namespace {

const TrainModelKey* find_key(const std::string& name) {
    for (const TrainModelKey& key : kTrainModelKeys) {
        if (name == key.name) return &key;
    }
    return nullptr;
}

std::string known_keys() {
    std::string list;
    for (const TrainModelKey& key : kTrainModelKeys) list += std::string(list.empty() ? "" : ", ") + key.name;
    return list;
}

}  // namespace

TrainModelRead read_train_model(const std::string& text, const std::string& file) {
    const auto failed = [&](const std::string& why) { return TrainModelRead{std::nullopt, file + ": " + why}; };
    nlohmann::json json;
    try {
        json = nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception& e) {
        // The library's words say where and why: "syntax error while parsing
        // object - unexpected end of input", "number overflow parsing '1e999'".
        const std::string what = e.what();
        const size_t words = what.find("] ");
        return failed("not a JSON document (" + (words == std::string::npos ? what : what.substr(words + 2)) + ")");
    }
    if (!json.is_object()) return failed("not a JSON object of train-model keys");
    TrainModel model;
    for (const auto& [name, value] : json.items()) {
        const TrainModelKey* key = find_key(name);
        const std::string quoted = "key \"" + name + "\": ";
        if (key == nullptr) return failed(quoted + "not a train-model key (the keys are " + known_keys() + ")");
        if (!value.is_number()) return failed(quoted + "not a number");
        const double v = value.get<double>();
        if (!std::isfinite(v)) return failed(quoted + "not a finite number");
        if (v < 0) return failed(quoted + "negative");
        if (v == 0 && key->zeroRefused) return failed(quoted + "must be above 0");
        model.*key->field = v;
    }
    return {model, ""};
}

TrainModelRead read_train_model_file(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return {std::nullopt, path + " is a folder, not a file"};
    if (!platform::file_exists(path)) return {std::nullopt, path + " does not exist"};
    try {
        return read_train_model(platform::read_file(path), path);
    } catch (const platform::RunTimeFailure& failure) {
        return {std::nullopt, path + " cannot be read (" + failure.reason + ")"};
    }
}

std::string train_model_json(const TrainModel& model) {
    nlohmann::ordered_json json;
    for (const TrainModelKey& key : kTrainModelKeys) json[key.name] = model.*key.field;
    return json.dump(2) + "\n";
}
