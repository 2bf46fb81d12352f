#pragma once

#include <nlohmann/json.hpp>

namespace qb {
class CQuillabyDoc;
}

// The draft as the JSON object that "quillaby-cli dump" prints.
nlohmann::json DraftToJson(const qb::CQuillabyDoc& doc);
