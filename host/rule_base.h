// Base of the host's cursors over company data (ClRuleKamoku and its
// siblings): attached to a set manager, a company data set (its dataId) and
// the link options before use.
#pragma once

#include <string>

class ClSetMgr;
class ClOptLink;

class ClRuleBase {
 public:
  virtual ~ClRuleBase() = default;
  long AttachSetMgr(ClSetMgr* set_mgr);
  long SetCurDataID(const char* data_id);
  long AttachOptLink(ClOptLink* opt_link);

  const std::string& CurDataID() const { return cur_data_id_; }

  // Substitute: the class name that the journal and injected failures use
  // for calls on this cursor ("ClRuleKamoku::AttachSetMgr").
  virtual const char* ClassName() const { return "ClRuleBase"; }

 protected:
  ClSetMgr* set_mgr_ = nullptr;
  ClOptLink* opt_link_ = nullptr;
  std::string cur_data_id_;
};
