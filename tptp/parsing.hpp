// Pieces of TPTP syntax that every reader of the language shares: names,
// the symbols of terms, terms themselves, and taking tokens.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "tptp/lexer.hpp"
#include "tptp/problem.hpp"

namespace tptp {

// A lower-case word that needs no quotes.
bool is_plain_word(const std::string& text);

// The identity of a clause or formula name: 'abc' and abc are one name,
// '1' and 1 are two.
std::string name_key(const Symbol& name);

// A lower-case word made from a name, to derive names from: a plain word
// as it is; a number or a quoted name with its other characters turned into
// _ and an n in front where it would not start with a lower-case letter
// (1 -> n1, 'my ax' -> my_ax).  Callers still make the result fresh.
std::string derived_word(const std::string& spelling);

// Reads a name (a word, a quoted word or an integer) and its identity.
Symbol read_name(Lexer& lex, std::string* key);

// The symbol a token stands for when it is a term other than a variable:
// a word, a quoted word, a $word, a distinct object or a number.  False for
// any other token.
bool term_symbol(const Token& token, Symbol& symbol);

[[noreturn]] void unexpected(const Lexer& lex, const std::string& wanted);
Token expect(Lexer& lex, Tok kind, const std::string& wanted);
bool accept(Lexer& lex, Tok kind);

// Reads a term into the problem's term store and returns its index.  A
// variable's index within its clause or formula is what `variable` gives
// for its token.  Nesting costs no depth of the machine stack.
std::uint32_t read_term(Lexer& lex, Problem& problem,
                        const std::function<std::uint32_t(const Token&)>& variable,
                        const std::string& wanted = "a term");

// Adds an atomic literal whose left term `left` is read, with the sign it
// has so far: `s = t` and `s != t` (the right term read by `term`), or an
// atom. `$true` and `$false` add no literal: a true one makes the clause
// always true. Returns an error message for an atom that cannot stand as a
// literal, empty otherwise.
std::string add_atomic_literal(Lexer& lex, Problem& problem, bool positive, std::uint32_t left,
                               const std::function<std::uint32_t()>& term, Clause& clause);

}  // namespace tptp
