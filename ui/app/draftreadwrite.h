#pragma once

#include <QString>

namespace qb {

class CMainFrame;

// The reader's and writer's messages and questions, shown by the main window.
class CQuillabyDoc;
struct NewDraftDefaults;

// Reads a .wif or .qlb file into `doc`; `defaults` are what a new draft would
// get (the reader takes from them what the file does not say). On failure
// `error` is the message the weaver sees, or empty when the reader has told
// them already.
bool ReadDraftFile(const QString& path, const NewDraftDefaults& defaults, CQuillabyDoc& doc, QString& error);
// Writes the draft (format by extension), stamping the date; false and
// `error` on failure.
bool WriteDraftFile(const QString& path, CQuillabyDoc& doc, QString& error);

} // namespace qb
