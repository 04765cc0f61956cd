// What the benchmarks share: the scenario's names, laying its two description
// documents into the form's folder, and refusing to time a failed compile.
#pragma once

#include <benchmark/benchmark.h>

#include <string>

#include "bench/route_generator.h"
#include "core/form1.h"
#include "platform/platform.h"

inline void name_scenario(Form1& form) {
    form.routeName = "Bresta_Vilcar";
    form.trainCode = "RX907";
}

// The compile pass consumes its documents: they are laid anew before each
// pass, the built-in ones by the form's own writers, generated ones as given.
inline void lay_documents(Form1& form, const RouteDocuments* generated) {
    if (generated == nullptr) {
        form.dati_linea();
        form.dati_treno();
    } else {
        platform::write_file(form.file_path(form.line_document_name()), generated->line);
        platform::write_file(form.file_path(form.train_document_name()), generated->train);
    }
}

// A compile that recorded an error did less work than a clean one: its time means nothing.
inline bool compiled_cleanly(benchmark::State& state, const Form1& form) {
    if (form.errorCode == 0) return true;
    state.SkipWithError(("the compile pass recorded error code " + std::to_string(form.errorCode)).c_str());
    return false;
}
