#include "skin/manager/formrules.h"

#include <gtest/gtest.h>

namespace srt {
namespace {

TSkinWindowFacts Plain() {
    TSkinWindowFacts f;
    f.managerActive = true;
    f.width = 300;
    f.height = 200;
    f.isForm = true;
    f.className = "TMainForm";
    return f;
}

TEST(AcceptFormClass, BuiltInRefusals) {
    const TSkinControls all = TSkinControls::Default();
    EXPECT_TRUE(AcceptFormClass("TMainForm", all));
    EXPECT_FALSE(AcceptFormClass("SysMonthCal32", all));
    EXPECT_TRUE(AcceptFormClass("sysmonthcal32", all));  // exact match only
    EXPECT_TRUE(AcceptFormClass("TfrDesigner", all));    // needs xcFastReport
    TSkinControls fr = all;
    fr.Include(xcFastReport);
    EXPECT_FALSE(AcceptFormClass("TfrDesigner", fr));
    EXPECT_TRUE(AcceptFormClass("TFRDesigner", fr));     // case-sensitive prefix
}

TEST(AcceptFormClass, FilterAloneDecides) {
    std::string seen;
    auto refuseAll = [&](std::string_view name, bool& doSkin) {
        seen = name;
        EXPECT_TRUE(doSkin);
        doSkin = false;
    };
    EXPECT_FALSE(AcceptFormClass("TMainForm", TSkinControls::Default(), refuseAll));
    EXPECT_EQ(seen, "TMainForm");
    auto acceptAll = [](std::string_view, bool&) {};
    EXPECT_TRUE(AcceptFormClass("SysMonthCal32", TSkinControls::Default(), acceptAll));
}

TEST(CheckSkinWindow, TestsRunInOrder) {
    EXPECT_EQ(CheckSkinWindow(Plain()), TSkinRefusal::None);
    auto f = Plain();
    f.managerActive = false;
    f.width = 0;  // the first failing test is reported
    EXPECT_EQ(CheckSkinWindow(f), TSkinRefusal::NotActive);
    f = Plain();
    f.answersQuery = true;
    EXPECT_EQ(CheckSkinWindow(f), TSkinRefusal::AlreadySkinned);
    f = Plain();
    f.hasFormSkin = true;
    EXPECT_EQ(CheckSkinWindow(f), TSkinRefusal::AlreadySkinned);
    f = Plain();
    f.height = 0;
    EXPECT_EQ(CheckSkinWindow(f), TSkinRefusal::ZeroSize);
    f = Plain();
    f.width = 70000;
    f.height = 70000;  // the product does not fit 32 bits
    EXPECT_EQ(CheckSkinWindow(f), TSkinRefusal::None);
    f = Plain();
    f.formTag = 99;
    EXPECT_EQ(CheckSkinWindow(f), TSkinRefusal::FormTag99);
    f.formTag = 199;  // only exactly 99
    EXPECT_EQ(CheckSkinWindow(f), TSkinRefusal::None);
    f = Plain();
    f.isForm = false;
    f.formTag = 99;  // not a form: its tag is not read
    f.className = "TApplication";
    EXPECT_EQ(CheckSkinWindow(f), TSkinRefusal::Application);
    f.className = "tapplication";
    EXPECT_EQ(CheckSkinWindow(f), TSkinRefusal::None);
}

TEST(CheckSkinWindow, ChildWindowsOnlyInScansOrInMdiClients) {
    auto f = Plain();
    f.isChild = true;
    f.parentClassName = "TPanel";
    EXPECT_EQ(CheckSkinWindow(f), TSkinRefusal::ChildWindow);
    f.parentClassName = "MDIClient";
    EXPECT_EQ(CheckSkinWindow(f), TSkinRefusal::None);
    f.parentClassName = "TPanel";
    f.scanning = true;
    EXPECT_EQ(CheckSkinWindow(f), TSkinRefusal::None);
}

TEST(SelectSkinData, PrefersOwnerThenDialogThenMainKeepingTheLast) {
    EXPECT_EQ(SelectSkinData({}, 1, "TForm1"), -1);
    std::vector<TSkinDataCandidate> datas{
        {sfDialog, false, 0},      // 0
        {sfMainform, false, 0},    // 1
        {sfOnlyThisForm, true, 7}, // 2
        {sfMainform, false, 0},    // 3
        {sfDialog, false, 0},      // 4
    };
    EXPECT_EQ(SelectSkinData(datas, 7, "TForm1"), 2);
    EXPECT_EQ(SelectSkinData(datas, 8, "TForm1"), 3);
    EXPECT_EQ(SelectSkinData(datas, 8, "#32770"), 4);
    EXPECT_EQ(SelectSkinData(datas, 8, "TMESSAGEFORM"), 4);
    datas.pop_back();
    datas.erase(datas.begin());
    EXPECT_EQ(SelectSkinData(datas, 8, "#32770"), 2);  // no dialog data: the main one
    std::vector<TSkinDataCandidate> onlyOthers{{sfOnlyThisForm, true, 5}, {sfDialog, false, 0}};
    EXPECT_EQ(SelectSkinData(onlyOthers, 8, "TForm1"), 0);  // the first registered
}

TEST(SkinControls, DefaultHoldsAllButFastReport) {
    const auto d = TSkinControls::Default();
    for (int e = xcMainMenu; e <= xcSystemMenu; ++e) EXPECT_TRUE(d.Has(TSkinControlType(e))) << e;
    EXPECT_FALSE(d.Has(xcFastReport));
}

}  // namespace
}  // namespace srt
