#include "tests/layout/includegraph.h"

#include <algorithm>
#include <deque>
#include <fstream>
#include <functional>
#include <regex>
#include <set>

namespace fs = std::filesystem;

namespace layout {
namespace {

bool IsSource(const fs::path& p) {
    static const std::set<std::string> kinds = {".h", ".hpp", ".cpp", ".cc", ".inc"};
    return kinds.count(p.extension().string()) != 0;
}

std::string Relative(const fs::path& root, const fs::path& p) {
    return p.lexically_normal().lexically_relative(root.lexically_normal()).generic_string();
}

std::vector<std::string> ExpandFolders(const fs::path& root, const std::vector<std::string>& folders) {
    std::vector<std::string> out;
    for (const std::string& f : folders) {
        if (f.size() > 2 && f.ends_with("/*")) {
            const fs::path parent = root / f.substr(0, f.size() - 2);
            std::vector<std::string> subs;
            if (fs::is_directory(parent))
                for (const auto& e : fs::directory_iterator(parent))
                    if (e.is_directory()) subs.push_back(Relative(root, e.path()));
            std::sort(subs.begin(), subs.end());
            out.insert(out.end(), subs.begin(), subs.end());
        } else {
            out.push_back(f);
        }
    }
    return out;
}

}  // namespace

void TGraph::Add(const std::string& from, const std::string& to, const TInclude& why) {
    if (from == to) return;
    edges[from].emplace(to, why);
    edges.try_emplace(to);
}

std::string FolderOf(const std::string& file) {
    const auto slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : file.substr(0, slash);
}

std::string UnitOf(const std::string& file) {
    const auto dot = file.rfind('.');
    const auto slash = file.rfind('/');
    return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? file : file.substr(0, dot);
}

std::vector<TInclude> ScanIncludes(const fs::path& root, const std::vector<std::string>& folders,
                                   const std::vector<std::string>& includeDirs) {
    const std::vector<std::string> product = ExpandFolders(root, folders);
    const std::set<std::string> productSet(product.begin(), product.end());
    static const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    std::vector<TInclude> out;
    for (const std::string& folder : product) {
        const fs::path dir = root / folder;
        if (!fs::is_directory(dir)) continue;
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(dir))
            if (e.is_regular_file() && IsSource(e.path())) files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            std::ifstream in(file);
            std::string text;
            for (int n = 1; std::getline(in, text); ++n) {
                std::smatch m;
                if (!std::regex_search(text, m, include)) continue;
                std::vector<fs::path> candidates = {dir / m[1].str(), root / m[1].str()};
                for (const std::string& d : includeDirs) candidates.push_back(root / d / m[1].str());
                for (const fs::path& c : candidates) {
                    if (!fs::is_regular_file(c)) continue;
                    const std::string target = Relative(root, c);
                    if (productSet.count(FolderOf(target))) out.push_back({Relative(root, file), target, n});
                    break;
                }
            }
        }
    }
    return out;
}

TGraph FolderGraph(const std::vector<TInclude>& includes) {
    TGraph g;
    for (const TInclude& i : includes) g.Add(FolderOf(i.from), FolderOf(i.to), i);
    return g;
}

TGraph UnitGraph(const std::vector<TInclude>& includes) {
    TGraph g;
    for (const TInclude& i : includes) g.Add(UnitOf(i.from), UnitOf(i.to), i);
    return g;
}

std::vector<std::vector<std::string>> Cycles(const TGraph& graph) {
    // Tarjan's strongly connected components.
    std::map<std::string, int> index, low;
    std::vector<std::string> stack;
    std::set<std::string> onStack;
    std::vector<std::set<std::string>> groups;
    int next = 0;
    std::function<void(const std::string&)> visit = [&](const std::string& v) {
        index[v] = low[v] = next++;
        stack.push_back(v);
        onStack.insert(v);
        for (const auto& [w, why] : graph.edges.at(v)) {
            if (!index.count(w)) {
                visit(w);
                low[v] = std::min(low[v], low[w]);
            } else if (onStack.count(w)) {
                low[v] = std::min(low[v], index[w]);
            }
        }
        if (low[v] != index[v]) return;
        std::set<std::string> group;
        std::string w;
        do {
            w = stack.back();
            stack.pop_back();
            onStack.erase(w);
            group.insert(w);
        } while (w != v);
        if (group.size() > 1) groups.push_back(std::move(group));
    };
    for (const auto& [v, out] : graph.edges)
        if (!index.count(v)) visit(v);

    // The shortest way from the group's first node back to it, inside the group.
    std::vector<std::vector<std::string>> cycles;
    for (const auto& group : groups) {
        const std::string& start = *group.begin();
        std::map<std::string, std::string> parent;
        std::deque<std::string> queue;
        std::string last;
        for (const auto& [w, why] : graph.edges.at(start))
            if (group.count(w) && !parent.count(w)) parent[w] = start, queue.push_back(w);
        while (!queue.empty() && last.empty()) {
            const std::string v = queue.front();
            queue.pop_front();
            for (const auto& [w, why] : graph.edges.at(v)) {
                if (w == start) {
                    last = v;
                    break;
                }
                if (group.count(w) && !parent.count(w)) parent[w] = v, queue.push_back(w);
            }
        }
        std::vector<std::string> cycle;
        for (std::string v = last; v != start; v = parent.at(v)) cycle.push_back(v);
        cycle.push_back(start);
        std::reverse(cycle.begin(), cycle.end());
        cycles.push_back(std::move(cycle));
    }
    return cycles;
}

std::string Describe(const std::vector<std::string>& cycle, const TGraph& graph) {
    std::string text;
    for (std::size_t i = 0; i < cycle.size(); ++i) {
        const std::string& from = cycle[i];
        const std::string& to = cycle[(i + 1) % cycle.size()];
        const TInclude& why = graph.edges.at(from).at(to);
        text += from + " -> " + to + " (" + why.from + ":" + std::to_string(why.line) + " includes " + why.to +
                ")\n";
    }
    return text;
}

std::vector<TViolation> Violations(const TGraph& folders, const TLayers& layers) {
    std::vector<TViolation> out;
    for (const auto& [from, targets] : folders.edges) {
        for (const auto& [to, why] : targets) {
            const auto a = layers.layer.find(from), b = layers.layer.find(to);
            // A folder without a layer is a new folder: it must be given one.
            if (a != layers.layer.end() && b != layers.layer.end() && a->second > b->second) continue;
            const auto p = layers.pending.find({from, to});
            out.push_back({from, to, why, p == layers.pending.end() ? std::string() : p->second});
        }
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> PendingRulesThatHold(const TGraph& folders,
                                                                     const TLayers& layers) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& [rule, until] : layers.pending) {
        const auto e = folders.edges.find(rule.first);
        if (e == folders.edges.end() || !e->second.count(rule.second)) out.push_back(rule);
    }
    return out;
}

TGraph WithoutPending(const TGraph& graph, const TLayers& layers) {
    TGraph out;
    for (const auto& [from, targets] : graph.edges) {
        out.edges.try_emplace(from);
        for (const auto& [to, why] : targets)
            if (!layers.pending.count({FolderOf(why.from), FolderOf(why.to)}) &&
                !layers.pendingUnits.count({UnitOf(why.from), UnitOf(why.to)}))
                out.Add(from, to, why);
    }
    return out;
}

}  // namespace layout
