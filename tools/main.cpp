// scenario_tool: write the built-in documents, compile an author's documents
// with diagnostics, and decode compiled files.
#include <CLI/CLI.hpp>
#include <iostream>

#include "platform/platform.h"
#include "tools/check.h"
#include "tools/commands.h"
#include "tools/explanations.h"
#include "tools/plot.h"
#include "tools/serve.h"
#include "tools/version.h"

namespace {

// The commands with what each does, and how to learn more.
std::string command_list(CLI::App& app) {
    std::string text = "usage: scenario_tool COMMAND ...\ncommands:\n";
    for (const CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
        std::string name = command->get_name();
        text += "  " + name + std::string(name.size() < 17 ? 17 - name.size() : 1, ' ') +
                command->get_description() + "\n";
    }
    return text + "Run 'scenario_tool help COMMAND' for the arguments and options of one command.\n";
}

}  // namespace

int main(int argc, char** argv) {
    platform::use_console_messages();
    platform::binary_standard_streams();
    CLI::App app{"Author, compile and inspect train-driving scenarios", "scenario_tool"};
    app.set_version_flag("--version", std::string("scenario_tool ") + kScenarioVersion);
    app.require_subcommand(1);

    WriteOptions write;
    auto* wrt = app.add_subcommand("write-documents", "Write the five built-in documents into a folder");
    wrt->add_option("DIR", write.folder, "Folder to write into (created if missing)")->required();
    wrt->add_option("--route", write.names.route, "Route name")->capture_default_str();
    wrt->add_option("--train-code", write.names.train, "Train code")->capture_default_str();
    wrt->add_flag("--force", write.force, "Overwrite documents that are already in the folder");

    CompileOptions compile;
    auto* comp = app.add_subcommand("compile", "Compile a line and a train description into DIR");
    comp->add_option("LINE_DOC", compile.lineDocument, "Line description document")->required();
    comp->add_option("TRAIN_DOC", compile.trainDocument, "Train description document")->required();
    comp->add_option("--out", compile.outFolder,
                     "Folder for the compiled files (earlier compiled files of the route and train there are removed)")
        ->required();
    comp->add_option("--route", compile.names.route, "Route name")->capture_default_str();
    comp->add_option("--train-code", compile.names.train, "Train code")->capture_default_str();
    bool noLineTable = false;
    comp->add_flag("--no-line-table", noLineTable, "Do not build or write the line data file");

    CheckOptions check;
    auto* chk = app.add_subcommand("check", "Report every error and warning of a line and a train description");
    chk->add_option("LINE_DOC", check.lineDocument, "Line description document")->required();
    chk->add_option("TRAIN_DOC", check.trainDocument, "Train description document")->required();
    chk->add_option("--route", check.names.route, "Route name")->capture_default_str();
    chk->add_option("--train-code", check.names.train, "Train code")->capture_default_str();
    chk->add_option("--format", check.format, "text, json or sarif")
        ->capture_default_str()
        ->check(CLI::IsMember({"text", "json", "sarif"}));
    chk->add_flag("--werror", check.werror, "Fail on warnings too");
    chk->add_option("--max-errors", check.maxErrors, "Stop after this many errors")
        ->capture_default_str()
        ->check(CLI::Range(1, 1000000));

    DumpOptions dump;
    auto* dmp = app.add_subcommand("dump", "Show a compiled file as text, JSON or CSV");
    dmp->add_option("KIND", dump.what, "grid, scenario or line")
        ->required()
        ->check(CLI::IsMember({"grid", "scenario", "line"}));
    dmp->add_option("FILE", dump.file, "The compiled file")->required();
    dmp->add_flag("--all", dump.all, "Every cell, slot or metre");
    dmp->add_flag("--raw", dump.raw, "The stored fields of grid cells and scenario slots, not their meanings");
    dmp->add_option("--format", dump.format, "text, json or csv")
        ->capture_default_str()
        ->check(CLI::IsMember({"text", "json", "csv"}));

    PlotOptions plot;
    auto* plt = app.add_subcommand("plot", "Draw the compiled route of DIR as one SVG picture");
    plt->add_option("DIR", plot.folder, "Folder with the compiled files")->required();
    plt->add_option("--out", plot.outFile, "The SVG file to write")->required();
    plt->add_option("--route", plot.names.route, "Route name")->capture_default_str();
    plt->add_option("--train-code", plot.names.train, "Train code")->capture_default_str();

    ExplainOptions explain;
    auto* expl = app.add_subcommand("explain", "Explain error and warning codes: what they mean and how to fix them");
    expl->add_option("CODE", explain.codes, "Codes such as 6 or W101");
    expl->add_flag("--list", explain.list, "List every code with its title");
    expl->add_flag("--all", explain.all, "Explain every code");
    expl->add_flag("--markdown", explain.markdown, "Write Markdown (the page docs/explanations.md)");

    std::string helpTopic;
    auto* hlp = app.add_subcommand("help", "List the commands, or show one command's arguments and options");
    hlp->add_option("COMMAND", helpTopic, "The command to explain");

    ServeOptions serve;
    auto* srv = app.add_subcommand("serve", "Preview the route in the browser, compiled again on every save");
    srv->add_option("LINE_DOC", serve.lineDocument, "Line description document")->required();
    srv->add_option("TRAIN_DOC", serve.trainDocument, "Train description document")->required();
    srv->add_option("--port", serve.port, "Port to listen on (0: any free port)")
        ->capture_default_str()
        ->check(CLI::Range(0, 65535));
    srv->add_option("--host", serve.host, "Address to listen on")->capture_default_str();
    srv->add_option("--route", serve.names.route, "Route name")->capture_default_str();
    srv->add_option("--train-code", serve.names.train, "Train code")->capture_default_str();

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        if (app.get_subcommands().empty()) {
            // No command, or one that does not exist: show the ones there are.
            if (argc == 1) std::cerr << "scenario_tool: give one of the commands below\n";
            else if (argv[1][0] != '-') std::cerr << "scenario_tool: unknown command '" << argv[1] << "'\n";
            else std::cerr << "scenario_tool: " << e.what() << '\n';
            std::cerr << command_list(app);
        } else {
            std::cerr << "scenario_tool: " << e.what() << "\nRun with --help for usage.\n";
        }
        return kExitUsage;
    }

    if (*hlp) {
        if (helpTopic.empty()) {
            std::cout << command_list(app);
            return 0;
        }
        try {
            std::cout << app.get_subcommand(helpTopic)->help();
            return 0;
        } catch (const CLI::OptionNotFound&) {
            std::cerr << "scenario_tool: unknown command '" << helpTopic << "'\n" << command_list(app);
            return kExitUsage;
        }
    }
    if (*wrt) return write_documents(write, std::cout, std::cerr);
    if (*comp) {
        compile.lineTable = !noLineTable;
        return compile_documents(compile, std::cout, std::cerr);
    }
    if (*plt) return plot_route(plot, std::cout, std::cerr);
    if (*expl) return explain_codes(explain, std::cout, std::cerr);
    if (*srv) return serve_preview(serve, std::cout, std::cerr);
    if (*chk) return check_documents(check, std::cout, std::cerr);
    return dump_file(dump, std::cout, std::cerr);
}
