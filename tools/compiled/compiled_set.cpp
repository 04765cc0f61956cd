#include "tools/compiled/compiled_set.h"

#include <new>

#include "core/form1.h"
#include "platform/platform.h"
#include "tools/common/wording.h"
#include "tools/compiled/compiled_files.h"
#include "tools/compiled/compiled_recognition.h"

CompiledPaths compiled_paths(const std::string& folder, const ScenarioNames& names) {
    const Form1 form = named_form(folder, names);
    return {form.file_path(form.line_data_name()), form.file_path(form.scenario_file_name()),
            form.file_path(form.grid_file_name())};
}

std::vector<ScenarioNames> compiled_scenarios_in(const std::string& folder) {
    std::vector<ScenarioNames> found;
    for (const std::string& name : platform::list_files(folder)) {
        if (!name.ends_with(".sim")) continue;
        try {
            const ScenarioTable table = read_scenario_file(platform::read_file(platform::join(folder, name)));
            const ScenarioNames names{table[kSlotRoute].label, table[kSlotTrain].label};
            if (named_form(folder, names).scenario_file_name() == name) found.push_back(names);
        } catch (const DecodeError&) {
        } catch (const platform::RunTimeFailure&) {
        } catch (const std::bad_alloc&) {
        }
    }
    return found;
}

std::string compiled_scenarios_listed(const std::string& folder, const std::vector<ScenarioNames>& scenarios) {
    std::string text = shown_folder(folder) + " holds the compiled files of ";
    for (size_t i = 0; i < scenarios.size(); ++i) {
        if (i > 0) text += i + 1 == scenarios.size() ? " and of " : ", of ";
        const ScenarioNames& names = scenarios[i];
        const Form1 form = named_form(folder, names);
        text += "route " + names.route + ", train " + names.train + " (" + form.scenario_file_name() + ", " +
                form.grid_file_name() +
                (platform::file_exists(form.file_path(form.line_data_name())) ? ", " + form.line_data_name() : "") +
                "): give --route " + names.route + " --train-code " + names.train;
    }
    return text;
}

std::string other_compiled_files(const std::string& folder, const ScenarioNames& wanted) {
    std::vector<ScenarioNames> there = compiled_scenarios_in(folder);
    std::erase_if(there, [&](const ScenarioNames& n) { return n.route == wanted.route && n.train == wanted.train; });
    if (there.empty()) return "compile the scenario first";
    return compiled_scenarios_listed(folder, there);
}

std::string compiled_kind_by_name(const std::string& fileName) {
    const size_t slash = fileName.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    if (name.ends_with("_linea.dat")) return "line";
    if (name.ends_with(".sim")) return "scenario";
    return "";  // a grid file, or a file renamed: its content decides
}
