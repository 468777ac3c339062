#include "res/common/conditions_template.h"

#include <iterator>

#include "res/common/resource.h"

namespace stmtlink {
namespace {

using K = ControlKind;

constexpr UINT kEditStyle = kStyleTabStop | kStyleNumber | kStyleRight;

// The static texts of 1006 and 1008 are placeholders that the dialog
// replaces with the data set's.
constexpr ControlTemplate kControls[] = {
    {1005, K::kStatic, "事業所名", 7, 7, 35, 12, 0},
    {IDC_STATIC, K::kStatic, "：", 58, 7, 9, 12, 0},
    {IDC_COMPANY_NAME, K::kStatic, " 会社名", 73, 7, 165, 12, 0},
    {1007, K::kStatic, "会計期間", 7, 28, 35, 12, 0},
    {IDC_STATIC, K::kStatic, "：", 58, 28, 9, 12, 0},
    {IDC_PERIOD_TEXT, K::kStatic, " 2002/01/11～2002/12/31", 73, 28, 165, 12, 0},
    {1009, K::kStatic, "集計期間", 7, 49, 35, 12, 0},
    {IDC_STATIC, K::kStatic, "：", 58, 49, 9, 12, 0},
    {1011, K::kStatic, "月度(&S)", 96, 49, 25, 12, 0},
    {IDC_FROM_MONTH, K::kEdit, "", 73, 49, 18, 12, kEditStyle},
    {1012, K::kStatic, "～", 122, 50, 8, 12, 0},
    {1013, K::kStatic, "月度(&E)", 159, 49, 25, 12, 0},
    {IDC_TO_MONTH, K::kEdit, "", 137, 49, 18, 12, kEditStyle},
    {1010, K::kStatic, "株主／社員資本", 7, 70, 50, 12, 0},
    {1017, K::kStatic, "等変動計算書の", 7, 80, 50, 12, 0},
    {1018, K::kStatic, "選択", 7, 90, 50, 12, 0},
    {IDC_STATIC, K::kStatic, "：", 58, 70, 9, 12, 0},
    {IDC_SHAREHOLDERS, K::kAutoRadio, "株主資本等変動計算書の情報を出力する(&K)", 74, 71, 178, 11,
     kStyleGroup | kStyleTabStop},
    {IDC_MEMBERS, K::kAutoRadio, "社員資本等変動計算書の情報を出力する(&M)", 74, 84, 178, 11, 0},
    {IDC_OUTPUT_GROUP, K::kGroupBox, "出力先(&O)", 7, 120, 268, 35, kStyleGroup},
    {IDC_OUTPUT_PATH, K::kEdit, "", 12, 134, 195, 12, kStyleTabStop | kStyleAutoScroll | kStyleStaticEdge},
    {IDC_BROWSE, K::kPushButton, "参照(&D)...", 211, 133, 57, 14, kStyleTabStop},
    {IDC_EXECUTE, K::kPushButton, "実行(F12)", 156, 158, 57, 14, kStyleTabStop},
    {IDC_CANCEL_BUTTON, K::kPushButton, "キャンセル(Esc)", 218, 158, 57, 14, kStyleTabStop},
    {IDC_LEDGER, K::kAutoCheckBox, "総勘定元帳の情報を出力する(&N)", 8, 104, 140, 12,
     kStyleGroup | kStyleTabStop},
};

constexpr DialogTemplate kTemplate = {
    IDD_CONDITIONS, "決算書 - 集計条件", "ＭＳ Ｐゴシック", 9, 282, 178, kControls, std::size(kControls),
};

} // namespace

const DialogTemplate& ConditionsDialogTemplate() { return kTemplate; }

} // namespace stmtlink
