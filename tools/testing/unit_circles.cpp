#include "tools/testing/unit_circles.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <utility>

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

// The unit of a header or source ("core/format" for "core/format.h"); nothing for other files.
std::optional<std::string> unit_of(const std::string& path) {
    for (const std::string_view extension : {std::string_view(".h"), std::string_view(".cpp")}) {
        if (path.size() > extension.size() && path.ends_with(extension)) {
            return path.substr(0, path.size() - extension.size());
        }
    }
    return std::nullopt;
}

bool is_test(const std::string& unit) { return unit.ends_with("_test"); }

// Units by name, each with the units it includes and, for each of those, the
// include that makes the step (the least, so the text does not depend on the
// order the files were read in).
struct UnitGraph {
    std::vector<std::string> names;               // in name order
    std::vector<std::vector<size_t>> next;        // by index into names, in name order
    std::map<std::pair<size_t, size_t>, std::string> steps;
};

UnitGraph graph_of(const std::vector<IncludeLine>& includes) {
    struct Edge {
        std::string from, to, text;
    };
    std::vector<Edge> edges;
    std::set<std::string> units;
    for (const IncludeLine& include : includes) {
        const std::optional<std::string> from = unit_of(include.file);
        const std::optional<std::string> to = unit_of(include.header);
        if (!from || !to || *from == *to || is_test(*from) || is_test(*to)) continue;
        edges.push_back({*from, *to, include.file + " includes " + include.header});
        units.insert(*from);
        units.insert(*to);
    }
    UnitGraph graph;
    graph.names.assign(units.begin(), units.end());
    std::map<std::string, size_t> index;
    for (size_t i = 0; i < graph.names.size(); ++i) index[graph.names[i]] = i;
    std::vector<std::set<size_t>> next(graph.names.size());
    for (const Edge& edge : edges) {
        const size_t from = index.at(edge.from);
        const size_t to = index.at(edge.to);
        next[from].insert(to);
        auto [step, added] = graph.steps.emplace(std::pair{from, to}, edge.text);
        if (!added && edge.text < step->second) step->second = edge.text;
    }
    for (const std::set<size_t>& targets : next) graph.next.emplace_back(targets.begin(), targets.end());
    return graph;
}

// For each unit, the units it reaches through one include or more.
std::vector<std::vector<bool>> reach_of(const UnitGraph& graph) {
    const size_t count = graph.names.size();
    std::vector<std::vector<bool>> reach(count, std::vector<bool>(count, false));
    for (size_t start = 0; start < count; ++start) {
        std::vector<size_t> todo{start};  // besides the start, each unit enters once, when first reached
        for (size_t at = 0; at < todo.size(); ++at) {
            for (const size_t to : graph.next[todo[at]]) {
                if (reach[start][to]) continue;
                reach[start][to] = true;
                todo.push_back(to);
            }
        }
    }
    return reach;
}

// The shortest path among the units marked `inside`, from `from` to the first
// unit `wanted` accepts, without `from` itself; empty when there is none.
template <typename Wanted>
std::vector<size_t> path_to(const UnitGraph& graph, const std::vector<bool>& inside, size_t from, Wanted wanted) {
    std::vector<size_t> parent(graph.names.size(), kNone);
    std::vector<size_t> todo{from};
    for (size_t at = 0; at < todo.size(); ++at) {
        for (const size_t to : graph.next[todo[at]]) {
            if (!inside[to] || to == from || parent[to] != kNone) continue;
            parent[to] = todo[at];
            if (wanted(to)) {
                std::vector<size_t> path{to};
                while (parent[path.back()] != from && path.size() < todo.size()) path.push_back(parent[path.back()]);
                return {path.rbegin(), path.rend()};
            }
            todo.push_back(to);
        }
    }
    return {};
}

// A loop through every member once, from the first, by depth-first search;
// empty when there is none or the search runs past its bound.
std::vector<size_t> single_loop(const UnitGraph& graph, const std::vector<bool>& inside,
                                const std::vector<size_t>& members) {
    constexpr size_t kSearchSteps = 100000;
    std::vector<bool> onPath(graph.names.size(), false);
    std::vector<size_t> path{members.front()};
    std::vector<size_t> tried{0};  // for each unit of the path, how many of its includes were followed
    onPath[members.front()] = true;
    for (size_t step = 0; !path.empty() && step < kSearchSteps; ++step) {
        const std::vector<size_t>& next = graph.next[path.back()];
        if (path.size() == members.size()) {
            if (std::binary_search(next.begin(), next.end(), members.front())) return path;
        } else if (tried.back() < next.size()) {
            const size_t to = next[tried.back()++];
            if (inside[to] && !onPath[to]) {
                path.push_back(to);
                tried.push_back(0);
                onPath[to] = true;
            }
            continue;
        }
        onPath[path.back()] = false;
        path.pop_back();
        tried.pop_back();
    }
    return {};
}

// A closed walk through every member, from the first: on to the nearest unit
// not yet walked, until none is left, and back.
std::vector<size_t> nearest_first_walk(const UnitGraph& graph, const std::vector<bool>& inside,
                                       const std::vector<size_t>& members) {
    std::vector<bool> walked(graph.names.size(), false);
    std::vector<size_t> walk{members.front()};
    walked[members.front()] = true;
    for (size_t left = members.size() - 1; left > 0;) {
        const std::vector<size_t> path =
            path_to(graph, inside, walk.back(), [&](size_t unit) { return !walked[unit]; });
        if (path.empty()) break;  // the members reach one another, so a path is always found
        for (const size_t unit : path) {
            if (!walked[unit]) --left;
            walked[unit] = true;
            walk.push_back(unit);
        }
    }
    const std::vector<size_t> back =
        path_to(graph, inside, walk.back(), [&](size_t unit) { return unit == members.front(); });
    walk.insert(walk.end(), back.begin(), back.empty() ? back.end() : back.end() - 1);
    return walk;
}

// The members of one circle in include order: a single loop where there is
// one, else a walk that passes some unit more than once.
UnitCircle walk_through(const UnitGraph& graph, const std::vector<size_t>& members) {
    std::vector<bool> inside(graph.names.size(), false);
    for (const size_t unit : members) inside[unit] = true;
    std::vector<size_t> walk = single_loop(graph, inside, members);
    if (walk.empty()) walk = nearest_first_walk(graph, inside, members);
    UnitCircle circle;
    for (size_t i = 0; i < walk.size(); ++i) {
        circle.units.push_back(graph.names[walk[i]]);
        circle.steps.push_back(graph.steps.at({walk[i], walk[(i + 1) % walk.size()]}));
    }
    return circle;
}

}  // namespace

std::vector<UnitCircle> find_unit_circles(const std::vector<IncludeLine>& includes) {
    const UnitGraph graph = graph_of(includes);
    const std::vector<std::vector<bool>> reach = reach_of(graph);
    std::vector<bool> placed(graph.names.size(), false);
    std::vector<UnitCircle> circles;
    for (size_t first = 0; first < graph.names.size(); ++first) {
        // A unit that reaches itself is in a circle of two units or more, as no unit includes itself here.
        if (placed[first] || !reach[first][first]) continue;
        std::vector<size_t> members;
        for (size_t other = first; other < graph.names.size(); ++other) {
            if (reach[first][other] && reach[other][first]) {
                members.push_back(other);
                placed[other] = true;
            }
        }
        circles.push_back(walk_through(graph, members));
    }
    return circles;
}

std::string describe_circle(const UnitCircle& circle) {
    std::string text;
    for (const std::string& unit : circle.units) text += unit + " -> ";
    text += circle.units.empty() ? std::string() : circle.units.front();
    text += " (";
    for (size_t i = 0; i < circle.steps.size(); ++i) text += (i == 0 ? "" : "; ") + circle.steps[i];
    return text + ")";
}
