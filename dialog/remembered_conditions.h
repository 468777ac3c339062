// The remembered conditions: the months, equity-statement kind, ledger
// option and output path that a user last executed successfully, per host
// user and selected data set, in one text file shared by all users (the
// edition's settings file in the host's settings folder, folder type 1).
//
// Format: CP932 bytes, one record a line, each ended by a line feed:
//   <user>/<selection 1>/<selection 2>:<from>/<to>/<kind>/<ledger>/<path>
// An older form without the ledger field (from/to/kind/path) reads with
// ledger 1. The path is always the text after the last "/", which a valid
// path cannot contain. Records of other keys stay as they are, in order.
//
// A save is a read-modify-write under a lock file beside the settings file
// (so two programs saving at once lose nothing), and replaces the file
// atomically (a new file beside it, put on the disk, then renamed over it),
// so a failed save or a crash leaves the earlier file whole. The lock and
// new files are created exclusively and never through a symbolic link. Files of any size are handled, as is a
// last record without its line feed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace stmtlink {

struct ConditionsRecord {
  std::int16_t from = 0;
  std::int16_t to = 0;
  std::int16_t kind = 0;
  std::int32_t ledger = 0;
  std::string path; // CP932
};

// "<user>/<selection 1>/<selection 2>:". Not cut to the 50 characters the
// host's IDs keep to: a longer key stays whole, so it can never match the
// record of another user.
std::string ConditionsKey(std::string_view user_id, long selection1, long selection2);

// The settings file: the host's folder of type 1 with the edition's file
// name appended as the host returns the folder (no separator added); empty
// when the host has no such folder.
std::string SettingsFilePath();

// The value of the first record of key in content (the text after the key
// up to its line feed, or the end of the content; at most 511 bytes); false
// when no line starts with the key.
bool FindConditionsValue(std::string_view content, std::string_view key, std::string* value);
// Splits a value of either form. Numbers are read as leading decimal
// digits; nothing else is checked.
void ParseConditionsValue(std::string_view value, ConditionsRecord* record);
// content without the records of key, followed by the new record; a last
// record without a line feed gets one first.
std::string ReplaceConditionsRecord(std::string_view content, std::string_view key,
                                    const ConditionsRecord& record);

// Reads the record of key from the settings file; false when there is no
// file, it cannot be read, or it has no record of key.
bool LoadConditionsRecord(std::string_view key, ConditionsRecord* record);
// Writes the record of key (creating the settings folder when missing);
// false when anything failed, the earlier file then being unchanged.
bool SaveConditionsRecord(std::string_view key, const ConditionsRecord& record);

} // namespace stmtlink
