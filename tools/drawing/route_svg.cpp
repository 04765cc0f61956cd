#include "tools/drawing/route_svg.h"

#include "tools/drawing/plan_drawing.h"
#include "tools/drawing/plot_style.h"
#include "tools/drawing/profile_drawing.h"
#include "tools/drawing/svg_writer.h"

using namespace plot_style;

namespace {

std::string summary(const RouteModel& model) {
    auto count = [](size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    return "Route length " + svg_number(model.routeLength / 1000.0, 2) + " km \xC2\xB7 " +
           count(model.stations.size(), "station", "stations") + " \xC2\xB7 " +
           count(model.signals.size(), "signal", "signals") + " \xC2\xB7 " +
           count(model.boards.size(), "indication board", "indication boards") + " \xC2\xB7 " +
           count(model.speedBoards.size(), "speed board", "speed boards");
}

}  // namespace

std::string render_route_svg(const RouteModel& model) {
    SvgWriter svg(kWidth);
    svg.open_group(SvgWriter::attr("font-family", kFonts) + SvgWriter::attr("fill", kInk));
    const std::string route = model.route.empty() ? "(unnamed route)" : model.route;
    const std::string train = model.train.empty() ? "(no train code)" : model.train;
    svg.text({kMargin, 34}, route + " \xE2\x80\x94 train " + train,
             SvgWriter::attr("id", "title") + SvgWriter::attr("font-size", "22") + SvgWriter::attr("font-weight", "bold"));
    svg.text({kMargin, 56}, summary(model), SvgWriter::attr("id", "summary") + SvgWriter::attr("font-size", "13") +
                                                SvgWriter::attr("fill", kMuted));
    double y = 70;
    if (model.line.present()) {
        y += draw_plan(svg, model, y) + 12;
    } else {
        svg.text({kMargin, y + 14}, "No line data file: the plan of the line is left out.",
                 SvgWriter::attr("id", "no-plan") + SvgWriter::attr("font-size", "12") +
                     SvgWriter::attr("font-style", "italic") + SvgWriter::attr("fill", kMuted));
        y += 28;
    }
    y += draw_profile(svg, model, y);
    return svg.finish(y + 12);
}
