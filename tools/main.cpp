// scenario_tool: write the built-in documents, compile an author's documents
// with diagnostics, and decode compiled files.
#include <CLI/CLI.hpp>
#include <iostream>

#include "platform/platform.h"
#include "tools/commands.h"
#include "tools/explanations.h"
#include "tools/plot.h"

int main(int argc, char** argv) {
    platform::use_console_messages();
    CLI::App app{"Author, compile and inspect train-driving scenarios", "scenario_tool"};
    app.set_version_flag("--version", "scenario_tool 1.0");
    app.require_subcommand(1);

    ScenarioNames writeNames;
    std::string writeFolder;
    auto* write = app.add_subcommand("write-documents", "Write the five built-in documents into a folder");
    write->add_option("DIR", writeFolder, "Folder to write into (created if missing)")->required();
    write->add_option("--route", writeNames.route, "Route name")->capture_default_str();
    write->add_option("--train-code", writeNames.train, "Train code")->capture_default_str();

    CompileOptions compile;
    auto* comp = app.add_subcommand("compile", "Compile a line and a train description into DIR");
    comp->add_option("LINE_DOC", compile.lineDocument, "Line description document")->required();
    comp->add_option("TRAIN_DOC", compile.trainDocument, "Train description document")->required();
    comp->add_option("--out", compile.outFolder, "Folder for the compiled files")->required();
    comp->add_option("--route", compile.names.route, "Route name")->capture_default_str();
    comp->add_option("--train-code", compile.names.train, "Train code")->capture_default_str();
    bool noLineTable = false;
    comp->add_flag("--no-line-table", noLineTable, "Do not build or write the line data file");

    DumpOptions dump;
    auto* dmp = app.add_subcommand("dump", "Decode a compiled file");
    dmp->add_option("KIND", dump.what, "grid, scenario or line")
        ->required()
        ->check(CLI::IsMember({"grid", "scenario", "line"}));
    dmp->add_option("FILE", dump.file, "The compiled file")->required();
    dmp->add_flag("--all", dump.all, "Every cell, slot or metre");
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

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "scenario_tool: " << e.what() << "\nRun with --help for usage.\n";
        return kExitUsage;
    }

    if (*write) return write_documents(writeFolder, writeNames, std::cerr);
    if (*comp) {
        compile.lineTable = !noLineTable;
        return compile_documents(compile, std::cerr);
    }
    if (*plt) return plot_route(plot, std::cerr);
    if (*expl) return explain_codes(explain, std::cout, std::cerr);
    return dump_file(dump, std::cout, std::cerr);
}
