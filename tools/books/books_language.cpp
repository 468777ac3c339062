#include "tools/books/books_language.h"

#include <atomic>
#include <cstdlib>

namespace stmtlink {
namespace {

std::atomic<BooksLanguage> g_language{BooksLanguage::kEnglish};

std::string Fill(std::string_view text, std::initializer_list<std::string_view> args) {
  std::string out;
  out.reserve(text.size() + 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{' && i + 2 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9' &&
        text[i + 2] == '}') {
      const std::size_t n = static_cast<std::size_t>(text[i + 1] - '0');
      if (n < args.size()) out += *(args.begin() + n);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

} // namespace

BooksLanguage LanguageFromEnvironment() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (!value || !*value) continue;
    const std::string_view v(value);
    if (v == "C" || v == "POSIX" || v.rfind("C.", 0) == 0) continue;
    return v.rfind("en", 0) == 0 ? BooksLanguage::kEnglish : BooksLanguage::kJapanese;
  }
  return BooksLanguage::kJapanese;
}

BooksLanguage MessageLanguage() { return g_language.load(std::memory_order_relaxed); }

void SetMessageLanguage(BooksLanguage language) {
  g_language.store(language, std::memory_order_relaxed);
}

std::string Say(const char* english, const char8_t* japanese,
                std::initializer_list<std::string_view> args) {
  return Fill(InJapanese() ? std::string_view(reinterpret_cast<const char*>(japanese))
                           : std::string_view(english),
              args);
}

} // namespace stmtlink
