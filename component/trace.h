// The skin engine's diagnostic lines. This build keeps none: a line is
// given as a printf format and its values, and nothing is ever formatted.
#pragma once

template <class... Values>
inline void SkinTrace(const char* /*format*/, const Values&... /*values*/) {}
