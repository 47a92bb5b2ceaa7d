// EVALUATE: parses an expression text by recursive descent into a tree over the
// names bound on the current thread.
//
// Grammar, loosest first; every binary level is left-associative:
//   expression := term1 { (OR | XOR) term1 }
//   term1      := term2 { AND term2 }
//   term2      := (NOT | ~) term2 | comparison
//   comparison := concat { (= | < | > | <> | <= | >= | =< | => | ~=) concat }
//   concat     := sum { & sum }
//   sum        := product { (+ | -) product }
//   product    := power { (* | / | %) power }
//   power      := unary { ^ unary }
//   unary      := [ - | + ] primary
//   primary    := constant | picture | ( expression ) | function ( [arguments] )
//               | variable [ '[' index ']' ] | variable '[' from : to ']'
#pragma once

#include <string_view>

#include "runtime/core/expr_tree.h"

namespace rk {

// Parentheses, calls and subscripts nest at most this deep, which keeps both the
// parser's recursion and the value stack that evaluation uses bounded.
inline constexpr int kMaxExpressionNesting = 10;

// The tree, or none when the text is not a valid expression. An unknown name
// sets error 801 ("No BIND on variable"), any other fault error 800; success
// clears the error state.
ExprTree Evaluate(std::string_view text);

}  // namespace rk
