// Runs one part of the report into a file of a scratch home and returns
// what reached the file.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/cfile.h"
#include "report/xml_writer.h"
#include "tests/support/scratch_home.h"
#include "tests/support/temp_dir.h"

namespace stmtlink::testing {

struct SectionOutput {
  int result = -1;
  std::string text;
};

inline SectionOutput WriteSection(const std::function<int(XmlWriter&)>& section) {
  ScratchHome home;
  CFile file;
  XmlWriter xml;
  SectionOutput out;
  if (xml.Open(&file, "C:\\section.xml") != 0) {
    ADD_FAILURE() << "cannot open the section file";
    return out;
  }
  out.result = section(xml);
  EXPECT_EQ(xml.Close(), 0);
  out.text = ReadTextFile(home.Path("drive_c/section.xml"));
  return out;
}

// Occurrences of `part` in text.
inline int CountOf(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

} // namespace stmtlink::testing
