// The report's bytes on their way to the XML parser. The report is
// Shift_JIS (code page 932) with CR LF line ends; this input reads the file
// in blocks, checks every byte sequence and every line end as it passes,
// and hands the parser the same text as UTF-8, so that the parser needs no
// conversion of its own and nothing is held beyond one block.
#pragma once

#include <cstdint>
#include <string>

namespace stmtlink::report {

class SjisInput {
 public:
  // Takes the open file descriptor (closed by the destructor).
  explicit SjisInput(int fd);
  ~SjisInput();
  SjisInput(const SjisInput&) = delete;
  SjisInput& operator=(const SjisInput&) = delete;

  // Fills buffer with up to size bytes of UTF-8. Returns the count, 0 at
  // the end of the file, -1 when the file cannot be read or holds a byte
  // sequence that is not code page 932 (then encoding_fault_line() > 0).
  int Read(char* buffer, int size);

  // The first bytes of the file, as read (up to 256), for the declaration.
  const std::string& head() const { return head_; }
  // Line (from 1) of the first sequence that is not code page 932; 0: none.
  long encoding_fault_line() const { return encoding_fault_line_; }
  // The offending bytes in hexadecimal ("82 FF").
  const std::string& encoding_fault_bytes() const { return encoding_fault_bytes_; }
  // Line ends other than CR LF (a lone LF or CR): their count and the line
  // of the first one.
  long bad_line_ends() const { return bad_line_ends_; }
  long first_bad_line_end() const { return first_bad_line_end_; }
  // Lines seen so far (the count of LF bytes plus one).
  long lines() const { return line_; }
  bool read_error() const { return read_error_; }
  // errno of the failed read, when read_error().
  int read_error_number() const { return read_error_number_; }
  std::uint64_t bytes_read() const { return bytes_read_; }
  bool at_end() const { return eof_ && pending_pos_ == pending_.size(); }

 private:
  void Fill();
  void Convert(const unsigned char* data, std::size_t size, bool last);
  bool ConvertCarriedLead(unsigned trail, char** out);
  char* ConvertBytes(const unsigned char* data, std::size_t i, std::size_t size, char* out);
  void LineEndByte(unsigned c);
  void EndOfCrLine(); // a byte other than LF after a CR: the CR was a bad line end
  void BadLineEnd();
  // The first sequence that is not code page 932: its line and bytes
  // (second < 0: one byte).
  void Fault(unsigned first, int second);

  int fd_;
  std::string pending_; // converted text not yet handed over
  std::size_t pending_pos_ = 0;
  std::string head_;
  int carry_ = -1;       // a lead byte left at the end of the last block
  bool after_cr_ = false;
  bool eof_ = false;
  bool read_error_ = false;
  int read_error_number_ = 0;
  long line_ = 1;
  long encoding_fault_line_ = 0;
  std::string encoding_fault_bytes_;
  long bad_line_ends_ = 0;
  long first_bad_line_end_ = 0;
  std::uint64_t bytes_read_ = 0;
};

} // namespace stmtlink::report
