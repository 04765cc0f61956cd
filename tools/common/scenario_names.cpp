#include "tools/common/scenario_names.h"

Form1 named_form(const std::string& folder, const ScenarioNames& names) {
    Form1 form(folder);
    form.routeName = names.route;
    form.trainCode = names.train;
    return form;
}
