// The host's financial-statement settings store: the texts that the user
// keeps for the closing statements (display switches, note groups, the
// notes themselves), one text per data kind.
// Substitute: the statement_setting table of the books (data_no of the data
// set named by SetCurDataID, kind, UTF-8 text).
#pragma once

#include <string>

class ClSetMgr;
class ClOptLink;

class ClSaveBase {
 public:
  virtual ~ClSaveBase() = default;
  long AttachSetMgr(ClSetMgr* set_mgr);
  long SetCurDataID(const char* data_id);
  long AttachOptLink(ClOptLink* opt_link);

 protected:
  ClSetMgr* set_mgr_ = nullptr;
  ClOptLink* opt_link_ = nullptr;
  std::string cur_data_id_; // CP932, as the program passes it
};

// The kinds of settings text (GetDataType02) that hold the notes: the
// output switches ("Note="), the display switches ("InputMode" and the
// "[Note_" groups' "Disp="), and the note records.
constexpr short kSettingsKindOutput = 0;
constexpr short kSettingsKindDisplay = 100;
constexpr short kSettingsKindNotes = 1000;

class ClSaveKessansho : public ClSaveBase {
 public:
  // The text of a data kind as a zero-terminated CP932 block that the
  // caller releases with CoTaskMemFree; *length is its length without the
  // terminator. 0 on success; on failure *buffer is null and the result is
  // the error (5000 when the data set has no text of that kind).
  long GetDataType02(short kind, char** buffer, long* length);
};
