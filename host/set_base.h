// Base of the host's data-set objects: attached to a set manager and to the
// company data that they read (its dataId).
#pragma once

#include <string>

class ClSetMgr;

class ClSetBase {
 public:
  virtual ~ClSetBase() = default;
  long AttachSetMgr(ClSetMgr* set_mgr);
  long SetCurDataID(const char* data_id);

  const std::string& CurDataID() const { return cur_data_id_; }

  // Substitute: the class name that the journal and injected failures use
  // for calls on this object ("ClSetShohizei").
  virtual const char* ClassName() const { return "ClSetBase"; }
  // Substitute state, for tests: back to the state of a fresh object.
  virtual void ResetForTesting();

 protected:
  ClSetMgr* set_mgr_ = nullptr;
  std::string cur_data_id_;
};
