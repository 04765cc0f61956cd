// make_route LENGTH LINE_DOC TRAIN_DOC: writes the generated line description
// and train description of a route of LENGTH metres, for scenario_tool compile.
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "bench/route_generator.h"
#include "platform/platform.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make_route LENGTH LINE_DOC TRAIN_DOC\n";
        return 64;
    }
    try {
        size_t used = 0;
        const long length = std::stol(argv[1], &used);
        if (used != std::string(argv[1]).size() || length < kShortestGeneratedRoute || length > kLongestGeneratedRoute)
            throw std::invalid_argument(std::string("route length ") + argv[1]);
        const RouteDocuments docs = generate_route(static_cast<int32_t>(length));
        platform::write_file(argv[2], docs.line);
        platform::write_file(argv[3], docs.train);
        return 0;
    } catch (const platform::RunTimeFailure& failure) {
        platform::report_failure(failure);
        return 3;
    } catch (const std::exception& e) {
        std::cerr << "make_route: " << e.what() << " (a whole number from " << kShortestGeneratedRoute << " to "
                  << kLongestGeneratedRoute << ")\n";
        return 64;
    }
}
