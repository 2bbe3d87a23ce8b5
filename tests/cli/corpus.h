// The shared corpus for the tests that read it: a missing corpus fails
// those tests under CI (CI=true) and skips them elsewhere. Their suites'
// names start with "Corpus", which the build runs as a test of its own.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace srt::test {

inline std::filesystem::path CorpusRoot() { return std::filesystem::path(SRT_CORPUS_DIR) / "srt"; }

inline bool CorpusMissing() { return !std::filesystem::is_directory(CorpusRoot()); }

inline bool UnderCI() {
    const char* ci = std::getenv("CI");
    return ci && std::string_view(ci) == "true";
}

}  // namespace srt::test

#define SKIP_OR_FAIL_WITHOUT_CORPUS()                                                      \
    if (srt::test::CorpusMissing()) {                                                      \
        if (srt::test::UnderCI()) FAIL() << "no corpus in " << srt::test::CorpusRoot();    \
        GTEST_SKIP() << "no corpus in " << srt::test::CorpusRoot();                        \
    }
