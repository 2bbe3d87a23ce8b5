// The include graph of the product's source folders: which folder and which
// file (a header and its sources count as one unit) includes which, the
// cycles among them and the folders that include across a layer rule.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace layout {

// One quoted include, paths relative to the root with '/' separators.
struct TInclude {
    std::string from;  // the including file
    std::string to;    // the included file
    int line = 0;
};

// Nodes are folders or units; each edge keeps the first include that made it.
struct TGraph {
    std::map<std::string, std::map<std::string, TInclude>> edges;
    void Add(const std::string& from, const std::string& to, const TInclude& why);
};

// The source files (.h, .hpp, .cpp, .cc, .inc) directly in each of `folders`
// (relative to `root`; "skin/*" stands for every folder under skin/) and
// their quoted includes that resolve, against the including file's folder,
// the root or each of `includeDirs`, to a file in one of those folders.
std::vector<TInclude> ScanIncludes(const std::filesystem::path& root, const std::vector<std::string>& folders,
                                   const std::vector<std::string>& includeDirs);

std::string FolderOf(const std::string& file);
// The file without its extension: foo.h and foo.cpp are one unit.
std::string UnitOf(const std::string& file);

// Edges between different folders, or different units.
TGraph FolderGraph(const std::vector<TInclude>& includes);
TGraph UnitGraph(const std::vector<TInclude>& includes);

// One shortest cycle through each group of nodes that reach one another,
// as its nodes in order, the first node the smallest of the group.
std::vector<std::vector<std::string>> Cycles(const TGraph& graph);
// "a -> b -> a" with the include behind each step.
std::string Describe(const std::vector<std::string>& cycle, const TGraph& graph);

// Folders by layer: a folder may include only folders on a lower layer.
// A rule that does not hold yet is listed with why it is pending; so is an
// include between two files of a known file cycle.
struct TLayers {
    std::map<std::string, int> layer;
    std::map<std::pair<std::string, std::string>, std::string> pending;       // folders -> until when
    std::map<std::pair<std::string, std::string>, std::string> pendingUnits;  // units -> until when
};

struct TViolation {
    std::string from, to;
    TInclude why;
    std::string pending;  // empty for a binding rule
};
std::vector<TViolation> Violations(const TGraph& folders, const TLayers& layers);
// The pending rules that hold now.
std::vector<std::pair<std::string, std::string>> PendingRulesThatHold(const TGraph& folders,
                                                                     const TLayers& layers);
// `graph` without the includes of pending rules (their cycles are known).
TGraph WithoutPending(const TGraph& graph, const TLayers& layers);

}  // namespace layout
