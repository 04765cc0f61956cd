#include "tools/pass/compile_pass.h"

#include "core/run_end.h"

// The form's program folder is the current folder, which a pass from memory
// never uses: were a file ever touched, it would be there for the tests to see.
CompilePass::CompilePass(const PassSettings& settings) : settings_(settings), form_(".") {
    form_.routeName = settings.names.route;
    form_.trainCode = settings.names.train;
    form_.trace.on = settings.trace;
    form_.erroreBox = settings.messageBox;
    form_.inMemory.on = true;
}

void CompilePass::set_trace(bool on) {
    settings_.trace = on;
    form_.trace.on = on;
}

void CompilePass::set_message_box(bool on) {
    settings_.messageBox = on;
    form_.erroreBox = on;
}

const PassEnd& CompilePass::run(const PassDocuments& documents) {
    end_ = PassEnd{};
    form_.inMemory.line = documents.line ? &*documents.line : nullptr;
    form_.inMemory.train = documents.train ? &*documents.train : nullptr;
    try {
        form_.prepara_percorso(settings_.lineTable ? 1 : 0);
        if (settings_.compiledFiles) {
            end_.files = encode_compiled_files(form_, settings_.lineDataBytes, settings_.gridBytes);
        } else {
            // Once the pass went through, only a caption too long for the
            // scenario file can stop the writing of the compiled files.
            encode_scenario(form_.scenario);
        }
    } catch (const ProgramEnd&) {
        end_.errore = true;
    } catch (const platform::RunTimeFailure& failure) {
        end_.failure = failure;
    }
    // The texts are the caller's; the form keeps no hold of them between runs.
    form_.inMemory.line = nullptr;
    form_.inMemory.train = nullptr;
    return end_;
}
