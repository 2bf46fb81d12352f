#pragma once

#include "core/draft/edit.h"

#include <string>

namespace qb {

class CQuillabyDoc;

// Why a label text cannot be kept in a draft file, or empty when it can: the
// file's line format reserves ';', '[', ']' and "//", and a label holds at
// most 31 characters.
std::string LabelTextProblem(const std::string& text);

// What the "Label" dialog asks for: threads from..to (1-based, as shown), the
// text, "Delete this label", and the span the dialog was opened on (0-based
// start and length; length 0 when it was not opened on a label).
struct LabelRequest {
    int from = 1;
    int to = 1;
    std::string text;
    bool remove = false;
    int oldStart = 0;
    int oldLength = 0;
};

enum class LabelOutcome { Nothing, Added, Changed, Removed, Refused };

// Applies the dialog's choice to the labels of the threading (warp) or
// treadling through the document's primitives. A label may cover a single
// thread. Refused when the text cannot be stored (see LabelTextProblem).
LabelOutcome ApplyLabelRequest(Edit src, CQuillabyDoc& doc, bool warp, const LabelRequest& req);

} // namespace qb
