#include "host/save_kessansho.h"

#include <cstring>

#include "host/substitute/books_db.h"
#include "host/substitute/host_call.h"
#include "host/substitute/substitute_home.h"
#include "host/host_errors.h"
#include "platform/com_memory.h"
#include "platform/text_codec.h"

long ClSaveBase::AttachSetMgr(ClSetMgr* set_mgr) {
  if (long code = stmtlink::BeginHostCall("ClSaveBase::AttachSetMgr")) return code;
  set_mgr_ = set_mgr;
  return 0;
}

long ClSaveBase::SetCurDataID(const char* data_id) {
  if (long code = stmtlink::BeginHostCall("ClSaveBase::SetCurDataID", data_id)) return code;
  cur_data_id_ = data_id ? data_id : "";
  return 0;
}

long ClSaveBase::AttachOptLink(ClOptLink* opt_link) {
  if (long code = stmtlink::BeginHostCall("ClSaveBase::AttachOptLink")) return code;
  opt_link_ = opt_link;
  return 0;
}

long ClSaveKessansho::GetDataType02(short kind, char** buffer, long* length) {
  if (buffer) *buffer = nullptr;
  if (length) *length = 0;
  if (long code = stmtlink::BeginHostCall("ClSaveKessansho::GetDataType02", kind)) return code;
  if (!buffer) return stmtlink::kHostErrorArgument;

  std::string error;
  auto books = stmtlink::CurrentBooks(&error);
  if (!books) return stmtlink::kHostErrorBooks;
  stmtlink::BooksStatement row;
  if (!books->Prepare("SELECT s.text FROM statement_setting s JOIN data_set d"
                      " ON d.data_no = s.data_no WHERE d.data_id = ?1 AND s.kind = ?2",
                      &row, &error) ||
      !row.BindText(1, stmtlink::ToUtf8(cur_data_id_), &error) ||
      !row.BindInt64(2, kind, &error))
    return stmtlink::kHostErrorBooks;
  switch (row.Next(&error)) {
    case stmtlink::BooksStatement::Step::kRow:
      break;
    case stmtlink::BooksStatement::Step::kDone:
      return stmtlink::kHostEndOfRows;
    case stmtlink::BooksStatement::Step::kError:
      return stmtlink::kHostErrorBooks;
  }
  // The books keep UTF-8; the program reads CP932.
  std::string text = stmtlink::ToCp932(row.Text(0));
  char* block = static_cast<char*>(CoTaskMemAlloc(text.size() + 1));
  if (!block) return stmtlink::kHostErrorArgument;
  std::memcpy(block, text.data(), text.size());
  block[text.size()] = '\0';
  *buffer = block;
  if (length) *length = static_cast<long>(text.size());
  return 0;
}
