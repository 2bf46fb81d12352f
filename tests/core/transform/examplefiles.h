#pragma once

// The files the command table's examples name ("{draft}", "{picture}",
// "{structure}"), written into the test's temporary folder.
#include "core/transform/commandtable.h"

#include <string>

namespace qbtest {

using namespace qb;

struct ExampleFiles {
    std::string draft;     // another draft to combine with or import from
    std::string picture;   // a liftplan picture: every third pixel dark
    std::string structure; // a four-block unit weave
};

// `stem` names the files; `other` is written as the draft.
ExampleFiles WriteExampleFiles(CQuillabyDoc& other, const std::string& stem);
// The example with its placeholders replaced by the files.
CommandArgs FillExample(const CommandArgs& example, const ExampleFiles& files);
// "repeat-threading 3", for traces.
std::string Describe(const CommandEntry& entry, const CommandArgs& args);

} // namespace qbtest
