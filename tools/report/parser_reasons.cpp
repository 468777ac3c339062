#include "tools/report/parser_reasons.h"

#include <libxml/xmlerror.h>

#include <regex>

#include "tools/report/quoted_text.h"

namespace stmtlink::report {
namespace {

std::string Tag(const std::string& name) { return name.empty() ? "" : " " + Quoted(name); }

// The list of "Expected is ( A, B )." in Japanese, "" when there is none.
std::string ExpectedPart(const std::string& rest) {
  static const std::regex expected(R"(Expected is (?:one of )?\( (.*) \)\.)");
  std::smatch match;
  if (!std::regex_search(rest, match, expected)) return "";
  return "（ここに置けるのは " + Quoted(match.str(1)) + "）";
}

// The sentence after "Element 'X': " in Japanese; "" when its form is unknown.
std::string SchemaSentence(const std::string& element, const std::string& rest) {
  static const std::regex not_expected(R"(^This element is not expected\..*)");
  static const std::regex missing(R"(^Missing child element\(s\)\..*)");
  static const std::regex attribute_not_allowed(R"(^The attribute '([^']*)' is not allowed\.)");
  static const std::regex attribute_missing(R"(^The attribute '([^']*)' is required but missing\.)");
  static const std::regex pattern(R"(^\[facet 'pattern'\] The value '(.*)' is not accepted by the pattern '(.*)'\.$)");
  static const std::regex enumeration(R"(^\[facet 'enumeration'\] The value '(.*)' is not an element of the set \{(.*)\}\.$)");
  static const std::regex too_long(R"(^\[facet '(?:maxLength|length)'\] The value has a length of '(\d+)'; this (?:exceeds the allowed maximum length|differs from the allowed length) of '(\d+)'\.$)");
  static const std::regex too_short(R"(^\[facet 'minLength'\] The value has a length of '(\d+)'; this underruns the allowed minimum length of '(\d+)'\.$)");
  static const std::regex not_valid(R"(^'(.*)' is not a valid value of the (?:local )?(?:atomic|list|union) type(?: '([^']*)')?\.$)");
  static const std::regex text_not_allowed(R"(^Character content other than whitespace is not allowed.*)");
  static const std::regex element_not_allowed(R"(^Element content is not allowed.*)");
  static const std::regex no_declaration(R"(^No matching global declaration available.*)");
  const std::string e = "要素 " + Quoted(element);
  std::smatch m;
  if (std::regex_match(rest, m, not_expected)) return e + " はここに置けません" + ExpectedPart(rest) + "。";
  if (std::regex_match(rest, m, missing)) return e + " に必要な子要素がありません" + ExpectedPart(rest) + "。";
  if (std::regex_match(rest, m, attribute_not_allowed))
    return e + " に属性 " + Quoted(m.str(1)) + " は置けません。";
  if (std::regex_match(rest, m, attribute_missing)) return e + " に属性 " + Quoted(m.str(1)) + " がありません。";
  if (std::regex_match(rest, m, pattern))
    return e + " の値「" + Quoted(m.str(1)) + "」が決められた形（" + Quoted(m.str(2)) + "）に合いません。";
  if (std::regex_match(rest, m, enumeration))
    return e + " の値「" + Quoted(m.str(1)) + "」は決められた値（" + Quoted(m.str(2)) + "）のどれでもありません。";
  if (std::regex_match(rest, m, too_long))
    return e + " の値が " + m.str(1) + " 文字で、上限の " + m.str(2) + " 文字を超えています。";
  if (std::regex_match(rest, m, too_short))
    return e + " の値が " + m.str(1) + " 文字で、下限の " + m.str(2) + " 文字に足りません。";
  if (std::regex_match(rest, m, not_valid))
    return e + " の値「" + Quoted(m.str(1)) + "」は" + (m[2].matched ? "型 " + m.str(2) + " の" : "") +
           "値として正しくありません。";
  if (std::regex_match(rest, m, text_not_allowed)) return e + " には文字を置けません（子要素だけを置く要素です）。";
  if (std::regex_match(rest, m, element_not_allowed)) return e + " には子要素を置けません（値だけを置く要素です）。";
  if (std::regex_match(rest, m, no_declaration)) return e + " はレポートの要素として定められていません。";
  return "";
}

} // namespace

std::string ParserFaultReason(const ParserFault& f) {
  switch (f.code) {
    case XML_ERR_TAG_NAME_MISMATCH:
      return "終了タグ" + Tag(f.second) + " が開始タグ" + Tag(f.first) +
             (f.number > 0 ? "（" + std::to_string(f.number) + " 行目）" : "") + "と合いません";
    case XML_ERR_TAG_NOT_FINISHED: return "開始タグ" + Tag(f.first) + " に終了タグがありません";
    case XML_ERR_LTSLASH_REQUIRED:
    case XML_ERR_GT_REQUIRED: return "タグが「>」で閉じられていません";
    case XML_ERR_NAME_REQUIRED: return "「<」のあとに要素の名前がありません";
    case XML_ERR_LT_IN_ATTRIBUTE: return "属性の値に「<」があります";
    case XML_ERR_ATTRIBUTE_NOT_STARTED:
    case XML_ERR_ATTRIBUTE_NOT_FINISHED:
    case XML_ERR_ATTRIBUTE_WITHOUT_VALUE:
    case XML_ERR_STRING_NOT_STARTED:
    case XML_ERR_STRING_NOT_CLOSED:
    case XML_ERR_EQUAL_REQUIRED: return "属性の書き方が正しくありません";
    case XML_ERR_ATTRIBUTE_REDEFINED:
    case XML_NS_ERR_ATTRIBUTE_REDEFINED: return "属性" + Tag(f.first) + " が一つの要素に二度あります";
    case XML_ERR_UNDECLARED_ENTITY:
    case XML_WAR_UNDECLARED_ENTITY: return "定められていない実体参照" + Tag(f.first) + " があります（「&」は &amp; と書きます）";
    case XML_ERR_ENTITYREF_SEMICOL_MISSING:
    case XML_ERR_ENTITYREF_NO_NAME: return "「&」のあとが実体参照になっていません（「&」は &amp; と書きます）";
    case XML_ERR_INVALID_CHAR:
    case XML_ERR_INVALID_CHARREF:
    case XML_ERR_INVALID_DEC_CHARREF:
    case XML_ERR_INVALID_HEX_CHARREF: return "XML で使えない文字があります";
    case XML_ERR_DOCUMENT_EMPTY: return "中身がありません";
    case XML_ERR_DOCUMENT_END:
    case XML_ERR_EXTRA_CONTENT: return "ルート要素の終わりのあとに余分な内容があります";
    case XML_ERR_NOT_WELL_BALANCED: return "要素の開始と終了が対応していません";
    case XML_ERR_COMMENT_NOT_FINISHED: return "コメントが閉じられていません";
    case XML_ERR_PI_NOT_FINISHED:
    case XML_ERR_PI_NOT_STARTED: return "処理命令（<? ?>）が正しくありません";
    case XML_ERR_CDATA_NOT_FINISHED: return "CDATA セクションが閉じられていません";
    case XML_ERR_MISPLACED_CDATA_END: return "「]]>」が CDATA セクションの外にあります";
    case XML_ERR_XMLDECL_NOT_STARTED:
    case XML_ERR_XMLDECL_NOT_FINISHED:
    case XML_ERR_RESERVED_XML_NAME: return "XML 宣言の書き方か位置が正しくありません";
    case XML_ERR_DOCTYPE_NOT_FINISHED: return "DOCTYPE 宣言が閉じられていません";
    case XML_ERR_SPACE_REQUIRED: return "空白が必要な箇所に空白がありません";
    case XML_ERR_NAME_TOO_LONG: return "名前が長すぎます";
    case XML_ERR_NS_DECL_ERROR:
    case XML_NS_ERR_UNDEFINED_NAMESPACE:
    case XML_NS_ERR_QNAME: return "名前" + Tag(f.first) + " の名前空間の書き方が正しくありません";
    case XML_ERR_INTERNAL_ERROR:
      // The parser's limits without XML_PARSE_HUGE end here, nesting first.
      return "入れ子が深すぎるか、大きすぎる箇所があります";
    case XML_ERR_NO_MEMORY: return "大きすぎて読めない箇所があります";
    case XML_ERR_ENTITY_LOOP:
    case XML_ERR_ENTITY_PROCESSING: return "実体参照が使われています";
    default: return "XML の文法に合いません（エラー番号 " + std::to_string(f.code) + "）";
  }
}

std::string SchemaProblemReason(const std::string& english) {
  static const std::regex head(R"(^Element '([^']*)'(?:, attribute '([^']*)')?: (.*)$)");
  std::smatch m;
  if (!std::regex_match(english, m, head)) return "スキーマの定めに合いません。";
  if (m[2].matched) {
    const std::string rest = m.str(3);
    if (rest.find("is not allowed") != std::string::npos)
      return "要素 " + Quoted(m.str(1)) + " に属性 " + Quoted(m.str(2)) + " は置けません。";
    std::string sentence = SchemaSentence(m.str(1), rest);
    if (!sentence.empty()) return "属性 " + Quoted(m.str(2)) + ": " + sentence;
    return "要素 " + Quoted(m.str(1)) + " の属性 " + Quoted(m.str(2)) + " がスキーマの定めに合いません。";
  }
  const std::string sentence = SchemaSentence(m.str(1), m.str(3));
  return sentence.empty() ? "要素 " + Quoted(m.str(1)) + " がスキーマの定めに合いません。" : sentence;
}

} // namespace stmtlink::report
