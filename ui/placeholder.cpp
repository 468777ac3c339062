// The front ends (batch, console) land here.
namespace stmtlink {}
