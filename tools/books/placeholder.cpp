namespace stmtlink {}
