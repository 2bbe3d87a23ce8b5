#include <gtest/gtest.h>

#include <fstream>
#include <iostream>

#include "tests/layout/includegraph.h"

namespace fs = std::filesystem;

namespace layout {
namespace {

const std::vector<std::string> kProductFolders = {"app", "app/core", "app/cli", "component", "skin/*", "image",
                                                  "gallery"};
// app/core's headers are included as "core/..." by the application.
const std::vector<std::string> kIncludeDirs = {"app"};

// Lowest first. A folder includes only folders of lower layers; folders on
// one layer are peers and include neither way.
TLayers ProductLayers() {
    TLayers l;
    l.layer = {
        {"component", 0},
        {"app/core", 1}, {"image", 1}, {"skin/thunk", 1}, {"skin/data", 1}, {"skin/ncarea", 1},
        {"app/cli", 2}, {"skin/draw", 2},
        {"skin/manager", 3},
        {"skin/controls", 4}, {"skin/menu", 4},
        {"skin/form", 5},
        {"app", 6}, {"gallery", 6},
    };
    return l;
}

std::string Report(const std::vector<TViolation>& violations, bool pending) {
    std::string text;
    for (const TViolation& v : violations)
        if (v.pending.empty() != pending)
            text += v.from + " must not include " + v.to + " (" + v.why.from + ":" + std::to_string(v.why.line) +
                    " includes " + v.why.to + ")" + (pending ? ": pending, " + v.pending : "") + "\n";
    return text;
}

class Product : public ::testing::Test {
protected:
    void SetUp() override {
        includes = ScanIncludes(SRT_SOURCE_DIR, kProductFolders, kIncludeDirs);
        ASSERT_FALSE(includes.empty());
    }
    std::vector<TInclude> includes;
    TLayers layers = ProductLayers();
};

TEST_F(Product, NoFolderIncludesAcrossItsLayer) {
    const TGraph folders = FolderGraph(includes);
    const std::vector<TViolation> found = Violations(folders, layers);
    EXPECT_EQ(Report(found, false), "") << "folders without a layer must be given one in ProductLayers";
    if (const std::string pending = Report(found, true); !pending.empty()) std::cout << pending;
    for (const auto& [from, to] : PendingRulesThatHold(folders, layers))
        std::cout << "pending rule " << from << " -> " << to << " holds now: make it binding\n";
}

TEST_F(Product, NoFolderCycles) {
    const TGraph folders = WithoutPending(FolderGraph(includes), layers);
    std::string text;
    for (const auto& cycle : Cycles(folders)) text += Describe(cycle, folders) + "\n";
    EXPECT_EQ(text, "");
}

TEST_F(Product, NoFileCycles) {
    const TGraph all = UnitGraph(includes);
    for (const auto& [edge, until] : layers.pendingUnits)
        if (all.edges.count(edge.first) && all.edges.at(edge.first).count(edge.second))
            std::cout << edge.first << " -> " << edge.second << ": pending, " << until << "\n";
        else
            std::cout << "pending include " << edge.first << " -> " << edge.second << " has gone: drop it\n";
    const TGraph units = WithoutPending(all, layers);
    std::string text;
    for (const auto& cycle : Cycles(units)) text += Describe(cycle, units) + "\n";
    EXPECT_EQ(text, "");
}

// A scratch tree of folders and files.
class Tree : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("layout_test_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
    }
    void TearDown() override { fs::remove_all(root); }
    void File(const std::string& path, const std::string& text) {
        fs::create_directories((root / path).parent_path());
        std::ofstream(root / path) << text;
    }
    fs::path root;
};

TEST_F(Tree, IncludesResolveAgainstTheFileTheRootAndTheIncludeFolders) {
    File("lib/a.h", "#pragma once\n");
    File("lib/a.cpp", "#include \"a.h\"\n#include <vector>\n  #  include \"core/c.h\"\n#include \"gen/made.h\"\n");
    File("app/core/c.h", "#include \"lib/a.h\"\n");
    File("tests/t.cpp", "#include \"lib/a.h\"\n");  // not a product folder
    File("other/o.h", "");
    File("lib/b.cpp", "#include \"other/o.h\"\n");  // a folder outside the list
    const auto found = ScanIncludes(root, {"lib", "app/core"}, {"app"});
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].from, "lib/a.cpp");
    EXPECT_EQ(found[0].to, "lib/a.h");
    EXPECT_EQ(found[1].to, "app/core/c.h");
    EXPECT_EQ(found[1].line, 3);
    EXPECT_EQ(found[2].from, "app/core/c.h");
}

TEST_F(Tree, CyclesAreNamedWithTheIncludesBehindThem) {
    File("skin/low/x.h", "");
    File("skin/mid/m.h", "#include \"skin/low/x.h\"\n");
    File("skin/mid/m.cpp", "#include \"skin/mid/m.h\"\n#include \"skin/top/t.h\"\n");
    File("skin/top/t.h", "#include \"skin/mid/m.h\"\n");
    File("skin/top/u.h", "#include \"skin/top/t.h\"\n");
    File("skin/top/t.cpp", "#include \"skin/top/u.h\"\n");
    const auto includes = ScanIncludes(root, {"skin/*"}, {});
    const TGraph folders = FolderGraph(includes);
    const auto cycles = Cycles(folders);
    ASSERT_EQ(cycles.size(), 1u);
    EXPECT_EQ(Describe(cycles[0], folders),
              "skin/mid -> skin/top (skin/mid/m.cpp:2 includes skin/top/t.h)\n"
              "skin/top -> skin/mid (skin/top/t.h:1 includes skin/mid/m.h)\n");
    // Files: m and t include each other, and so do t and u (t.cpp includes
    // u.h, which includes t.h): one group, named by its shortest cycle.
    const auto units = Cycles(UnitGraph(includes));
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(units[0], (std::vector<std::string>{"skin/mid/m", "skin/top/t"}));
    const TGraph unitGraph = UnitGraph(includes);
    EXPECT_TRUE(unitGraph.edges.at("skin/top/t").count("skin/top/u"));
    EXPECT_TRUE(unitGraph.edges.at("skin/top/u").count("skin/top/t"));
}

TEST_F(Tree, LayerRulesBindPendingRulesReportAndUnlistedFoldersFail) {
    File("a/a.h", "#include \"b/b.h\"\n");
    File("b/b.h", "#include \"a/a.h\"\n#include \"c/c.h\"\n");
    File("c/c.h", "");
    const TGraph folders = FolderGraph(ScanIncludes(root, {"a", "b", "c"}, {}));
    TLayers l;
    l.layer = {{"a", 2}, {"b", 1}};
    l.pending = {{{"b", "a"}, "until later"}, {{"a", "c"}, "until the end"}};
    const auto found = Violations(folders, l);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].from, "b");
    EXPECT_EQ(found[0].to, "a");
    EXPECT_EQ(found[0].pending, "until later");
    EXPECT_EQ(found[1].to, "c");  // c has no layer
    EXPECT_EQ(found[1].pending, "");
    EXPECT_EQ(PendingRulesThatHold(folders, l), (std::vector<std::pair<std::string, std::string>>{{"a", "c"}}));
    EXPECT_TRUE(Cycles(WithoutPending(folders, l)).empty());
    EXPECT_EQ(Cycles(folders).size(), 1u);
}

}  // namespace
}  // namespace layout
