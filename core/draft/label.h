#pragma once

#include <string>

namespace qb {

// A text annotation above a run of threads. Labels of one row are kept sorted
// by start and never overlap.
struct Label {
    int start = 0;    // first thread, 0-based
    int length = 0;   // threads covered
    std::string text; // at most 31 characters

    int last() const { return start + length - 1; }
    bool sameAs(int s, int len) const { return start == s && length == len; }
    bool operator==(const Label&) const = default;
};

} // namespace qb
