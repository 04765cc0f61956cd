// Writes a line description and a train description of any route length up to
// the longest one, so that the compiler's cost can be measured on routes far
// longer than the built-in one. Both documents compile without an error code.
#pragma once

#include <cstdint>
#include <string>

// The two documents as Windows-1252 text with CR LF line ends.
struct RouteDocuments {
    std::string line;
    std::string train;
};

// Route lengths the generator accepts.
constexpr int32_t kShortestGeneratedRoute = 10000;
constexpr int32_t kLongestGeneratedRoute = 1000000;

// Most stations on one route: with eight indication boards, slots 1 to 70
// are what the scenario table leaves for stations.
constexpr int32_t kMostGeneratedStations = 70;

// A route of routeLength metres (kShortestGeneratedRoute to
// kLongestGeneratedRoute; anything else throws std::invalid_argument) with a
// curve every 2.5 km, a gradient, a speed board and two signals every 2 km, a
// montagna stretch every 12 km (at most 80), up to eight indication boards,
// a speed limit every 5 km, and a station every 2 km or more (at most 70).
RouteDocuments generate_route(int32_t routeLength);
