#pragma once

namespace qb::yarnmsg {

// The texts the yarn database and the planner show, verbatim.
inline constexpr const char* kNotFound = "Yarn database was not found.\nDo you want to try to locate the file?\n";
inline constexpr const char* kSaveAsTitle = "Save Yarn Database As";
inline constexpr const char* kDefaultFileName = "yarnDoc.txt";
inline constexpr const char* kDeleteSelected = "Delete the selected yarn?";
inline constexpr const char* kExported =
    "This yarn data has been successfully exported to a text file.\n\nYou can now open the file with any text "
    "editor and print it out,\nor merge some or all of its entries into the main yarn file.";
inline constexpr const char* kClipboardTooLarge =
    "Image too large for clipboard,\ntry zooming in or reducing overall size of the draft.";

// Failures and warnings of the yarn files; "%s" is the file's name.
inline constexpr const char* kReadFailed = "Unable to read the yarn file %s.";
inline constexpr const char* kWriteFailed = "Unable to save the yarn file %s.";
inline constexpr const char* kDamagedArchive = "This yarn file is damaged or is not a yarn archive.";
inline constexpr const char* kTooManyYarns = "Only the first 65535 yarns of this file were read.";
inline constexpr const char* kOutOfRange = "Some numbers in this yarn file were out of range (shrinkage 0 to 100 %,\n"
                                           "sett 0 to 255, no negative density) and have been brought within it.";

} // namespace qb::yarnmsg
