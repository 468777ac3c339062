#include "res/edition/edition.h"

namespace stmtlink {

#if defined(STMTLINK_EDITION_NEO)
static constexpr Edition kEdition = {
    3,
    "ヴェルカ２０ NEO",
    "StmtLinkNeo.env",
    "StmtLinkNeo",
    "決算書連動コンポーネント ヴェルカ２０ NEO版",
    "ヴェルカ２０ NEO 決算書連動",
    "20.01.02",
    "20.01.02",
    "neo",
};
#elif defined(STMTLINK_EDITION_STD)
static constexpr Edition kEdition = {
    0,
    "ヴェルカ２０",
    "StmtLinkStd.env",
    "StmtLinkStd",
    "決算書連動コンポーネント ヴェルカ２０版",
    "ヴェルカ２０ 決算書連動",
    "20.01.02",
    "20.01.02",
    "std",
};
#elif defined(STMTLINK_EDITION_LUMINA)
static constexpr Edition kEdition = {
    4,
    "ヴェルカ２０ ルミナ",
    "StmtLinkLumina.env",
    "StmtLinkLumina",
    "決算書連動コンポーネント ヴェルカ２０ ルミナ版",
    "ヴェルカ２０ ルミナ 決算書連動",
    "20.01.02",
    "20.01.02",
    "lumina",
};
#else
#error "Build with one of STMTLINK_EDITION_NEO, STMTLINK_EDITION_STD, STMTLINK_EDITION_LUMINA"
#endif

const Edition& ThisEdition() { return kEdition; }

} // namespace stmtlink
