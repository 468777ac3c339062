// The host's current user and the data set the user has selected.
// Substitute: host.ini [User] CurrentUserID, SelectedNo1, SelectedNo2.
#pragma once

class ClSysUser {
 public:
  // The user ID into user_id[65].
  long GetCurUserID(char* user_id);
  // The two selection numbers; the second is the selected data set's number.
  long GetSelectedNo(const char* user_id, long* first, long* second);
};
